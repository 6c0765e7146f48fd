#pragma once

#include <QDialog>

#include "exchange/ProjectImporter.h"

class QLabel;
class QTreeWidget;

namespace trawlix::ui {

// What an import did: one row per project with its action and result, and a summary.
class ImportResultsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit ImportResultsDialog(const exchange::ImportSummary& summary, QWidget* parent = nullptr);
  ~ImportResultsDialog() override;

  QTreeWidget* list() const { return list_; }
  QLabel* summary() const { return summary_; }

 private:
  QTreeWidget* list_;
  QLabel* summary_;
};

}  // namespace trawlix::ui
