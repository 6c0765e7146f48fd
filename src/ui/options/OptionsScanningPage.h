#pragma once

#include <QWidget>
#include <optional>

#include "settings/SettingsValues.h"
#include "ui/options/OptionsPageProblem.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSlider;
class QSpinBox;

namespace trawlix::ui {

class FolderBrowser;

// Options: how pages and photos are fetched and how saved photos are written.
class OptionsScanningPage : public QWidget {
  Q_OBJECT

 public:
  explicit OptionsScanningPage(QWidget* parent = nullptr);

  void load(const SettingsValues& values);
  void store(SettingsValues& values) const;
  // What the settings file has no room for goes to the user's profile.
  void storeProfile() const;
  // A custom user agent needs its text; a cookies file must be readable.
  std::optional<OptionsPageProblem> check() const;

  QComboBox* userAgentCombo() const { return userAgent_; }
  QLineEdit* customUserAgentEdit() const { return customUserAgent_; }
  QCheckBox* setDpiCheck() const { return setDpi_; }
  QSpinBox* dpiSpin() const { return dpi_; }
  QSpinBox* connectionsSpin() const { return connections_; }
  FolderBrowser* cookiesFileBrowser() const { return cookiesFile_; }
  QSlider* qualitySlider() const { return quality_; }
  QLabel* qualityLabel() const { return qualityText_; }
  QSlider* prioritySlider() const { return priority_; }
  QLabel* priorityLabel() const { return priorityText_; }

 private:
  QGroupBox* BuildWebGroup();
  QGroupBox* BuildScanGroup();
  QGroupBox* BuildPhotoGroup();
  QGroupBox* BuildDuplicateGroup();
  bool customChosen() const;
  void userAgentChosen();
  void showPriority(int position);
  void showQuality(int quality);

  QComboBox* userAgent_;
  QLineEdit* customUserAgent_;
  QSpinBox* timeout_;
  QSpinBox* connections_;
  QCheckBox* offLocalNetwork_;
  QCheckBox* httpsToHttp_;
  QCheckBox* robots_;
  QCheckBox* skipRemembered_;
  QSpinBox* hostPause_;
  QCheckBox* noCache_;
  FolderBrowser* cookiesFile_;
  QSlider* priority_;
  QLabel* priorityText_;
  QCheckBox* twoPass_;
  QCheckBox* onlySuccessful_;
  QLineEdit* filesToIgnore_;
  QSlider* quality_;
  QLabel* qualityText_;
  QCheckBox* setDpi_;
  QSpinBox* dpi_;
  QCheckBox* deleteDerived_;
  QButtonGroup* duplicates_;
};

}  // namespace trawlix::ui
