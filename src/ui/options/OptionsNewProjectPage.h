#pragma once

#include <QStringList>
#include <QWidget>

#include "settings/SettingsValues.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QToolButton;

namespace trawlix::ui {

// Options: the values a new project starts with.
class OptionsNewProjectPage : public QWidget {
  Q_OBJECT

 public:
  // `categories`: the names a new project's category may take.
  explicit OptionsNewProjectPage(const QStringList& categories, QWidget* parent = nullptr);

  void load(const SettingsValues& values);
  void store(SettingsValues& values) const;

 private:
  // Thumbnails and mobile photos are set up alike.
  struct CopyControls {
    QCheckBox* create = nullptr;
    QSpinBox* box = nullptr;
    QComboBox* format = nullptr;
    QComboBox* orientation = nullptr;
    QRadioButton* subFolder = nullptr;
    QLineEdit* subFolderName = nullptr;
    QRadioButton* external = nullptr;
    QLineEdit* externalFolder = nullptr;
    QToolButton* browse = nullptr;
    QCheckBox* appendTitle = nullptr;
  };
  struct CopyCaptions {
    QString group, create, orientation, browseTip, browseTitle;
  };
  QGroupBox* makeCopyGroup(CopyControls& controls, const CopyCaptions& captions);
  static void followLocation(const CopyControls& controls);

  QComboBox* category_;
  QCheckBox* jpeg_;
  QCheckBox* png_;
  QCheckBox* gif_;
  QCheckBox* bmp_;
  QCheckBox* tif_;
  QCheckBox* createFolders_;
  QCheckBox* searchSubFolders_;
  QCheckBox* filterMinimumSize_;
  QSpinBox* minimumSize_;
  QComboBox* orientation_;
  QCheckBox* rename_;
  QCheckBox* includeSize_;
  QCheckBox* padNumbers_;
  QSpinBox* padding_;
  QCheckBox* resize_;
  QSpinBox* resizeBox_;
  QCheckBox* convert_;
  QComboBox* convertFormat_;
  CopyControls thumbnails_;
  CopyControls mobile_;
};

}  // namespace trawlix::ui
