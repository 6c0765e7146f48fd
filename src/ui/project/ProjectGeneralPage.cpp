#include "ui/project/ProjectGeneralPage.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "frontend/Rendering.h"
#include "settings/SettingsValues.h"
#include "storage/ProjectDefaults.h"
#include "ui/FolderBrowser.h"
#include "ui/FormControls.h"
#include "ui/Icons.h"

namespace trawlix::ui {

namespace {

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

QToolButton* SmallButton(IconName icon, const QString& toolTip, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setIcon(Icon(icon));
  button->setToolTip(toolTip);
  button->setAccessibleName(toolTip);
  button->setFocusPolicy(Qt::StrongFocus);
  return button;
}

}  // namespace

ProjectGeneralPage::ProjectGeneralPage(const SettingsValues& settings, QWidget* parent)
    : QWidget(parent), settings_(settings) {
  // Built in reading order: that is the keyboard's order too.
  auto* form = new QFormLayout;
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  AddWhereRows(*form);
  AddPhotoRows(*form);
  AddRenderRow(*form);
  AddKeywordRows(*form);

  applyDefaults_ = ApplyDefaultsButton(this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(applyDefaults_);

  auto* page = new QVBoxLayout(this);
  page->addLayout(form);
  page->addStretch(1);
  page->addLayout(buttons);

  ConnectControls();
  UpdatePasteButton();
  UpdateEnabled();
}

void ProjectGeneralPage::AddWhereRows(QFormLayout& form) {
  auto* categoryLabel = new QLabel(QStringLiteral("Category:"), this);
  category_ = new QComboBox(this);
  category_->setObjectName(QStringLiteral("category"));
  category_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  manageCategories_ = SmallButton(IconName::Categories, QStringLiteral("Manage Categories"), this);
  manageCategories_->setObjectName(QStringLiteral("manageCategories"));
  LabelField(categoryLabel, category_);
  auto* categoryRow = new QHBoxLayout;
  categoryRow->addWidget(category_, 1);
  categoryRow->addWidget(manageCategories_);
  form.addRow(categoryLabel, categoryRow);

  auto* titleLabel = new QLabel(QStringLiteral("Project Name:"), this);
  title_ = new QLineEdit(this);
  title_->setObjectName(QStringLiteral("title"));
  title_->setMaxLength(200);
  LabelField(titleLabel, title_);
  form.addRow(titleLabel, title_);

  auto* urlLabel = new QLabel(QStringLiteral("Website's URL:"), this);
  url_ = new QLineEdit(this);
  url_->setObjectName(QStringLiteral("url"));
  url_->setMaxLength(1024);
  paste_ = SmallButton(IconName::Paste, QStringLiteral("Paste URL From Clipboard"), this);
  paste_->setObjectName(QStringLiteral("pasteURL"));
  LabelField(urlLabel, url_);
  auto* urlRow = new QHBoxLayout;
  urlRow->addWidget(url_, 1);
  urlRow->addWidget(paste_);
  form.addRow(urlLabel, urlRow);

  auto* saveToLabel = new QLabel(QStringLiteral("Save &Photos to:"), this);
  saveTo_ = new FolderBrowser(QStringLiteral("Choose Folder to Save Downloaded Photos."),
                              QStringLiteral("Select Folder"), this);
  saveTo_->setObjectName(QStringLiteral("saveTo"));
  saveTo_->edit()->setObjectName(QStringLiteral("saveToPath"));
  saveTo_->edit()->setMaxLength(1024);
  LabelField(saveToLabel, saveTo_->edit());
  form.addRow(saveToLabel, saveTo_);
}

void ProjectGeneralPage::AddPhotoRows(QFormLayout& form) {
  auto* formatsLabel = new QLabel(QStringLiteral("Photo Formats:"), this);
  auto* formats = new QWidget(this);
  formats->setAccessibleName(SpokenText(formatsLabel->text()));
  auto makeFormat = [&](const char* name) {
    auto* box = new QCheckBox(QString::fromLatin1(name), formats);
    box->setObjectName(QString::fromLatin1(name).toLower());
    return box;
  };
  jpeg_ = makeFormat("JPEG");
  png_ = makeFormat("PNG");
  gif_ = makeFormat("GIF");
  bmp_ = makeFormat("BMP");
  tif_ = makeFormat("TIF");
  formatsLabel->setBuddy(jpeg_);
  auto* formatsRow = new QHBoxLayout(formats);
  formatsRow->setContentsMargins(0, 0, 0, 0);
  for (QCheckBox* box : {jpeg_, png_, gif_, bmp_, tif_}) formatsRow->addWidget(box);
  formatsRow->addStretch(1);
  form.addRow(formatsLabel, formats);

  createFolders_ = new QCheckBox(
      QStringLiteral("Create Directory Structure (mirror website's sub-folders)"), this);
  createFolders_->setObjectName(QStringLiteral("createFolders"));
  searchSubFolders_ = new QCheckBox(QStringLiteral("Search Sub-Folders"), this);
  searchSubFolders_->setObjectName(QStringLiteral("searchSubFolders"));
  form.addRow(QString(), createFolders_);
  form.addRow(QString(), searchSubFolders_);

  filterMinimumSize_ =
      new QCheckBox(QStringLiteral("&Minimum Photo Size (in pixels, bounding-box):"), this);
  filterMinimumSize_->setObjectName(QStringLiteral("filterMinimumSize"));
  minimumSize_ = new QSpinBox(this);
  minimumSize_->setObjectName(QStringLiteral("minimumSize"));
  minimumSize_->setRange(0, 100000);
  minimumSize_->setSuffix(QStringLiteral(" px"));
  minimumSize_->setAccessibleName(SpokenText(filterMinimumSize_->text()));
  auto* minimumRow = new QHBoxLayout;
  minimumRow->addWidget(filterMinimumSize_);
  minimumRow->addWidget(minimumSize_);
  minimumRow->addStretch(1);
  form.addRow(QString(), minimumRow);

  auto* orientationLabel = new QLabel(QStringLiteral("Orientation:"), this);
  orientation_ = new QComboBox(this);
  orientation_->setObjectName(QStringLiteral("orientation"));
  FillOrientationChoices(orientation_);
  LabelField(orientationLabel, orientation_);
  form.addRow(orientationLabel, orientation_);
}

void ProjectGeneralPage::AddRenderRow(QFormLayout& form) {
  auto* renderLabel = new QLabel(QStringLiteral("&Render pages with scripts:"), this);
  render_ = new QComboBox(this);
  render_->setObjectName(QStringLiteral("render"));
  render_->addItem(QStringLiteral("Automatically"), static_cast<int>(RenderMode::Automatic));
  render_->addItem(QStringLiteral("Always"), static_cast<int>(RenderMode::Always));
  render_->addItem(QStringLiteral("Never"), static_cast<int>(RenderMode::Never));
  render_->setToolTip(QStringLiteral(
      "Automatically: a page whose markup has scripts and shows no photo is opened as a "
      "browser would, so that the photos its scripts add are found too."));
  if (!RenderingBuilt()) {
    render_->setEnabled(false);
    render_->setToolTip(
        QStringLiteral("Rendering is not available: this build has no browser "
                       "engine (QtWebEngine)."));
  }
  LabelField(renderLabel, render_);
  form.addRow(renderLabel, render_);
}

void ProjectGeneralPage::AddKeywordRows(QFormLayout& form) {
  auto* keywordsLabel = new QLabel(QStringLiteral("&Keywords:"), this);
  keywords_ = new QLineEdit(this);
  keywords_->setObjectName(QStringLiteral("keywords"));
  keywords_->setMaxLength(1024);
  keywordMustExist_ = new QCheckBox(
      QStringLiteral("Links must contain one or more of the keywords listed above."), this);
  keywordMustExist_->setObjectName(QStringLiteral("keywordMustExist"));
  LabelField(keywordsLabel, keywords_);
  form.addRow(keywordsLabel, keywords_);
  form.addRow(QString(), keywordMustExist_);
}

void ProjectGeneralPage::ConnectControls() {
  connect(manageCategories_, &QToolButton::clicked, this,
          &ProjectGeneralPage::manageCategoriesRequested);
  connect(paste_, &QToolButton::clicked, this, &ProjectGeneralPage::PasteURL);
  connect(title_, &QLineEdit::textChanged, this, &ProjectGeneralPage::FollowTitle);
  connect(title_, &QLineEdit::textChanged, this, &ProjectGeneralPage::identityChanged);
  connect(saveTo_, &FolderBrowser::pathChanged, this, &ProjectGeneralPage::identityChanged);
  connect(keywords_, &QLineEdit::textChanged, this, &ProjectGeneralPage::UpdateEnabled);
  connect(filterMinimumSize_, &QCheckBox::toggled, this, &ProjectGeneralPage::UpdateEnabled);
  connect(applyDefaults_, &QPushButton::clicked, this, &ProjectGeneralPage::ApplyDefaults);
  if (QClipboard* clipboard = QGuiApplication::clipboard()) {
    connect(clipboard, &QClipboard::dataChanged, this, &ProjectGeneralPage::UpdatePasteButton);
  }
}

void ProjectGeneralPage::Load(const ProjectsRecord& record, bool newProject) {
  newProject_ = false;  // no following while the fields are filled
  SelectCode(category_, record.catId);
  title_->setText(Q(record.title));
  url_->setText(Q(record.url));
  QString saveTo = Q(record.saveTo);
  if (newProject && saveTo.trimmed().isEmpty()) {
    saveTo = Q(DefaultSaveTo(settings_, record.title));
  }
  saveTo_->setPath(saveTo);
  keywords_->setText(Q(record.keywords));
  keywordMustExist_->setChecked(record.keywordMustExist);
  LoadOptions(record);
  newProject_ = newProject;
  followedTitle_ = title_->text();
}

void ProjectGeneralPage::LoadOptions(const ProjectsRecord& record) {
  jpeg_->setChecked(record.jpeg);
  png_->setChecked(record.png);
  gif_->setChecked(record.gif);
  bmp_->setChecked(record.bmp);
  tif_->setChecked(record.tif);
  createFolders_->setChecked(record.createFolders);
  searchSubFolders_->setChecked(record.searchSubFolders);
  filterMinimumSize_->setChecked(record.filterMinimumSize);
  minimumSize_->setValue(record.minimumSize);
  SelectCode(orientation_, record.orientation);
  // An unknown orientation would filter out every photo: show it as "any".
  if (orientation_->currentIndex() < 0) orientation_->setCurrentIndex(0);
  UpdateEnabled();
}

void ProjectGeneralPage::SetRendering(RenderMode mode) {
  SelectCode(render_, static_cast<int>(mode));
}

RenderMode ProjectGeneralPage::Rendering() const {
  const int code = ChosenCode(render_);
  return code < 0 ? RenderMode::Automatic : static_cast<RenderMode>(code);
}

void ProjectGeneralPage::Store(ProjectsRecord& record) const {
  record.catId = ChosenCode(category_);
  record.title = title_->text().trimmed().toStdString();
  record.url = url_->text().trimmed().toStdString();
  record.saveTo = saveTo_->path().trimmed().toStdString();
  record.jpeg = jpeg_->isChecked();
  record.png = png_->isChecked();
  record.gif = gif_->isChecked();
  record.bmp = bmp_->isChecked();
  record.tif = tif_->isChecked();
  record.createFolders = createFolders_->isChecked();
  record.searchSubFolders = searchSubFolders_->isChecked();
  record.filterMinimumSize = filterMinimumSize_->isChecked();
  record.minimumSize = minimumSize_->value();
  record.orientation = std::max(0, ChosenCode(orientation_));
  record.keywords = keywords_->text().toStdString();
  // Without keywords the condition could never hold.
  record.keywordMustExist = keywordMustExist_->isEnabled() && keywordMustExist_->isChecked();
}

void ProjectGeneralPage::SetCategories(const std::vector<CategoriesRecord>& categories) {
  const int chosen = ChosenCode(category_);
  const QSignalBlocker blocker(category_);
  category_->clear();
  for (const auto& category : categories) {
    category_->addItem(Q(category.name), category.id);
  }
  SelectCode(category_, chosen);
}

void ProjectGeneralPage::ApplyDefaults() {
  LoadOptions(NewProjectRecord(settings_, {}));
}

QWidget* ProjectGeneralPage::FieldWidget(ProjectField field) const {
  switch (field) {
    case ProjectField::Category:
      return category_;
    case ProjectField::Title:
      return title_;
    case ProjectField::URL:
      return url_;
    case ProjectField::SaveTo:
      return saveTo_->edit();
    case ProjectField::Formats:
      return jpeg_;
    default:
      return nullptr;
  }
}

void ProjectGeneralPage::FollowTitle(const QString& title) {
  if (newProject_) {
    const QString followed = Q(DefaultSaveTo(settings_, followedTitle_.toStdString()));
    if (saveTo_->path().trimmed() == followed) {
      saveTo_->setPath(Q(DefaultSaveTo(settings_, title.toStdString())));
    }
  }
  followedTitle_ = title;
}

void ProjectGeneralPage::UpdatePasteButton() {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  const QMimeData* mime = clipboard ? clipboard->mimeData() : nullptr;
  paste_->setEnabled(mime != nullptr && mime->hasText() && !mime->text().trimmed().isEmpty());
}

void ProjectGeneralPage::PasteURL() {
  const QString text = QGuiApplication::clipboard()->text().trimmed();
  if (text.isEmpty()) return;
  url_->setText(text);
  url_->setFocus();
}

void ProjectGeneralPage::UpdateEnabled() {
  keywordMustExist_->setEnabled(!keywords_->text().trimmed().isEmpty());
  minimumSize_->setEnabled(filterMinimumSize_->isChecked());
}

}  // namespace trawlix::ui
