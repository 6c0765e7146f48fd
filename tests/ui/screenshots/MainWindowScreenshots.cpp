// Renders the desktop program's main window and dialogs, offscreen, to PNG files for the
// documentation: screenshots OUTPUT_DIR
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "exchange/ExchangeFile.h"
#include "operations/DataSession.h"
#include "operations/ExchangeOperations.h"
#include "operations/ProjectOperations.h"
#include "storage/ProjectLinksTable.h"
#include "storage/ScanHistoryTable.h"
#include "ui/DialogMessageSink.h"
#include "ui/exchange/ExportDialogDetails.h"
#include "ui/exchange/ExportProjectDialog.h"
#include "ui/exchange/ExportProjectsDialog.h"
#include "ui/exchange/ImportDialog.h"
#include "ui/exchange/ImportExportDialogList.h"
#include "ui/exchange/ImportInformationDialog.h"
#include "ui/exchange/ImportResultsDialog.h"
#include "ui/options/OptionsSheet.h"
#include "ui/project/ProjectSheet.h"
#include "ui/tools/PhotoToolDialog.h"
#include "ui/viewer/PhotoViewer.h"
#include "ui/window/CategoriesDialog.h"
#include "ui/window/MainWindow.h"
#include "ui/window/ViewerPage.h"

namespace {

class SilentSink : public trawlix::MessageSink {
 public:
  trawlix::MessageReply Show(const trawlix::MessageRequest& request) override {
    std::fprintf(stderr, "message: %s\n", request.text.c_str());
    return {};
  }
};

// A project that was scanned a few times, over its start page and two further links.
void AddSampleScans(trawlix::DataSession& session, trawlix::MessageSink& sink, int projectId,
                    const std::string& url) {
  struct Scan {
    const char* date;
    const char* address;
    const char* time;
    int seconds, pages, found, saved, bytes;
  };
  const Scan scans[] = {
      {"11/28/2026", "", "0:02:41", 161, 14, 212, 180, 48'300'000},
      {"12/02/2026", "/gallery/2", "0:00:58", 58, 3, 41, 12, 9'100'000},
      {"12/05/2026", "/gallery/3", "0:01:17", 77, 6, 88, 0, 14'700'000},
      {"12/09/2026", "", "0:00:34", 34, 14, 215, 3, 2'200'000},
  };
  const std::string base = url.substr(0, url.find('/', url.find("//") + 2));
  trawlix::ScanHistoryTable history(session.databasePath(), sink);
  if (!history.OpenTable()) return;
  for (const Scan& scan : scans) {
    const std::string address = *scan.address != 0 ? base + scan.address : url;
    trawlix::ScanHistoryRecord row;
    row.projectId = projectId;
    row.scanDate = scan.date;
    row.totalTime = scan.time;
    row.url = address;
    row.pages = scan.pages;
    row.totalImages = scan.found;
    row.savedImages = scan.saved;
    row.skippedImages = scan.found - scan.saved;
    row.status = row.type = row.searchSubFolders = false;
    row.totalTimeInSeconds = scan.seconds;
    row.transferTimeInSeconds = scan.seconds / 2;
    row.totalBytes = scan.bytes;
    history.InsertScanHistory(row);
    if (*scan.address == 0) continue;
    trawlix::ProjectLinksRecord link;
    link.projectId = projectId;
    link.date = scan.date;
    link.url = address;
    link.photos = scan.saved;
    link.searchSubFolders = link.keywordMustExist = false;
    trawlix::AddProjectLink(session.databasePath(), sink, link);
  }
}

void Settle() {
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// Landscapes of sky, sun and hills in varied light, some upright, to fill the viewer.
void MakeSamplePhotos(const QString& folder, int count) {
  QDir().mkpath(folder);
  for (int i = 0; i < count; ++i) {
    const bool upright = i % 5 == 3;
    QImage image(upright ? QSize(600, 800) : QSize(800, 600), QImage::Format_RGB32);
    const int width = image.width();
    const int height = image.height();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const int hue = (i * 47) % 360;
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor::fromHsv((hue + 200) % 360, 120, 250));
    sky.setColorAt(1, QColor::fromHsv((hue + 20) % 360, 90, 255));
    painter.fillRect(image.rect(), sky);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromHsv((hue + 40) % 360, 160, 255));
    painter.drawEllipse(QPointF(width * (0.2 + 0.06 * (i % 10)), height * 0.3), width * 0.08,
                        width * 0.08);
    for (int layer = 0; layer < 3; ++layer) {
      QPainterPath hills;
      hills.moveTo(0, height);
      for (int x = 0; x <= width; x += width / 8) {
        const double wave = ((x * (layer + 2) + i * 97) % 211) / 211.0;
        hills.lineTo(x, height * (0.55 + 0.12 * layer) - wave * height * 0.15);
      }
      hills.lineTo(width, height);
      hills.closeSubpath();
      painter.setBrush(
          QColor::fromHsv((hue + 90 + layer * 15) % 360, 110 + 40 * layer, 170 - 45 * layer));
      painter.drawPath(hills);
    }
    painter.end();
    image.save(
        QDir(folder).filePath(QStringLiteral("Sample_%1.jpg").arg(i + 1, 3, 10, QLatin1Char('0'))),
        "JPG", 88);
  }
}

// Waits until the viewer's page is drawn with every picture.
void WaitForThumbnails(trawlix::ui::PhotoViewer& viewer) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < 20000) {
    viewer.repaint();
    QApplication::processEvents();
    if (viewer.PageReady() && !viewer.cache().busy()) return;
  }
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

// The export dialogs filled in as a user would, a file exported from them, and the import
// dialog on that file with its information and the results of importing it.
bool SaveExchangeDialogs(trawlix::DataSession& session, trawlix::MessageSink& sink,
                         const trawlix::ProjectsRecord& project, const QString& home,
                         const QString& out) {
  trawlix::SettingsValues& values = session.settings().Values();
  values.exporterName = "Ann Lee";
  values.exporterEmail = "ann@example.com";
  values.exporterWebsite = "https://ann.example/";
  values.exportIncludeInfo = true;
  const QString logo = home + QStringLiteral("/logo.jpg");
  MakeSamplePhotos(home + QStringLiteral("/logo"), 1);
  QFile::copy(home + QStringLiteral("/logo/Sample_001.jpg"), logo);
  const QString target = home + QStringLiteral("/Coast and Stars.txexport");
  const QString description =
      QStringLiteral("Two galleries I scan every week: new photos most Mondays.");
  const auto fill = [&](trawlix::ui::ExportDialogDetails& details, const QString& shown) {
    details.setPath(shown);
    details.ChoosePhoto(logo);
    details.descriptionEdit()->setPlainText(description);
  };
  const QString documents = QStringLiteral("/home/ann/Documents/");
  bool ok = true;
  {
    trawlix::ui::ExportProjectDialog one(session, project, sink);
    fill(*one.details(),
         documents + QString::fromStdString(project.title) + QStringLiteral(".txexport"));
    ok = Save(one, out, QStringLiteral("export-project.png")) && ok;
    one.hide();
  }
  {
    trawlix::ui::ExportProjectsDialog several(session, sink, trawlix::kAllCategoriesId, project.id);
    fill(*several.details(), documents + QStringLiteral("Sample Projects.txexport"));
    several.list()->SelectAll();
    ok = Save(several, out, QStringLiteral("export-projects.png")) && ok;
    several.details()->setPath(target);
    several.Export();
  }
  // The receiving side lacks one of the projects and the links of another.
  const auto byTitle = [&session](const char* title) {
    const auto found = trawlix::LoadProjectsByTitle(session, title);
    return found && !found->empty() ? found->front().id : -1;
  };
  trawlix::DeleteProject(session, byTitle("NASA Image of the Day"));
  trawlix::ProjectLinksTable links(session.databasePath(), sink);
  if (links.OpenTable()) links.DeleteProjectLinks(byTitle("Livia Brandt"));

  const trawlix::exchange::ExchangeReadResult read =
      trawlix::exchange::ReadExchangeFile(target.toStdString());
  if (!read.ok) {
    std::fprintf(stderr, "%s\n", read.error.c_str());
    return false;
  }
  trawlix::ui::ImportDialog import(session, target.toStdString(), read.file, sink);
  ok = Save(import, out, QStringLiteral("import.png")) && ok;
  trawlix::ui::ImportInformationDialog information(target.toStdString(), read.file);
  ok = Save(information, out, QStringLiteral("import-information.png")) && ok;
  information.hide();
  import.intoCategory()->setChecked(true);
  import.categoryBox()->setCurrentText(QStringLiteral("Models"));
  import.mergeDuplicates()->setChecked(true);
  import.Import();
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < 1000) QApplication::processEvents();  // the results of the last
  if (import.results() == nullptr) return false;
  ok = Save(*import.results(), out, QStringLiteral("import-results.png")) && ok;
  import.results()->close();
  import.hide();
  return ok;
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
    auto* list = window.findChild<QListWidget*>(QStringLiteral("projectList"));
    list->setCurrentRow(1);
    // The selected sample project has harvested a few photos.
    MakeSamplePhotos(QString::fromStdString(window.currentProject()->saveTo), 14);
    AddSampleScans(*session, sink, window.currentProjectId(), window.currentProject()->url);
    list->setCurrentRow(0);
    list->setCurrentRow(1);
    trawlix::ui::PhotoViewer& viewer = window.viewerPage().viewer();
    window.show();
    Settle();
    WaitForThumbnails(viewer);
    ok = Save(window, out, QStringLiteral("main-window.png")) && ok;

    // Twelve photos a page, one selected, another under the pointer.
    for (QAction* action :
         window.findChild<QToolButton*>(QStringLiteral("viewButton"))->menu()->actions()) {
      if (action->text() == QStringLiteral("12 Photos")) action->trigger();
    }
    Settle();
    viewer.SelectIndex(5);
    const QPointF hover = viewer.CellRect(2).center();
    QMouseEvent move(QEvent::MouseMove, hover, viewer.mapToGlobal(hover), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&viewer, &move);
    WaitForThumbnails(viewer);
    ok = Save(window, out, QStringLiteral("main-window-viewer.png")) && ok;
    viewer.SetViewIndex(3);
    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("pages"));
    tabs->setCurrentIndex(1);
    ok = Save(window, out, QStringLiteral("main-window-links.png")) && ok;
    tabs->setCurrentIndex(2);
    ok = Save(window, out, QStringLiteral("main-window-history.png")) && ok;

    const trawlix::ProjectsRecord project = *window.currentProject();
    trawlix::ui::ProjectSheet sheet(
        *session, sink, project,
        QStringLiteral("Edit Project - [%1]").arg(QString::fromStdString(project.title)));
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
    options.tabs()->setCurrentIndex(1);
    ok = Save(options, out, QStringLiteral("options-scanning.png")) && ok;
    trawlix::ui::CategoriesDialog categories(*session, sink);
    ok = Save(categories, out, QStringLiteral("categories.png")) && ok;
    categories.hide();

    const std::pair<trawlix::ui::PhotoTool, const char*> tools[] = {
        {trawlix::ui::PhotoTool::Thumbnails, "tool-thumbnails.png"},
        {trawlix::ui::PhotoTool::Resize, "tool-resize-convert.png"},
        {trawlix::ui::PhotoTool::Rename, "tool-rename.png"},
        {trawlix::ui::PhotoTool::Grayscale, "tool-grayscale.png"},
        {trawlix::ui::PhotoTool::DeletePhotos, "tool-delete-photos.png"}};
    for (const auto& [tool, file] : tools) {
      const auto dialog = trawlix::ui::MakePhotoToolDialog(tool, *session, project, sink, nullptr);
      ok = Save(*dialog, out, QString::fromLatin1(file)) && ok;
      dialog->hide();
    }

    ok = SaveExchangeDialogs(*session, sink, project, home.path(), out) && ok;
    window.hide();
  }
  return ok ? 0 : 1;
}
