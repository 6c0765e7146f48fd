#pragma once

#include "storage/ProjectLinksTable.h"
#include "ui/window/MainWindowCheckList.h"

namespace trawlix {
class DataSession;
}

namespace trawlix::ui {

// The further start addresses of the selected project; a click on a column title sorts by
// it (again: the other way round). The checked rows are what "Rescan Selected URLs" scans.
class ProjectLinksList : public MainWindowCheckList {
  Q_OBJECT

 public:
  explicit ProjectLinksList(QWidget* parent = nullptr);

  // Refills the list in the current order; false (list left empty) when the database failed.
  bool Load(DataSession& session, int projectId);
  void Clear();

  const LinkOrder& order() const { return order_; }

 Q_SIGNALS:
  // The user asked for another order: the owner reloads the list.
  void orderChanged();

 private:
  LinkOrder order_;
};

}  // namespace trawlix::ui
