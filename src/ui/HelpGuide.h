#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

class QAbstractButton;
class QWidget;

namespace trawlix {
class MessageSink;
}  // namespace trawlix

namespace trawlix::ui {

// The pages of the user guide (HTML, installed with the program) that the Help menu, F1 and
// the dialogs' Help buttons open.
enum class HelpTopic {
  Contents,
  GettingStarted,
  Projects,
  Categories,
  Scanning,
  Viewer,
  BatchTools,
  Exchange,
  Import,
  Export,
  Options,
  CommandLine,
};

// The project's own web pages, for what the guide cannot hold.
inline constexpr const char* kSampleProjectsPage = "https://www.quillmoor.example/trawlix/samples";
inline constexpr const char* kContactPage = "https://www.quillmoor.example/trawlix/contact";

// The page's file name inside the guide's folder, with its anchor: "projects.html#categories".
QString HelpPageName(HelpTopic topic);

// Where the guide may be, in order: installed beside the program (BIN/../share/trawlix/guide),
// then the source tree the program was built from.
QStringList GuideFolderCandidates();
// The first candidate that holds index.html; empty when none does.
QString FindGuideFolder(const QStringList& candidates = GuideFolderCandidates());
QUrl HelpPageUrl(const QString& guideFolder, HelpTopic topic);

// How a page is shown: the desktop's browser, or what a test puts in its place.
using HelpOpener = std::function<bool(const QUrl&)>;
// Replaces the opener and returns the one it replaced.
HelpOpener SetHelpOpener(HelpOpener opener);

// Opens the topic's page; says so through `messages` when the guide is missing or no
// browser took the page.
bool OpenHelp(HelpTopic topic, MessageSink& messages);

// A dialog's Help button, and F1 anywhere in the dialog, open the topic's page.
void ConnectHelp(QAbstractButton* button, QWidget* dialog, HelpTopic topic, MessageSink& messages);

}  // namespace trawlix::ui
