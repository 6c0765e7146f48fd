#include "ui/window/AboutSheet.h"

#include <QCommandLinkButton>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "base/Version.h"
#include "operations/Statistics.h"
#include "ui/Icons.h"

namespace trawlix::ui {

namespace {

struct Resource {
  const char* caption;
  const char* description;
  const char* address;
};
constexpr Resource kResources[] = {
    {"&Quick Start Guide", "Your first project, step by step.",
     "https://www.quillmoor.example/trawlix/quickstart"},
    {"&Sample Projects", "Ready-made projects to import and scan.",
     "https://www.quillmoor.example/trawlix/samples"},
    {"&Forum", "Questions and answers from other users.",
     "https://www.quillmoor.example/trawlix/forum"},
    {"Co&ntact", "Report a problem or suggest an improvement.",
     "https://www.quillmoor.example/trawlix/contact"},
};

QLabel* ValueLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

}  // namespace

AboutSheet::AboutSheet(DataSession& session, QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("About Trawlix() PRO"));
  setWindowIcon(Icon(IconName::About));

  tabs_ = new QTabWidget(this);
  tabs_->setAccessibleName(tr("About Pages"));
  tabs_->addTab(makeVersionPage(), tr("Version"));
  tabs_->addTab(makeStatisticsPage(session), tr("Statistics"));
  tabs_->addTab(makeResourcesPage(), tr("Online Resources"));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  QPushButton* close = buttons->button(QDialogButtonBox::Close);
  close->setDefault(true);
  close->setAccessibleName(tr("Close"));
  connect(buttons, &QDialogButtonBox::rejected, this, &AboutSheet::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_, 1);
  layout->addWidget(buttons);
  resize(sizeHint().expandedTo(QSize(520, 460)));
}

QWidget* AboutSheet::makeVersionPage() {
  auto* page = new QWidget(this);
  auto* icon = new QLabel(page);
  icon->setPixmap(Icon(IconName::Application).pixmap(64, 64));
  icon->setAccessibleName(tr("Program Icon"));
  auto* name = new QLabel(QStringLiteral("Trawlix() PRO"), page);
  QFont nameFont = name->font();
  nameFont.setPointSizeF(nameFont.pointSizeF() * 1.8);
  nameFont.setBold(true);
  name->setFont(nameFont);
  auto* version = new QLabel(
      tr("Version %1 Build (%2)")
          .arg(QString::fromStdString(ReleaseNumber()), QString::fromStdString(BuildNumber())),
      page);
  auto* description = new QLabel(
      tr("A photo harvester: it scans the web pages of your projects and saves the photos it "
         "finds, renamed, resized, converted and with thumbnails and mobile copies as you "
         "choose."),
      page);
  description->setWordWrap(true);

  const LibraryVersions libraries = RuntimeLibraryVersions();
  auto* libraryForm = new QFormLayout;
  libraryForm->addRow(tr("Qt:"), ValueLabel(QString::fromLatin1(qVersion()), page));
  libraryForm->addRow(tr("libvips:"), ValueLabel(QString::fromStdString(libraries.vips), page));
  libraryForm->addRow(tr("libcurl:"), ValueLabel(QString::fromStdString(libraries.curl), page));
  libraryForm->addRow(tr("SQLite:"), ValueLabel(QString::fromStdString(libraries.sqlite), page));
  auto* librariesTitle = new QLabel(tr("Running with:"), page);

  auto* heading = new QVBoxLayout;
  heading->addWidget(name);
  heading->addWidget(version);
  auto* top = new QHBoxLayout;
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addSpacing(12);
  top->addLayout(heading, 1);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(top);
  layout->addSpacing(12);
  layout->addWidget(description);
  layout->addSpacing(12);
  layout->addWidget(librariesTitle);
  layout->addLayout(libraryForm);
  layout->addStretch(1);
  return page;
}

QWidget* AboutSheet::makeStatisticsPage(DataSession& session) {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  const std::optional<DatabaseStatistics> statistics = GatherStatistics(session);
  if (!statistics) {
    layout->addWidget(new QLabel(tr("The statistics could not be read from the database."), page));
    layout->addStretch(1);
    return page;
  }
  // The two columns line up row by row; their blank lines separate the groups.
  const QStringList labels = QString::fromStdString(StatisticsLabelText()).split(u'\n');
  const QStringList values = QString::fromStdString(StatisticsValueText(*statistics)).split(u'\n');
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(24);
  for (qsizetype row = 0; row < labels.size() && row < values.size(); ++row) {
    const int line = static_cast<int>(row);
    if (labels[row].isEmpty()) {
      grid->setRowMinimumHeight(line, fontMetrics().height() / 2);
      continue;
    }
    auto* label = new QLabel(labels[row], page);
    auto* value = ValueLabel(values[row], page);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setAccessibleName(labels[row]);
    label->setBuddy(value);
    grid->addWidget(label, line, 0);
    grid->addWidget(value, line, 1);
  }
  grid->setColumnStretch(2, 1);
  layout->addLayout(grid);
  layout->addStretch(1);
  return page;
}

QWidget* AboutSheet::makeResourcesPage() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  for (const Resource& resource : kResources) {
    auto* link = new QCommandLinkButton(tr(resource.caption), tr(resource.description), page);
    const QUrl address(QString::fromLatin1(resource.address));
    link->setToolTip(address.toString());
    link->setAccessibleDescription(address.toString());
    link->setAccessibleName(QString(tr(resource.caption)).remove(u'&'));
    connect(link, &QCommandLinkButton::clicked, this,
            [address] { QDesktopServices::openUrl(address); });
    layout->addWidget(link);
  }
  layout->addStretch(1);
  return page;
}

}  // namespace trawlix::ui
