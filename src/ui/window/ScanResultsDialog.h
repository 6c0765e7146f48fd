#pragma once

#include <QDialog>
#include <string>

#include "storage/ScanHistoryRecord.h"

class QPushButton;

namespace trawlix::ui {

// What one recorded scan of a project found: opened by a double click in the scan history.
class ScanResultsDialog : public QDialog {
  Q_OBJECT

 public:
  ScanResultsDialog(const std::string& projectTitle, const ScanHistoryRecord& scan,
                    QWidget* parent = nullptr);

  // The labelled values in the order shown, for the tests.
  QString resultsText() const;

  QPushButton* copyButton() const { return copy_; }
  QPushButton* visitButton() const { return visit_; }

 private:
  QString url_;
  QString text_;
  QPushButton* copy_ = nullptr;
  QPushButton* visit_ = nullptr;
};

}  // namespace trawlix::ui
