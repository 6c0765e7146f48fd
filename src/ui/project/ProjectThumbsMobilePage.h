#pragma once

#include <QWidget>
#include <vector>

#include "storage/ProjectValidation.h"
#include "storage/ProjectsRecord.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace trawlix {
struct SettingsValues;
}

namespace trawlix::ui {

class FolderBrowser;

// The smaller copies made of every saved photo: thumbnails and mobile photos.
class ProjectThumbsMobilePage : public QWidget {
  Q_OBJECT

 public:
  explicit ProjectThumbsMobilePage(const SettingsValues& settings, QWidget* parent = nullptr);

  void Load(const ProjectsRecord& record);
  // Writes the page's fields into the record, leaving the others.
  void Store(ProjectsRecord& record) const;
  // The settings' new-project options; the folders stay.
  void ApplyDefaults();

  QWidget* FieldWidget(ProjectField field) const;

  // Shows the folders that empty boxes will get.
  void ShowDefaultFolders(const QString& thumbnails, const QString& mobile);

  FolderBrowser* thumbnailsBrowser() const { return thumbs_.folder; }
  FolderBrowser* mobileBrowser() const { return mobile_.folder; }

 private:
  // One group's controls; both groups are alike.
  struct Copies {
    QGroupBox* group = nullptr;
    QCheckBox* create = nullptr;
    QSpinBox* boundingBox = nullptr;
    QComboBox* format = nullptr;
    FolderBrowser* folder = nullptr;
    QCheckBox* exclude = nullptr;
    QComboBox* orientation = nullptr;
  };
  struct CopiesTexts;

  Copies BuildCopies(const CopiesTexts& texts, std::vector<QLabel*>& labels);
  void LoadOptions(const ProjectsRecord& record);
  void UpdateEnabled();

  const SettingsValues& settings_;
  Copies thumbs_;
  Copies mobile_;
  QPushButton* applyDefaults_;
};

}  // namespace trawlix::ui
