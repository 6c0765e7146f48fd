#include "ui/window/MainWindowState.h"

namespace trawlix::ui {

MainWindowEnabled EnabledControls(const MainWindowFacts& facts) {
  MainWindowEnabled e;
  e.options = true;
  // The URL box and "Visit URL" follow the selection even while a scan runs, so the address
  // being scanned can still be copied and visited.
  e.urlBox = facts.hasProject;
  e.visitURL = facts.hasProject && !facts.urlBoxEmpty;

  if (facts.scanning) {
    e.pause = true;
    e.stop = !facts.paused;
    e.saveTo = true;
    return e;  // everything that changes projects or lists waits for the scan's end
  }

  // Commands that change the project list or the categories need no selected project.
  e.newProject = true;
  e.categories = true;
  e.filter = true;
  e.projectList = true;
  e.importExport = true;
  if (!facts.hasProject) return e;

  e.find = true;
  e.start = true;
  e.saveTo = true;
  e.paste = true;
  e.editProject = true;
  e.deleteProject = true;
  e.photoTools = facts.viewerHasPhotos;
  e.selectHistory = facts.historyRows > 0;
  e.deleteHistory = facts.checkedHistoryRows > 0;
  e.selectLinks = facts.linkRows > 0;
  e.deleteLinks = facts.checkedLinkRows > 0;
  e.rescan = facts.checkedLinkRows > 0;
  return e;
}

}  // namespace trawlix::ui
