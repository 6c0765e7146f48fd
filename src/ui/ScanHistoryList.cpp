#include "ui/ScanHistoryList.h"

#include <cstdint>

#include "base/Number.h"
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
  records_ = rows ? std::move(*rows) : std::vector<CScanHistoryRecord>{};
  int number = 0;
  for (const CScanHistoryRecord& row : records_) {
    AddRow(row.m_nId,
           {QString::number(++number), QString::fromStdString(row.m_lpszScanDate),
            QString::fromStdString(row.m_lpszURL), QString::fromStdString(row.m_lpszTotalTime),
            QString::fromStdString(FormatThousands(row.m_nPages)),
            QString::fromStdString(FormatThousands(row.m_nSavedImages))});
  }
  EndFill();
  return rows.has_value();
}

void ScanHistoryList::Clear() {
  BeginFill();
  records_.clear();
  EndFill();
}

std::string ScanHistoryList::SummaryText(const std::vector<CScanHistoryRecord>& rows) {
  const std::string none = "No scanning sessions.";
  std::int64_t pages = 0, found = 0, saved = 0, seconds = 0, transferSeconds = 0, bytes = 0;
  for (const CScanHistoryRecord& row : rows) {
    for (std::int64_t value :
         {std::int64_t{row.m_nPages}, std::int64_t{row.m_nTotalImages},
          std::int64_t{row.m_nSavedImages}, std::int64_t{row.m_nTotalTimeInSeconds},
          std::int64_t{row.m_nTransferTimeInSeconds}, row.m_nTotalBytes}) {
      if (value < 0) return none;
    }
    pages += row.m_nPages;
    found += row.m_nTotalImages;
    saved += row.m_nSavedImages;
    seconds += row.m_nTotalTimeInSeconds;
    transferSeconds += row.m_nTransferTimeInSeconds;
    bytes += row.m_nTotalBytes;
  }
  if (rows.empty()) return none;
  const std::string time =
      seconds > 0
          ? Format("%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                   static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60))
          : std::string();
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
