// Renders the desktop program's main window and dialogs, offscreen, to PNG files for the
// documentation: screenshots OUTPUT_DIR
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "operations/DataSession.h"
#include "ui/CategoriesDialog.h"
#include "ui/DialogMessageSink.h"
#include "ui/MainWindow.h"
#include "ui/OptionsSheet.h"
#include "ui/ProjectSheet.h"

namespace {

class SilentSink : public trawlix::MessageSink {
 public:
  trawlix::MessageReply Show(const trawlix::MessageRequest& request) override {
    std::fprintf(stderr, "message: %s\n", request.text.c_str());
    return {};
  }
};

void Settle() {
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

bool Save(QWidget& widget, const QString& folder, const QString& name) {
  widget.show();
  Settle();
  const QString path = QDir(folder).filePath(name);
  if (!widget.grab().save(path)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s\n", qPrintable(path));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
    return 2;
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QTemporaryDir home;
  // A first start of its own: the seeded sample projects, no trace in the user's profile.
  setenv("HOME", qPrintable(home.path()), 1);
  setenv("XDG_CONFIG_HOME", qPrintable(home.path() + QStringLiteral("/.config")), 1);
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Quillmoor"));
  QApplication::setApplicationName(QStringLiteral("Trawlix() PRO"));
  const QString out = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(out);

  SilentSink sink;
  std::string error;
  auto session = trawlix::DataSession::Open((home.path() + QStringLiteral("/data")).toStdString(),
                                            sink, error);
  if (!session) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  bool ok = true;
  {
    trawlix::ui::MainWindow window(*session, sink);
    window.resize(1100, 720);
    if (auto* list = window.findChild<QListWidget*>(QStringLiteral("projectList"))) {
      list->setCurrentRow(1);
    }
    ok = Save(window, out, QStringLiteral("main-window.png")) && ok;
    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("pages"));
    tabs->setCurrentIndex(1);
    ok = Save(window, out, QStringLiteral("main-window-links.png")) && ok;
    tabs->setCurrentIndex(2);
    ok = Save(window, out, QStringLiteral("main-window-history.png")) && ok;

    const trawlix::CProjectsRecord project = *window.currentProject();
    trawlix::ui::ProjectSheet sheet(
        *session, sink, project,
        QStringLiteral("Edit Project - [%1]").arg(QString::fromStdString(project.m_lpszTitle)));
    const std::pair<trawlix::ui::ProjectSheet::Page, const char*> pages[] = {
        {trawlix::ui::ProjectSheet::Page::General, "project-general.png"},
        {trawlix::ui::ProjectSheet::Page::Convert, "project-rename-resize-convert.png"},
        {trawlix::ui::ProjectSheet::Page::ThumbsMobile, "project-thumbnails-mobile.png"}};
    for (const auto& [page, file] : pages) {
      sheet.setCurrentPage(page);
      ok = Save(sheet, out, QString::fromLatin1(file)) && ok;
    }
    sheet.hide();

    trawlix::ui::OptionsSheet options(session->settings(), sink);
    ok = Save(options, out, QStringLiteral("options.png")) && ok;
    trawlix::ui::CategoriesDialog categories(*session, sink);
    ok = Save(categories, out, QStringLiteral("categories.png")) && ok;
    window.hide();
  }
  return ok ? 0 : 1;
}
