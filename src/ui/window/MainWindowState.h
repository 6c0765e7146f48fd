#pragma once

namespace trawlix::ui {

// What the main window knows when it recomputes which controls can be used.
struct MainWindowFacts {
  bool hasProject = false;  // a project is selected in the list
  bool scanning = false;
  bool paused = false;
  bool urlBoxEmpty = true;
  bool viewerHasPhotos = false;  // the project's folder holds at least one photo
  int historyRows = 0;
  int checkedHistoryRows = 0;
  int linkRows = 0;
  int checkedLinkRows = 0;
};

// The enabled flag of every control whose state depends on those facts.
struct MainWindowEnabled {
  bool find = false;
  bool start = false;
  bool pause = false;
  bool stop = false;
  bool saveTo = false;
  bool paste = false;
  bool urlBox = false;
  bool visitURL = false;
  bool newProject = false;
  bool editProject = false;
  bool deleteProject = false;
  bool categories = false;
  bool filter = false;
  bool projectList = false;
  bool importExport = false;
  bool options = false;
  bool selectHistory = false;
  bool deleteHistory = false;
  bool selectLinks = false;
  bool deleteLinks = false;
  bool rescan = false;
  bool photoTools = false;  // rename, delete photos, thumbnails, resize/convert

  bool operator==(const MainWindowEnabled&) const = default;
};

MainWindowEnabled EnabledControls(const MainWindowFacts& facts);

}  // namespace trawlix::ui
