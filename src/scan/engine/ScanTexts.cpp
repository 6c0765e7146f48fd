#include "scan/engine/ScanTexts.h"

#include "base/Number.h"
#include "base/Text.h"

namespace trawlix {

std::string PageProgressText(std::int64_t pagesScanned, std::int64_t pagesTotal,
                             std::int64_t pagesRendered) {
  if (pagesScanned == 0) return {};
  const std::string rendered =
      pagesRendered > 0 ? " (" + FormatThousands(pagesRendered) + " rendered)" : std::string();
  return Format("Scanning Page %s of %s%s", FormatThousands(pagesScanned).c_str(),
                FormatThousands(pagesTotal).c_str(), rendered.c_str());
}

std::string ShortTimerText(const std::string& timerText) {
  if (timerText.starts_with("0:")) return timerText.substr(2);
  if (timerText.starts_with("00:")) return timerText.substr(3);
  return timerText;
}

std::string PhotoProgressText(const PhotoProgress& progress, const std::string& timerText,
                              bool multiLink) {
  const std::string found = FormatThousands(progress.found);
  const std::string failed =
      progress.failed > 0 ? " - Failed: " + FormatThousands(progress.failed) : std::string();
  const std::string rest = Format(
      " - Processed: %s - Saved: %s%s  [%s]", FormatThousands(progress.processed).c_str(),
      FormatThousands(progress.saved).c_str(), failed.c_str(), ShortTimerText(timerText).c_str());
  if (multiLink) return Format("(Multiscan) Found %s", found.c_str()) + rest;
  return Format("Found %s Photos", found.c_str()) + rest;
}

std::string TransferText(std::int64_t bytes, std::int64_t seconds) {
  if (bytes == 0 || seconds == 0) return {};
  return Format("\n\n\t%s downloaded @ %s/Sec", FormatByteSize(bytes).c_str(),
                FormatByteSize(bytes / seconds).c_str());
}

std::string PageLineText(const ScanProgress& progress) {
  const bool running = progress.phase == ScanProgress::Phase::ScanningPages ||
                       progress.phase == ScanProgress::Phase::ProcessingPhotos;
  if (running && !progress.restingHost.empty())
    return "Waiting for " + progress.restingHost + " (it asked for a pause)...";
  switch (progress.phase) {
    case ScanProgress::Phase::Starting:
      return "Downloading Page";
    case ScanProgress::Phase::ScanningPages:
      return PageProgressText(progress.pagesScanned, progress.pagesTotal, progress.pagesRendered);
    case ScanProgress::Phase::ProcessingPhotos:
      return "Downloading && Processing photos";
    case ScanProgress::Phase::Paused:
      return "Paused...";
    case ScanProgress::Phase::Stopping:
      return "Stopping...";
    case ScanProgress::Phase::Ended:
      break;
  }
  return {};
}

std::string PhotoLineText(const ScanProgress& progress) {
  if (progress.phase == ScanProgress::Phase::Ended ||
      (progress.photosFound == 0 && progress.photosProcessed == 0)) {
    return {};
  }
  return PhotoProgressText(
      {progress.photosFound, progress.photosProcessed, progress.photosSaved, progress.failed},
      progress.elapsed, progress.multiLink);
}

namespace {

// A long query string reads better with a line break after each "?".
std::string BreakQuery(const std::string& url) {
  const auto question = url.find('?');
  if (question == std::string::npos || question == 0) return url;
  return ReplacedAll(url, "?", "?\n");
}

// "Could not download 7 pages or photos:" with the first addresses and their reasons.
std::string FailuresText(const ScanResults& r) {
  if (r.failed <= 0) return {};
  std::string text = Format("\n\nCould not download %s %s:", FormatThousands(r.failed).c_str(),
                            r.failed == 1 ? "page or photo" : "pages or photos");
  for (const ScanFailure& failure : r.firstFailures)
    text += "\n\t" + failure.url + " (" + failure.reason + ")";
  const auto listed = static_cast<std::int64_t>(r.firstFailures.size());
  if (r.failed > listed) text += "\n\tand " + FormatThousands(r.failed - listed) + " more.";
  return text;
}

}  // namespace

std::string ResultsText(const ScanResults& r, bool multiLink) {
  std::string notes = FailuresText(r);
  for (const std::string& note : r.notes) notes += "\n\n" + note;
  if (r.stopped) notes += "\n\nThe scan was stopped before it was done.";
  const std::string pages = FormatThousands(r.pages);
  const char* pageWord = r.pages == 1 ? "page" : "pages";
  const std::string tail =
      Format(
          "\n\nProcessing time: %s\n\nResults:\n\tProcessed %s Photos\n\tSaved %s "
          "Photos\n\tand Skipped %s Photos.%s",
          r.processingTime.c_str(), FormatThousands(r.processed).c_str(),
          FormatThousands(r.saved).c_str(), FormatThousands(r.skipped).c_str(),
          TransferText(r.bytes, r.seconds).c_str()) +
      notes;
  if (multiLink)
    return Format("Trawlix('%s') scanned %s %s.", r.title.c_str(), pages.c_str(), pageWord) + tail;
  return Format("Trawlix('%s') scanned %s %s in the website\n'%s'.", r.title.c_str(), pages.c_str(),
                pageWord, BreakQuery(r.url).c_str()) +
         tail;
}

std::string SaveToProblemText(const std::string& folder, const std::string& reason) {
  return "Trawlix() PRO cannot save photos into the folder\n" + folder + "\n\n" + reason +
         ".\n\nPlease choose a folder you can write to, or make this one writable.";
}

std::string SaveFailedNote(const std::string& folder, const std::string& reason) {
  return "The scan stopped because photos cannot be saved into " + folder + ": " + reason + ".";
}

}  // namespace trawlix
