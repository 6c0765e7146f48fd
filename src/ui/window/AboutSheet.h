#pragma once

#include <QDialog>

#include "operations/DataSession.h"

class QTabWidget;
class QWidget;

namespace trawlix::ui {

// The about sheet (CPSDLGAbout): the program's version, totals over the database and the
// program's web pages.
class AboutSheet : public QDialog {
  Q_OBJECT

 public:
  AboutSheet(DataSession& session, QWidget* parent = nullptr);

  QTabWidget* tabs() const { return tabs_; }

 private:
  QWidget* makeVersionPage();
  QWidget* makeStatisticsPage(DataSession& session);
  QWidget* makeResourcesPage();

  QTabWidget* tabs_;
};

}  // namespace trawlix::ui
