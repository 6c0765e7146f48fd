#include "ui/exchange/ImportDialog.h"

#include <QBuffer>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "base/Text.h"
#include "operations/ExchangeOperations.h"
#include "operations/ProjectOperations.h"
#include "storage/CategoriesTable.h"
#include "ui/FormControls.h"
#include "ui/HelpGuide.h"
#include "ui/SelectionMenu.h"
#include "ui/exchange/ImportExportDialogList.h"
#include "ui/exchange/ImportInformationDialog.h"
#include "ui/exchange/ImportResultsDialog.h"

namespace trawlix::ui {

namespace {

constexpr int kPhotoSide = 128;
// The sample photo is written at most 256 pixels wide; anything far larger is not one.
constexpr int kLargestSamplePhoto = 4096;
constexpr int kResultsDelayMs = 300;
constexpr std::string_view kNoneChecked = "Select Project(s) to Import...";

template <class Button>
Button* MakeButton(const QString& caption, QWidget* parent) {
  auto* button = new Button(caption, parent);
  button->setAccessibleName(SpokenText(QString(caption).replace(QLatin1Char('\n'), ' ')));
  return button;
}

// A plain address only: nothing that could add headers or another recipient to the mail.
bool IsMailAddress(const QString& text) {
  static const QRegularExpression kAddress(
      QStringLiteral("^[A-Za-z0-9.!#$%&'*+=^_`{|}~/-]+@[A-Za-z0-9-]+(\\.[A-Za-z0-9-]+)*$"));
  return kAddress.match(text).hasMatch();
}

// The website as an http or https address; an address without a scheme is taken as http.
QUrl WebAddress(const QString& text) {
  if (text.isEmpty()) return {};
  const auto web = [](const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty();
  };
  const QUrl url(text, QUrl::StrictMode);
  if (web(url)) return url;
  if (!text.contains(QLatin1String("://"))) {
    const QUrl guessed(QStringLiteral("http://") + text, QUrl::StrictMode);
    if (web(guessed)) return guessed;
  }
  return {};
}

}  // namespace

QString ImportDialog::AuthorHtml(const exchange::ExchangeHeader& header) {
  const QString name = QString::fromStdString(Trim(header.name));
  const QString email = QString::fromStdString(Trim(header.emailAddress));
  const QUrl website = WebAddress(QString::fromStdString(Trim(header.website)));
  QStringList who;
  if (!name.isEmpty()) who << name.toHtmlEscaped();
  if (!email.isEmpty()) who << email.toHtmlEscaped();
  QStringList links;
  if (IsMailAddress(email)) {
    links << QStringLiteral("<a href=\"mailto:%1\">%2</a>")
                 .arg(QString::fromLatin1(QUrl::toPercentEncoding(email, "@")), tr("Send E-mail"));
  }
  if (website.isValid()) {
    links << QStringLiteral("<a href=\"%1\">%2</a>")
                 .arg(website.toString(QUrl::FullyEncoded).toHtmlEscaped(), tr("Visit My Website"));
  }
  if (who.isEmpty() && links.isEmpty()) return {};
  QString html = QStringLiteral("<b>%1</b>").arg(tr("Project created by:"));
  if (!who.isEmpty()) html += QStringLiteral("<br>") + who.join(QStringLiteral(", "));
  if (!links.isEmpty()) html += QStringLiteral("<br>") + links.join(QStringLiteral(",&nbsp;"));
  return html;
}

ImportDialog::ImportDialog(DataSession& session, std::string path, exchange::ExchangeFile file,
                           MessageSink& messages, QWidget* parent)
    : QDialog(parent),
      session_(session),
      messages_(messages),
      path_(std::move(path)),
      file_(std::move(file)),
      photo_(new QLabel(this)),
      author_(new QLabel(this)),
      description_(new QPlainTextEdit(this)),
      informationButton_(MakeButton<QPushButton>(tr("File In&formation..."), this)),
      list_(new ImportExportDialogList(ImportExportDialogList::Keys::Import,
                                       tr("Select Projects to Import"), this)),
      counter_(new QLabel(this)),
      intoCategory_(MakeButton<QRadioButton>(tr("&Category:"), this)),
      category_(new QComboBox(this)),
      useFileCategory_(MakeButton<QRadioButton>(
          tr("&Use Imported Project's Category\n(Trawlix() PRO will create category\nwhen "
             "necessary)"),
          this)),
      merge_(MakeButton<QRadioButton>(tr("&Merge Project's Links (Unique) with Existing Project"),
                                      this)),
      skip_(MakeButton<QRadioButton>(tr("Do&n't Import Project"), this)),
      progressText_(new QLabel(this)),
      progress_(new QProgressBar(this)),
      importButton_(MakeButton<QPushButton>(tr("&Import"), this)),
      doneButton_(MakeButton<QPushButton>(tr("&Done"), this)) {
  setWindowTitle(tr("Import Trawlix() PRO Projects"));
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(BuildAbout());
  layout->addLayout(BuildListTitle());
  layout->addWidget(BuildList(), 1);
  layout->addLayout(BuildStatusRow());
  layout->addLayout(BuildOptions());
  layout->addWidget(BuildButtons());
  ConnectControls();
  SetTabOrder();
  UpdateControls();
  list_->setFocus();
}

QLayout* ImportDialog::BuildAbout() {
  // What the file is and who made it.
  photo_->setFrameShape(QFrame::StyledPanel);
  photo_->setAlignment(Qt::AlignCenter);
  photo_->setFixedSize(kPhotoSide + 8, kPhotoSide + 8);
  photo_->setAccessibleName(tr("Sample Photo"));
  ShowPhoto();
  author_->setTextFormat(Qt::RichText);
  author_->setText(AuthorHtml(file_.header));
  author_->setVisible(!author_->text().isEmpty());
  author_->setOpenExternalLinks(true);
  author_->setTextInteractionFlags(Qt::TextBrowserInteraction);
  author_->setAccessibleName(tr("Project created by"));
  auto* descriptionLabel = new QLabel(tr("D&escription:"), this);
  LabelField(descriptionLabel, description_);
  description_->setPlainText(QString::fromStdString(file_.header.description));
  description_->setReadOnly(true);
  description_->setTabChangesFocus(true);
  description_->setFixedHeight(description_->fontMetrics().lineSpacing() * 4 + 12);
  auto* about = new QVBoxLayout;
  about->addWidget(author_);
  about->addWidget(descriptionLabel);
  about->addWidget(description_);
  about->addWidget(informationButton_, 0, Qt::AlignRight);
  about->addStretch(1);
  auto* top = new QHBoxLayout;
  top->addWidget(photo_, 0, Qt::AlignTop);
  top->addLayout(about, 1);
  return top;
}

QLayout* ImportDialog::BuildListTitle() {
  auto* listLabel = new QLabel(tr("Select &Projects to Import"), this);
  listLabel->setBuddy(list_);
  selectButton_ = MakeButton<QPushButton>(tr("&Select:"), this);
  selectButton_->setMenu(SelectionMenu(selectButton_, list_));
  auto* listRow = new QHBoxLayout;
  listRow->addWidget(listLabel);
  listRow->addStretch(1);
  listRow->addWidget(selectButton_);
  return listRow;
}

QWidget* ImportDialog::BuildList() {
  list_->setMinimumSize(540, 180);
  list_->BeginRows();
  for (std::size_t i = 0; i < file_.projects.size(); ++i) {
    const exchange::ImportedProject& p = file_.projects[i];
    // The file's own counts can lie; the links are what the file actually holds.
    list_->AddProject(static_cast<int>(i), p.title, static_cast<std::int64_t>(p.links.size()),
                      p.numPhotos, p.category, true);
  }
  list_->EndRows();
  return list_;
}

QLayout* ImportDialog::BuildOptions() {
  // Where the projects go, and what happens to those already there.
  const exchange::ImportOptions start =
      exchange::ImportOptionsFromSettings(session_.settings().Values());
  auto* targetGroup = new QGroupBox(tr("Import Project(s) to:"), this);
  category_->setAccessibleName(tr("Category"));
  category_->setMinimumContentsLength(18);
  FillCategories(QString::fromStdString(start.categoryName));
  auto* categoryRow = new QHBoxLayout;
  categoryRow->addWidget(intoCategory_);
  categoryRow->addWidget(category_, 1);
  auto* targetLayout = new QVBoxLayout(targetGroup);
  targetLayout->addLayout(categoryRow);
  targetLayout->addWidget(useFileCategory_);
  targetLayout->addStretch(1);
  (start.target == exchange::ImportTarget::FileCategory ? useFileCategory_ : intoCategory_)
      ->setChecked(true);
  auto* duplicateGroup = new QGroupBox(tr("If Duplicate Projects Exists:"), this);
  auto* duplicateLayout = new QVBoxLayout(duplicateGroup);
  duplicateLayout->addWidget(merge_);
  duplicateLayout->addWidget(skip_);
  duplicateLayout->addStretch(1);
  (start.duplicates == exchange::DuplicateHandling::MergeLinks ? merge_ : skip_)->setChecked(true);
  auto* optionsRow = new QHBoxLayout;
  optionsRow->addWidget(targetGroup, 1);
  optionsRow->addWidget(duplicateGroup, 1);
  return optionsRow;
}

QLayout* ImportDialog::BuildStatusRow() {
  progressText_->setTextFormat(Qt::PlainText);  // titles come from the file
  progress_->setTextVisible(false);
  progress_->setRange(0, 1);
  progress_->setValue(0);
  progress_->setAccessibleName(tr("Import Progress"));
  progress_->setFixedWidth(200);
  ShowProgress(false);
  auto* statusRow = new QHBoxLayout;
  statusRow->addWidget(counter_);
  statusRow->addStretch(1);
  statusRow->addWidget(progressText_);
  statusRow->addWidget(progress_);
  return statusRow;
}

QWidget* ImportDialog::BuildButtons() {
  auto* help = MakeButton<QPushButton>(tr("&Help"), this);
  help->setObjectName(QStringLiteral("helpButton"));
  ConnectHelp(help, this, HelpTopic::Import, messages_);
  importButton_->setDefault(true);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(importButton_, QDialogButtonBox::ActionRole);
  buttons->addButton(doneButton_, QDialogButtonBox::AcceptRole);
  buttons->addButton(help, QDialogButtonBox::HelpRole);
  return buttons;
}

void ImportDialog::ConnectControls() {
  connect(list_, &ImportExportDialogList::checksChanged, this, &ImportDialog::UpdateControls);
  for (QRadioButton* radio : {intoCategory_, useFileCategory_}) {
    connect(radio, &QRadioButton::toggled, this, &ImportDialog::UpdateControls);
  }
  connect(category_, &QComboBox::currentIndexChanged, this, &ImportDialog::UpdateControls);
  connect(informationButton_, &QPushButton::clicked, this, &ImportDialog::ShowInformation);
  connect(importButton_, &QPushButton::clicked, this, &ImportDialog::Import);
  connect(doneButton_, &QPushButton::clicked, this, &QDialog::accept);
}

void ImportDialog::SetTabOrder() {
  setTabOrder(description_, informationButton_);
  setTabOrder(informationButton_, selectButton_);
  setTabOrder(selectButton_, list_);
  setTabOrder(list_, intoCategory_);
  setTabOrder(intoCategory_, category_);
  setTabOrder(category_, useFileCategory_);
  setTabOrder(useFileCategory_, merge_);
  setTabOrder(merge_, skip_);
  setTabOrder(skip_, importButton_);
  setTabOrder(importButton_, doneButton_);
}

void ImportDialog::ShowProgress(bool show) {
  // Its room stays while hidden, so nothing moves when an import starts.
  for (QWidget* widget : std::initializer_list<QWidget*>{progressText_, progress_}) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
    widget->setVisible(show);
  }
}

void ImportDialog::ShowPhoto() {
  QByteArray bytes = QByteArray::fromStdString(file_.photo);
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  const QSize size = reader.size();
  QImage image;
  if (size.isValid() && size.width() <= kLargestSamplePhoto &&
      size.height() <= kLargestSamplePhoto) {
    if (size.width() > kPhotoSide || size.height() > kPhotoSide) {
      reader.setScaledSize(size.scaled(kPhotoSide, kPhotoSide, Qt::KeepAspectRatio));
    }
    image = reader.read();
  }
  if (image.isNull()) {
    photo_->setText(tr("No\nSample\nPhoto"));
  } else {
    photo_->setPixmap(QPixmap::fromImage(image));
  }
}

void ImportDialog::FillCategories(const QString& select) {
  const QSignalBlocker quiet(category_);
  category_->clear();
  if (const auto categories = LoadCategories(session_)) {
    for (const CategoriesRecord& category : *categories) {
      category_->addItem(QString::fromStdString(category.name));
    }
  }
  int index = category_->findText(select, Qt::MatchFixedString);
  if (index < 0) {
    index = category_->findText(QString::fromStdString(std::string(kImportedProjectsCategory)),
                                Qt::MatchFixedString);
  }
  category_->setCurrentIndex(index >= 0 ? index : 0);
}

exchange::ImportOptions ImportDialog::options() const {
  exchange::ImportOptions options;
  options.target = useFileCategory_->isChecked() ? exchange::ImportTarget::FileCategory
                                                 : exchange::ImportTarget::SelectedCategory;
  options.categoryName = category_->currentText().toStdString();
  options.duplicates = merge_->isChecked() ? exchange::DuplicateHandling::MergeLinks
                                           : exchange::DuplicateHandling::DontImport;
  return options;
}

void ImportDialog::UpdateControls() {
  const int checked = list_->checkedCount();
  counter_->setText(QString::fromStdString(ProjectsSelectedText(checked, kNoneChecked)));
  const bool idle = !importing_;
  list_->setEnabled(idle);
  intoCategory_->setEnabled(idle);
  useFileCategory_->setEnabled(idle);
  category_->setEnabled(idle && intoCategory_->isChecked());
  const bool duplicates = DuplicateChoiceApplies(options());
  merge_->setEnabled(idle && duplicates);
  skip_->setEnabled(idle && duplicates);
  const QString why =
      duplicates ? QString()
                 : tr("Into \"%1\" every project is imported as a new one, duplicates too.")
                       .arg(QString::fromStdString(std::string(kImportedProjectsCategory)));
  for (QRadioButton* radio : {merge_, skip_}) radio->setToolTip(why);
  importButton_->setEnabled(idle && checked > 0);
  doneButton_->setEnabled(idle);
}

void ImportDialog::ShowInformation() {
  ImportInformationDialog information(path_, file_, this);
  information.exec();
}

void ImportDialog::Import() {
  if (importing_) return;
  std::vector<exchange::ImportedProject> chosen;
  for (int row = 0; row < list_->rowCount(); ++row) {
    if (list_->topLevelItem(row)->checkState(0) != Qt::Checked) continue;
    chosen.push_back(file_.projects.at(static_cast<std::size_t>(list_->idAt(row))));
  }
  if (chosen.empty()) return;
  const exchange::ImportOptions chosenOptions = options();
  importing_ = true;
  UpdateControls();
  progress_->setRange(0, static_cast<int>(chosen.size()));
  ShowProgress(true);
  summary_ = ImportProjects(
      session_, chosen, chosenOptions, [this](std::size_t index, const std::string& title) {
        progressText_->setText(tr("Importing Project: %1").arg(QString::fromStdString(title)));
        progress_->setValue(static_cast<int>(index) + 1);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
      });
  progressText_->clear();
  progress_->setValue(0);
  ShowProgress(false);
  if (summary_->categoriesCreated) FillCategories(category_->currentText());
  importing_ = false;
  UpdateControls();
  Q_EMIT ProjectsImported(summary_->categoriesCreated);
  QTimer::singleShot(kResultsDelayMs, this, &ImportDialog::ShowResults);
}

void ImportDialog::ShowResults() {
  if (!summary_) return;
  if (results_) results_->close();
  results_ = new ImportResultsDialog(*summary_, this);
  results_->setAttribute(Qt::WA_DeleteOnClose);
  results_->open();
}

}  // namespace trawlix::ui
