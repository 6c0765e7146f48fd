#pragma once

#include <QStringList>
#include <QWidget>
#include <optional>

#include "settings/SettingsValues.h"
#include "ui/options/OptionsPageProblem.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QToolButton;

namespace trawlix::ui {

// Options: the photo viewer, start-up, the default 'Save To' location, the confirmations
// and what follows a scan.
class OptionsGeneralPage : public QWidget {
  Q_OBJECT

 public:
  // `categories`: the names the start-up category may take besides "All".
  explicit OptionsGeneralPage(const QStringList& categories, QWidget* parent = nullptr);

  void load(const SettingsValues& values);
  void store(SettingsValues& values) const;
  // The default location must be an existing folder.
  std::optional<OptionsPageProblem> check() const;

  QLineEdit* saveToEdit() const { return saveTo_; }

 private:
  QGroupBox* BuildSaveToGroup();
  QGroupBox* BuildViewerGroup();
  QGroupBox* BuildStartGroup(const QStringList& categories);
  QGroupBox* BuildConfirmGroup();
  QGroupBox* BuildAfterScanGroup();
  void SetTabOrder();
  void browseSaveTo();

  QComboBox* thumbnailView_;
  QComboBox* doubleClick_;
  QCheckBox* showTooltips_;
  QCheckBox* dropShadow_;
  QCheckBox* reloadViewer_;
  QCheckBox* autoFollow_;
  QComboBox* startupCategory_;
  QCheckBox* rememberLast_;
  QLineEdit* saveTo_;
  QToolButton* browse_;
  QCheckBox* useProjectName_;
  QCheckBox* autoCreateFolders_;
  QCheckBox* confirmProjects_;
  QCheckBox* confirmPhotos_;
  QCheckBox* confirmHistory_;
  QCheckBox* confirmLinks_;
  QCheckBox* confirmExit_;
  QCheckBox* displayResults_;
  QCheckBox* restoreWindow_;
  QComboBox* pasteAndGo_;
};

}  // namespace trawlix::ui
