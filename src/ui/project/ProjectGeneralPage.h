#pragma once

#include <QWidget>
#include <vector>

#include "storage/CategoriesRecord.h"
#include "storage/ProjectRendering.h"
#include "storage/ProjectValidation.h"
#include "storage/ProjectsRecord.h"

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace trawlix {
struct SettingsValues;
}

namespace trawlix::ui {

class FolderBrowser;

// The project's identity, where its photos go, and which photos a scan keeps.
class ProjectGeneralPage : public QWidget {
  Q_OBJECT

 public:
  explicit ProjectGeneralPage(const SettingsValues& settings, QWidget* parent = nullptr);

  // Shows the record. A new project's save-to folder follows its title while it is the
  // default one.
  void Load(const ProjectsRecord& record, bool newProject);
  // Writes the page's fields into the record, leaving the others.
  void Store(ProjectsRecord& record) const;

  // The choice to render pages with scripts, kept beside the record.
  void SetRendering(RenderMode mode);
  RenderMode Rendering() const;

  // Refills the category list, keeping the chosen category when it still exists.
  void SetCategories(const std::vector<CategoriesRecord>& categories);

  // The settings' new-project filters and formats; identity, address and folder stay.
  void ApplyDefaults();

  // The control for a problem of this page, or nullptr.
  QWidget* FieldWidget(ProjectField field) const;

  FolderBrowser* saveToBrowser() const { return saveTo_; }

 Q_SIGNALS:
  void manageCategoriesRequested();
  // The title or the save-to folder changed: what other folders derive from.
  void identityChanged();

 private:
  // The rows of the form, top to bottom.
  void AddWhereRows(QFormLayout& form);
  void AddPhotoRows(QFormLayout& form);
  void AddRenderRow(QFormLayout& form);
  void AddKeywordRows(QFormLayout& form);
  void ConnectControls();
  void LoadOptions(const ProjectsRecord& record);
  void FollowTitle(const QString& title);
  void UpdatePasteButton();
  void PasteURL();
  void UpdateEnabled();

  const SettingsValues& settings_;
  bool newProject_ = false;
  QString followedTitle_;

  QComboBox* category_;
  QToolButton* manageCategories_;
  QLineEdit* title_;
  QLineEdit* url_;
  QToolButton* paste_;
  FolderBrowser* saveTo_;
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
  QComboBox* render_;
  QLineEdit* keywords_;
  QCheckBox* keywordMustExist_;
  QPushButton* applyDefaults_;
};

}  // namespace trawlix::ui
