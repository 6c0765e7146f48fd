#include "ui/Icons.h"

#include <QFile>
#include <QString>

// The icons are compiled into this static library; naming the resource here keeps the linker
// from dropping it.
static void InitIconResources() {
  Q_INIT_RESOURCE(icons);
}

namespace trawlix::ui {

namespace {

struct IconNames {
  const char* theme;  // the freedesktop name, where the naming standard has one
  const char* file;   // the picture shipped with the program
};

IconNames NamesOf(IconName name) {
  switch (name) {
    case IconName::Application:
      return {"", "application"};
    case IconName::NewProject:
      return {"document-new", "new-project"};
    case IconName::EditProject:
      return {"document-properties", "edit-project"};
    case IconName::DeleteProject:
      return {"edit-delete", "delete-project"};
    case IconName::Categories:
      return {"", "categories"};
    case IconName::Options:
      return {"preferences-system", "options"};
    case IconName::About:
      return {"help-about", "about"};
    case IconName::Help:
      return {"help-contents", "help"};
    case IconName::Exit:
      return {"application-exit", "exit"};
    case IconName::Find:
      return {"edit-find", "find"};
    case IconName::Paste:
      return {"edit-paste", "paste"};
    case IconName::Start:
      return {"media-playback-start", "start"};
    case IconName::Pause:
      return {"media-playback-pause", "pause"};
    case IconName::Stop:
      return {"media-playback-stop", "stop"};
    case IconName::OpenFolder:
      return {"folder-open", "open-folder"};
    case IconName::VisitURL:
      return {"internet-web-browser", "visit-url"};
    case IconName::Follow:
      return {"", "follow"};
    case IconName::ThumbnailView:
      return {"", "thumbnail-view"};
    case IconName::FirstPage:
      return {"go-first", "first-page"};
    case IconName::PreviousPage:
      return {"go-previous", "previous-page"};
    case IconName::NextPage:
      return {"go-next", "next-page"};
    case IconName::LastPage:
      return {"go-last", "last-page"};
    case IconName::RenamePhotos:
      return {"", "rename-photos"};
    case IconName::DeletePhotos:
      return {"", "delete-photos"};
    case IconName::Thumbnails:
      return {"", "thumbnails"};
    case IconName::ResizeConvert:
      return {"", "resize-convert"};
    case IconName::ImportExport:
      return {"", "import-export"};
    case IconName::SelectAll:
      return {"edit-select-all", "select-all"};
    case IconName::DeleteSelected:
      return {"", "delete-selected"};
    case IconName::Rescan:
      return {"view-refresh", "rescan"};
    case IconName::Browse:
      return {"folder", "browse"};
    case IconName::TabViewer:
      return {"image-x-generic", "tab-viewer"};
    case IconName::TabLinks:
      return {"", "tab-links"};
    case IconName::TabHistory:
      return {"document-open-recent", "tab-history"};
  }
  return {"", "application"};
}

}  // namespace

QIcon Icon(IconName name) {
  static const bool resourcesReady = (InitIconResources(), true);
  (void)resourcesReady;
  const IconNames names = NamesOf(name);
  QIcon shipped(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(names.file)));
  if (*names.theme == '\0') return shipped;
  return QIcon::fromTheme(QLatin1String(names.theme), shipped);
}

}  // namespace trawlix::ui
