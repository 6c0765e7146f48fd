#include "ui/HelpGuide.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QShortcut>
#include <utility>

#include "base/MessageBox.h"

namespace trawlix::ui {

namespace {

HelpOpener& CurrentOpener() {
  static HelpOpener opener = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  return opener;
}

const QString kIndex = QStringLiteral("index.html");

}  // namespace

QString HelpPageName(HelpTopic topic) {
  switch (topic) {
    case HelpTopic::Contents:
      return kIndex;
    case HelpTopic::GettingStarted:
      return QStringLiteral("getting-started.html");
    case HelpTopic::Projects:
      return QStringLiteral("projects.html");
    case HelpTopic::Categories:
      return QStringLiteral("projects.html#categories");
    case HelpTopic::Scanning:
      return QStringLiteral("scanning.html");
    case HelpTopic::Viewer:
      return QStringLiteral("viewer.html");
    case HelpTopic::BatchTools:
      return QStringLiteral("batch-tools.html");
    case HelpTopic::Exchange:
      return QStringLiteral("import-export.html");
    case HelpTopic::Import:
      return QStringLiteral("import-export.html#import");
    case HelpTopic::Export:
      return QStringLiteral("import-export.html#export");
    case HelpTopic::Options:
      return QStringLiteral("options.html");
    case HelpTopic::CommandLine:
      return QStringLiteral("command-line.html");
  }
  return kIndex;
}

QStringList GuideFolderCandidates() {
  QStringList folders;
  if (QCoreApplication::instance()) {
    folders << QDir::cleanPath(QCoreApplication::applicationDirPath() +
                               QStringLiteral("/../share/trawlix/guide"));
  }
#ifdef TRAWLIX_GUIDE_SOURCE_DIR
  folders << QStringLiteral(TRAWLIX_GUIDE_SOURCE_DIR);
#endif
  return folders;
}

QString FindGuideFolder(const QStringList& candidates) {
  for (const QString& folder : candidates) {
    if (QFileInfo(QDir(folder).filePath(kIndex)).isFile()) return folder;
  }
  return {};
}

QUrl HelpPageUrl(const QString& guideFolder, HelpTopic topic) {
  const QString name = HelpPageName(topic);
  const qsizetype hash = name.indexOf(QLatin1Char('#'));
  QUrl url = QUrl::fromLocalFile(QDir(guideFolder).absoluteFilePath(name.left(hash)));
  if (hash >= 0) url.setFragment(name.mid(hash + 1));
  return url;
}

HelpOpener SetHelpOpener(HelpOpener opener) {
  return std::exchange(CurrentOpener(), std::move(opener));
}

bool OpenHelp(HelpTopic topic, MessageSink& messages) {
  const QString folder = FindGuideFolder();
  if (folder.isEmpty()) {
    MessageRequest request{"The user guide is not installed.\nIt belongs in " +
                           GuideFolderCandidates().value(0).toStdString()};
    request.icon = MessageIcon::Warning;
    messages.Show(request);
    return false;
  }
  const QUrl url = HelpPageUrl(folder, topic);
  if (CurrentOpener()(url)) return true;
  MessageRequest request{"No web browser could open the user guide:\n" +
                         url.toLocalFile().toStdString()};
  request.icon = MessageIcon::Warning;
  messages.Show(request);
  return false;
}

void ConnectHelp(QAbstractButton* button, QWidget* dialog, HelpTopic topic, MessageSink& messages) {
  QObject::connect(button, &QAbstractButton::clicked, dialog,
                   [topic, &messages] { OpenHelp(topic, messages); });
  auto* f1 = new QShortcut(QKeySequence::HelpContents, dialog);
  QObject::connect(f1, &QShortcut::activated, dialog,
                   [topic, &messages] { OpenHelp(topic, messages); });
}

}  // namespace trawlix::ui
