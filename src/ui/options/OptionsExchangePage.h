#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>
#include <string>

#include "settings/SettingsValues.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace trawlix::ui {

// Options: who exports projects and with what, and where imported projects go.
class OptionsExchangePage : public QWidget {
  Q_OBJECT

 public:
  // `categories`: the names offered for imported projects; `currentLogoPath`: the logo
  // exports use now, previewed until another one is chosen.
  OptionsExchangePage(const QStringList& categories, const QString& currentLogoPath,
                      QWidget* parent = nullptr);

  void load(const SettingsValues& values);
  void store(SettingsValues& values) const;

  // Takes a picture as the new logo when it can be read; false leaves the logo as it was.
  bool chooseLogo(const QString& path);
  std::optional<std::string> newLogoPath() const { return newLogo_; }

 private:
  void browseLogo();
  void showPreview(const QString& path);

  QLineEdit* name_;
  QLineEdit* email_;
  QLineEdit* website_;
  QCheckBox* includeInfo_;
  QCheckBox* includeCategory_;
  QCheckBox* useLogo_;
  QPushButton* chooseLogo_;
  QLabel* preview_;
  QLabel* logoNote_;
  QComboBox* importCategory_;
  QRadioButton* intoChosen_;
  QRadioButton* useFileCategory_;
  QRadioButton* mergeDuplicates_;
  QRadioButton* skipDuplicates_;
  std::optional<std::string> newLogo_;
};

}  // namespace trawlix::ui
