#pragma once

#include <QWidget>

#include "storage/ProjectValidation.h"
#include "storage/ProjectsRecord.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace trawlix {
struct SettingsValues;
}

namespace trawlix::ui {

// How downloaded photos are renamed, resized and converted.
class ProjectConvertPage : public QWidget {
  Q_OBJECT

 public:
  explicit ProjectConvertPage(const SettingsValues& settings, QWidget* parent = nullptr);

  void Load(const ProjectsRecord& record);
  // Writes the page's fields into the record, leaving the others.
  void Store(ProjectsRecord& record) const;
  // The settings' new-project options; the name prefix stays.
  void ApplyDefaults();

  QWidget* FieldWidget(ProjectField field) const;

  // Shows the prefix an empty box will get.
  void ShowDefaultPrefix(const QString& prefix);

 private:
  void LoadOptions(const ProjectsRecord& record);
  void UpdateEnabled();

  const SettingsValues& settings_;

  QCheckBox* autoRename_;
  QCheckBox* includePhotoSize_;
  QCheckBox* padNumbers_;
  QLabel* paddingLabel_;
  QSpinBox* padding_;
  QLabel* prefixLabel_;
  QLineEdit* namePrefix_;
  QCheckBox* autoResize_;
  QLabel* boundingBoxLabel_;
  QSpinBox* resizeBoundingBox_;
  QCheckBox* autoConvert_;
  QLabel* formatLabel_;
  QComboBox* convertToFormat_;
  QPushButton* applyDefaults_;
};

}  // namespace trawlix::ui
