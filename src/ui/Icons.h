#pragma once

#include <QIcon>

namespace trawlix::ui {

// Every picture the program's buttons, tabs and windows show. The desktop theme's icon is
// used where the theme has one; otherwise the one shipped with the program.
enum class IconName {
  Application,
  NewProject,
  EditProject,
  DeleteProject,
  Categories,
  Options,
  About,
  Help,
  Exit,
  Find,
  Paste,
  Start,
  Pause,
  Stop,
  OpenFolder,
  VisitURL,
  Follow,
  ThumbnailView,
  FirstPage,
  PreviousPage,
  NextPage,
  LastPage,
  RenamePhotos,
  DeletePhotos,
  Thumbnails,
  ResizeConvert,
  ImportExport,
  SelectAll,
  DeleteSelected,
  Rescan,
  Browse,
  TabViewer,
  TabLinks,
  TabHistory,
};

QIcon Icon(IconName name);

}  // namespace trawlix::ui
