#include "scan/PageScanner.h"

#include <chrono>
#include <thread>

#include "scan/LinkExtractor.h"
#include "scan/UiThread.h"
#include "scan/WebFile.h"

namespace trawlix {

namespace {

WorkerEnd ScanPages(const PageJob& job, ScanHost& host, LinkReceiver& links, ScanThreadBlock& block,
                    CXWebFile& web) {
  std::this_thread::sleep_for(std::chrono::milliseconds(10));
  for (int index = 0; !block.Stopping(); ++index) {
    if (!block.WaitWhileHeld()) break;
    std::string url;
    if (host.NextPage(index, url) == -1) return WorkerEnd::Finished;
    if (block.Stopping()) break;
    std::string text;
    std::int64_t bytes = 0;
    int seconds = 0;
    if (!web.DownloadToString(std::string_view(job.referer), block.stop, url, text, bytes, seconds))
      continue;
    host.ReportTransfer(seconds, bytes);
    PreparePage(text);
    if (block.Stopping()) break;
    ExtractLinks(text, url, job.formats, links, block.stop);
    if (block.Stopping()) break;
    host.StartPhotoProcessorIfPhotosWait();
  }
  return WorkerEnd::Stopped;
}

}  // namespace

void PageScannerThread(const PageJob& job, ScanHost& host, LinkReceiver& links,
                       ScanThreadBlock& block, CXWebFile& web) {
  WorkerEnd end = WorkerEnd::Finished;
  try {
    ApplyScanningPriority(job.priority);
    end = ScanPages(job, host, links, block, web);
  } catch (...) {
    end = block.Stopping() ? WorkerEnd::Stopped : WorkerEnd::Finished;
  }
  try {
    host.ArmWorkerTimer(end == WorkerEnd::Stopped ? kTimerWorkerStopped : kTimerPagesFinished,
                        job.workerId);
  } catch (...) {
  }
  block.end = end;
}

}  // namespace trawlix
