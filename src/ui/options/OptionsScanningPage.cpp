#include "ui/options/OptionsScanningPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include "operations/OptionsSchema.h"
#include "operations/ScanPreferences.h"
#include "settings/ScanPriorityLevels.h"
#include "settings/UserAgent.h"
#include "ui/FolderBrowser.h"
#include "ui/options/OptionsControls.h"

namespace trawlix::ui {

using options::AddRow;
using options::MakeButton;

namespace {

constexpr const char* kCustomEntry = "==== CUSTOM ====";
constexpr int kQualityPageStep = 5;

constexpr const char* kDuplicateChoices[] = {
    "S&kip (don't save the photo)",
    "Re&name (append a letter from 'a' to 'z')",
    "O&verwrite",
    "Overwrite if the Photo's Dimensions are &Larger",
};

// A slider with its value shown beside it, in a fixed width so the row does not jump.
QHBoxLayout* SliderRow(QSlider* slider, QLabel* text, const QString& widest) {
  text->setMinimumWidth(text->fontMetrics().horizontalAdvance(widest) + 8);
  auto* row = new QHBoxLayout;
  row->addWidget(slider, 1);
  row->addWidget(text);
  return row;
}

}  // namespace

OptionsScanningPage::OptionsScanningPage(QWidget* parent) : QWidget(parent) {
  QGroupBox* webGroup = BuildWebGroup();
  QGroupBox* scanGroup = BuildScanGroup();
  QGroupBox* photoGroup = BuildPhotoGroup();
  QGroupBox* duplicateGroup = BuildDuplicateGroup();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(webGroup);
  layout->addWidget(scanGroup);
  auto* lower = new QHBoxLayout;
  lower->addWidget(photoGroup, 1);
  lower->addWidget(duplicateGroup);
  layout->addLayout(lower);
  layout->addStretch(1);
}

QGroupBox* OptionsScanningPage::BuildWebGroup() {
  auto* webGroup = new QGroupBox(tr("Web Requests"), this);
  userAgent_ = new QComboBox(webGroup);
  for (const UserAgent& agent : UserAgentList()) {
    userAgent_->addItem(QString::fromStdString(agent.name));
  }
  userAgent_->addItem(QString::fromLatin1(kCustomEntry));
  customUserAgent_ = new QLineEdit(webGroup);
  customUserAgent_->setAccessibleName(tr("Custom User Agent String"));
  customUserAgent_->setPlaceholderText(tr("Type the USER-AGENT string to send"));
  timeout_ = new QSpinBox(webGroup);
  options::LimitToOption(timeout_, "connectionTimeout");
  timeout_->setSuffix(tr(" seconds"));
  timeout_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  connections_ = new QSpinBox(webGroup);
  options::LimitToOption(connections_, "connectionsPerHost");
  connections_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  connections_->setToolTip(
      tr("Pages and photos downloaded at the same time from one site; "
         "1 downloads one after the other"));
  offLocalNetwork_ = MakeButton<QCheckBox>(
      tr("Keep scans of public sites off this computer and the local &network"), webGroup);
  httpsToHttp_ =
      MakeButton<QCheckBox>(tr("Let secure (https) pages redirect to plain http pa&ges"), webGroup);
  robots_ = MakeButton<QCheckBox>(tr("Honour each site's ro&bots.txt"), webGroup);
  hostPause_ = new QSpinBox(webGroup);
  options::LimitToOption(hostPause_, "hostPauseMs");
  hostPause_->setSingleStep(100);
  hostPause_->setSuffix(tr(" ms"));
  hostPause_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  noCache_ = MakeButton<QCheckBox>(tr("Always &Retrieve New Copies of Photos (not from the cache)"),
                                   webGroup);
  cookiesFile_ = new FolderBrowser(tr("Choose a Browser's Cookies File"),
                                   tr("Choose the cookies file"), webGroup);
  cookiesFile_->SetChooser([](QWidget* owner, const QString& title, const QString& start) {
    return QFileDialog::getOpenFileName(owner, title, start,
                                        tr("Cookies files (*.txt);;All files (*)"));
  });
  cookiesFile_->edit()->setAccessibleName(tr("Cookies File"));
  cookiesFile_->edit()->setPlaceholderText(tr("None (a cookies.txt exported from a browser)"));
  cookiesFile_->setToolTip(
      tr("Scans send the cookies of this file, so that pages you are signed in to open; "
         "it is read when a scan starts and never written"));
  auto* webForm = new QFormLayout(webGroup);
  AddRow(webForm, tr("User &Agent String:"), userAgent_);
  webForm->addRow(QString(), customUserAgent_);
  AddRow(webForm, tr("Connection &Time-out:"), timeout_);
  AddRow(webForm, tr("Connections per &Host:"), connections_);
  AddRow(webForm, tr("Pa&use Between Requests:"), hostPause_);
  AddRow(webForm, tr("Coo&kies File:"), cookiesFile_);
  webForm->addRow(noCache_);
  webForm->addRow(offLocalNetwork_);
  webForm->addRow(httpsToHttp_);
  webForm->addRow(robots_);
  connect(userAgent_, &QComboBox::currentIndexChanged, this, &OptionsScanningPage::userAgentChosen);
  return webGroup;
}

QGroupBox* OptionsScanningPage::BuildScanGroup() {
  auto* scanGroup = new QGroupBox(tr("Scanning"), this);
  priority_ = new QSlider(Qt::Horizontal, scanGroup);
  priority_->setRange(0, static_cast<int>(ScanPriorityLevels().size()) - 1);
  priority_->setPageStep(1);
  priority_->setTickPosition(QSlider::TicksBelow);
  priorityText_ = new QLabel(scanGroup);
  filesToIgnore_ = new QLineEdit(scanGroup);
  filesToIgnore_->setToolTip(tr("Comma-separated; parts of names are allowed."));
  twoPass_ = MakeButton<QCheckBox>(tr("Use the T&wo-Pass HTML Scanning System"), scanGroup);
  skipRemembered_ = MakeButton<QCheckBox>(
      tr("Skip photos earlier scans saved, and pages that have not &changed"), scanGroup);
  onlySuccessful_ = MakeButton<QCheckBox>(
      tr("Only Add &Successful Scans (photos downloaded) to the Scan History"), scanGroup);
  auto* scanForm = new QFormLayout(scanGroup);
  priority_->setAccessibleName(tr("Scanning Priority"));
  auto* priorityLabel = new QLabel(tr("Scanning &Priority:"), scanGroup);
  priorityLabel->setBuddy(priority_);
  scanForm->addRow(priorityLabel, SliderRow(priority_, priorityText_, tr("Time Critical")));
  AddRow(scanForm, tr("&Files to Ignore:"), filesToIgnore_);
  scanForm->addRow(twoPass_);
  scanForm->addRow(skipRemembered_);
  scanForm->addRow(onlySuccessful_);
  connect(priority_, &QSlider::valueChanged, this, &OptionsScanningPage::showPriority);
  return scanGroup;
}

QGroupBox* OptionsScanningPage::BuildPhotoGroup() {
  auto* photoGroup = new QGroupBox(tr("Processing"), this);
  quality_ = new QSlider(Qt::Horizontal, photoGroup);
  options::LimitToOption(quality_, "jpegQuality");
  quality_->setPageStep(kQualityPageStep);
  quality_->setAccessibleName(tr("JPEG Photo Quality"));
  qualityText_ = new QLabel(photoGroup);
  setDpi_ = MakeButton<QCheckBox>(tr("Set Photo Resolution (&DPI)"), photoGroup);
  dpi_ = new QSpinBox(photoGroup);
  options::LimitToOption(dpi_, "photoDpi");
  dpi_->setAccessibleName(tr("Photo Resolution (DPI)"));
  dpi_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  deleteDerived_ =
      MakeButton<QCheckBox>(tr("D&elete Thumbnails && Mobile Photos when Rescanning"), photoGroup);
  auto* photoForm = new QFormLayout(photoGroup);
  auto* qualityLabel = new QLabel(tr("&JPEG Photo Quality:"), photoGroup);
  qualityLabel->setBuddy(quality_);
  photoForm->addRow(qualityLabel, SliderRow(quality_, qualityText_, QStringLiteral("100%")));
  photoForm->addRow(setDpi_, dpi_);
  photoForm->addRow(deleteDerived_);
  connect(quality_, &QSlider::valueChanged, this, &OptionsScanningPage::showQuality);
  connect(setDpi_, &QCheckBox::toggled, dpi_, &QSpinBox::setEnabled);
  return photoGroup;
}

QGroupBox* OptionsScanningPage::BuildDuplicateGroup() {
  // What happens when a photo's file name exists.
  auto* duplicateGroup = new QGroupBox(tr("When a Photo's File Name Exists"), this);
  duplicates_ = new QButtonGroup(this);
  auto* duplicateLayout = new QVBoxLayout(duplicateGroup);
  for (int i = 0; i < 4; ++i) {
    auto* radio = MakeButton<QRadioButton>(tr(kDuplicateChoices[i]), duplicateGroup);
    duplicates_->addButton(radio, i);
    duplicateLayout->addWidget(radio);
  }
  return duplicateGroup;
}

bool OptionsScanningPage::customChosen() const {
  return userAgent_->currentIndex() == userAgent_->count() - 1;
}

void OptionsScanningPage::userAgentChosen() {
  const bool custom = customChosen();
  customUserAgent_->setEnabled(custom);
  // A list entry shows what it sends; the custom entry starts from that text.
  if (!custom && userAgent_->currentIndex() >= 0) {
    const auto agents = UserAgentList();
    customUserAgent_->setText(QString::fromStdString(
        agents[static_cast<std::size_t>(userAgent_->currentIndex())].userAgent));
  }
}

void OptionsScanningPage::showPriority(int position) {
  const auto levels = ScanPriorityLevels();
  priorityText_->setText(QString::fromLatin1(levels[static_cast<std::size_t>(position)].name));
  priority_->setAccessibleDescription(priorityText_->text());
}

void OptionsScanningPage::showQuality(int quality) {
  qualityText_->setText(QString::asprintf("%d%%", quality));
  quality_->setAccessibleDescription(qualityText_->text());
}

void OptionsScanningPage::load(const SettingsValues& v) {
  int entry = 0;
  if (v.customUserAgent) {
    entry = userAgent_->count() - 1;
  } else if (const auto name = UserAgentName(v.userAgent)) {
    entry = userAgent_->findText(QString::fromStdString(*name), Qt::MatchExactly);
    if (entry < 0) entry = 0;
  }
  // Fires userAgentChosen only when the index changes, so both paths are run by hand.
  userAgent_->setCurrentIndex(entry);
  userAgentChosen();
  if (v.customUserAgent) customUserAgent_->setText(QString::fromStdString(v.userAgent));

  timeout_->setValue(v.connectionTimeout);
  connections_->setValue(ConnectionsPerHost());
  offLocalNetwork_->setChecked(KeepScansOffLocalNetwork());
  httpsToHttp_->setChecked(AllowHttpsToHttp());
  robots_->setChecked(HonourRobots());
  skipRemembered_->setChecked(SkipRememberedPhotos());
  hostPause_->setValue(HostPauseMs());
  noCache_->setChecked(v.noCachePhotos);
  cookiesFile_->setPath(QString::fromStdString(CookiesFile()));
  priority_->setValue(ScanPrioritySliderPosition(v.scanPriority));
  showPriority(priority_->value());
  twoPass_->setChecked(v.twoPassScanning);
  onlySuccessful_->setChecked(v.historyOnlySuccessfulScans);
  filesToIgnore_->setText(QString::fromStdString(v.filesToIgnore));
  quality_->setValue(v.jpegQuality);
  showQuality(quality_->value());
  setDpi_->setChecked(v.setPhotoDpi);
  dpi_->setValue(v.photoDpi);
  dpi_->setEnabled(setDpi_->isChecked());
  deleteDerived_->setChecked(v.deleteDerivedOnRescan);
  if (QAbstractButton* radio = duplicates_->button(v.duplicateNameAction)) {
    radio->setChecked(true);
  } else {
    duplicates_->button(0)->setChecked(true);
  }
}

void OptionsScanningPage::storeProfile() const {
  SetConnectionsPerHost(connections_->value());
  SetKeepScansOffLocalNetwork(offLocalNetwork_->isChecked());
  SetAllowHttpsToHttp(httpsToHttp_->isChecked());
  SetHonourRobots(robots_->isChecked());
  SetSkipRememberedPhotos(skipRemembered_->isChecked());
  SetHostPauseMs(hostPause_->value());
  SetCookiesFile(cookiesFile_->path().trimmed().toStdString());
}

void OptionsScanningPage::store(SettingsValues& v) const {
  if (customChosen()) {
    v.customUserAgent = true;
    v.userAgent = customUserAgent_->text().trimmed().toStdString();
  } else {
    v.customUserAgent = false;
    v.userAgent = UserAgentList()[static_cast<std::size_t>(userAgent_->currentIndex())].userAgent;
  }
  v.connectionTimeout = timeout_->value();
  v.noCachePhotos = noCache_->isChecked();
  v.scanPriority = ScanPriorityLevels()[static_cast<std::size_t>(priority_->value())].value;
  v.twoPassScanning = twoPass_->isChecked();
  v.historyOnlySuccessfulScans = onlySuccessful_->isChecked();
  v.filesToIgnore = filesToIgnore_->text().trimmed().toStdString();
  v.jpegQuality = quality_->value();
  v.setPhotoDpi = setDpi_->isChecked();
  v.photoDpi = dpi_->value();
  v.deleteDerivedOnRescan = deleteDerived_->isChecked();
  v.duplicateNameAction = duplicates_->checkedId() >= 0 ? duplicates_->checkedId() : 0;
}

std::optional<OptionsPageProblem> OptionsScanningPage::check() const {
  if (customChosen() && customUserAgent_->text().trimmed().isEmpty()) {
    return OptionsPageProblem{QString::fromLatin1(kNoCustomUserAgentMessage), customUserAgent_};
  }
  if (const auto problem = CookiesFileProblem(cookiesFile_->path().trimmed().toStdString()))
    return OptionsPageProblem{QString::fromStdString(*problem), cookiesFile_->edit()};
  return std::nullopt;
}

}  // namespace trawlix::ui
