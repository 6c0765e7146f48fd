#pragma once

#include <string>
#include <vector>

#include "storage/ScanHistoryRecord.h"
#include "ui/window/MainWindowCheckList.h"

namespace trawlix {
class DataSession;
}

namespace trawlix::ui {

// The scans of the selected project, oldest first, with check boxes for deleting them.
class ScanHistoryList : public MainWindowCheckList {
  Q_OBJECT

 public:
  explicit ScanHistoryList(QWidget* parent = nullptr);

  // Refills the list; false (list left empty) when the database failed.
  bool Load(DataSession& session, int projectId);
  void Clear();

  const std::vector<ScanHistoryRecord>& records() const { return records_; }

  // "Scanned 3 Pages in 0:01:05 - Found 12 Photos (8 Photos Saved). 1.2 MB @ 20 KB/Sec", or
  // "No scanning sessions." without scans (or with a scan that left a total unknown).
  static std::string SummaryText(const std::vector<ScanHistoryRecord>& rows);

 private:
  std::vector<ScanHistoryRecord> records_;
};

}  // namespace trawlix::ui
