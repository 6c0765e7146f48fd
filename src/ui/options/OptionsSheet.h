#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "base/MessageBox.h"
#include "settings/Settings.h"
#include "settings/SettingsValues.h"

class QDialogButtonBox;
class QTabWidget;

namespace trawlix::ui {

class OptionsExchangePage;
class OptionsGeneralPage;
class OptionsNewProjectPage;
class OptionsScanningPage;

// The options sheet (CPSDLGOptions): edits a copy of the settings' values on four pages and
// hands them back only when OK passes every page's checks.
class OptionsSheet : public QDialog {
  Q_OBJECT

 public:
  OptionsSheet(const Settings& settings, MessageSink& messages, QWidget* parent = nullptr);

  // The edited values after Accepted; the values as opened before.
  const SettingsValues& values() const { return values_; }
  // A logo picture chosen on the exporting page.
  std::optional<std::string> newLogoPath() const;

  QTabWidget* tabs() const { return tabs_; }
  OptionsGeneralPage* generalPage() const { return general_; }
  OptionsScanningPage* scanningPage() const { return scanning_; }
  OptionsNewProjectPage* newProjectPage() const { return newProject_; }
  OptionsExchangePage* exchangePage() const { return exchange_; }

  void accept() override;

 private:
  // Shows the page's refusal, brings the page forward and focuses the control; false then.
  bool pagePasses(int index);
  void pageChanged(int index);

  MessageSink& messages_;
  SettingsValues values_;
  QTabWidget* tabs_;
  OptionsGeneralPage* general_;
  OptionsScanningPage* scanning_;
  OptionsNewProjectPage* newProject_;
  OptionsExchangePage* exchange_;
  QDialogButtonBox* buttons_;
  int currentPage_ = 0;
  bool returning_ = false;
};

}  // namespace trawlix::ui
