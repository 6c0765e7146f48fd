#include "ui/window/ScanHistoryList.h"

#include <cstdint>

#include "base/Number.h"
#include "base/TaskTimer.h"
#include "base/Text.h"
#include "operations/ProjectOperations.h"

namespace trawlix::ui {

namespace {

const char* Plural(std::int64_t count, const char* one, const char* many) {
  return count == 1 ? one : many;
}

}  // namespace

ScanHistoryList::ScanHistoryList(QWidget* parent)
    : MainWindowCheckList(
          tr("Scan History"),
          {{tr("#"), "HISTORY_COLUMN_NUMBER", Qt::AlignRight},
           {tr("Date"), "HISTORY_COLUMN_DATE", Qt::AlignLeft, QStringLiteral("00/00/0000")},
           {tr("URL"), "HISTORY_COLUMN_URL", Qt::AlignLeft, {}, true},
           {tr("Time"), "HISTORY_COLUMN_TIME", Qt::AlignHCenter, QStringLiteral("00:00:00")},
           {tr("Pages"), "HISTORY_COLUMN_PAGES", Qt::AlignHCenter, QStringLiteral("00,000")},
           {tr("Photos"), "HISTORY_COLUMN_PHOTOS", Qt::AlignHCenter, QStringLiteral("00,000")}},
          parent) {}

bool ScanHistoryList::Load(DataSession& session, int projectId) {
  auto rows = LoadScanHistory(session, projectId);
  BeginFill();
  records_ = rows ? std::move(*rows) : std::vector<ScanHistoryRecord>{};
  int number = 0;
  for (const ScanHistoryRecord& row : records_) {
    AddRow(row.id, {QString::number(++number), QString::fromStdString(row.scanDate),
                    QString::fromStdString(row.url), QString::fromStdString(row.totalTime),
                    QString::fromStdString(FormatThousands(row.pages)),
                    QString::fromStdString(FormatThousands(row.savedImages))});
  }
  EndFill();
  return rows.has_value();
}

void ScanHistoryList::Clear() {
  BeginFill();
  records_.clear();
  EndFill();
}

std::string ScanHistoryList::SummaryText(const std::vector<ScanHistoryRecord>& rows) {
  const std::string none = "No scanning sessions.";
  std::int64_t pages = 0, found = 0, saved = 0, seconds = 0, transferSeconds = 0, bytes = 0;
  for (const ScanHistoryRecord& row : rows) {
    for (std::int64_t value : {std::int64_t{row.pages}, std::int64_t{row.totalImages},
                               std::int64_t{row.savedImages}, std::int64_t{row.totalTimeInSeconds},
                               std::int64_t{row.transferTimeInSeconds}, row.totalBytes}) {
      if (value < 0) return none;
    }
    pages += row.pages;
    found += row.totalImages;
    saved += row.savedImages;
    seconds += row.totalTimeInSeconds;
    transferSeconds += row.transferTimeInSeconds;
    bytes += row.totalBytes;
  }
  if (rows.empty()) return none;
  const std::string time = TaskTimer::FormatSeconds(seconds);
  const std::string transfer =
      bytes > 0 && transferSeconds > 0
          ? ByteSizeText(bytes) + " @ " + ByteSizeText(bytes / transferSeconds) + "/Sec"
          : std::string();
  return Format("Scanned %s %s in %s - Found %s %s (%s %s Saved). %s",
                FormatThousands(pages).c_str(), Plural(pages, "Page", "Pages"), time.c_str(),
                FormatThousands(found).c_str(), Plural(found, "Photo", "Photos"),
                FormatThousands(saved).c_str(), Plural(saved, "Photo", "Photos"), transfer.c_str());
}

}  // namespace trawlix::ui
