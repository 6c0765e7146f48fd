#include <set>
#include <string>

#include "ui/window/MainWindowState.h"

namespace trawlix::ui {
namespace {

std::set<std::string> EnabledNames(const MainWindowEnabled& e) {
  const std::pair<const char*, bool> all[] = {
      {"find", e.find},
      {"start", e.start},
      {"pause", e.pause},
      {"stop", e.stop},
      {"saveTo", e.saveTo},
      {"paste", e.paste},
      {"urlBox", e.urlBox},
      {"visitURL", e.visitURL},
      {"newProject", e.newProject},
      {"editProject", e.editProject},
      {"deleteProject", e.deleteProject},
      {"categories", e.categories},
      {"filter", e.filter},
      {"projectList", e.projectList},
      {"importExport", e.importExport},
      {"options", e.options},
      {"selectHistory", e.selectHistory},
      {"deleteHistory", e.deleteHistory},
      {"selectLinks", e.selectLinks},
      {"deleteLinks", e.deleteLinks},
      {"rescan", e.rescan},
      {"photoTools", e.photoTools},
  };
  std::set<std::string> names;
  for (const auto& [name, on] : all) {
    if (on) names.insert(name);
  }
  return names;
}

MainWindowFacts Idle() {
  MainWindowFacts facts;
  facts.hasProject = true;
  facts.urlBoxEmpty = false;
  return facts;
}

MainWindowFacts Scanning(bool paused) {
  MainWindowFacts facts = Idle();
  facts.scanning = true;
  facts.paused = paused;
  // Rows, checks and photos must not enable anything while a scan runs.
  facts.viewerHasPhotos = true;
  facts.historyRows = facts.linkRows = 3;
  facts.checkedHistoryRows = facts.checkedLinkRows = 1;
  return facts;
}

TEST(MainWindowStateTest, EnabledControlsFollowTheWindowsState) {
  const std::set<std::string> idleBase = {
      "find",     "start",       "saveTo",       "paste",         "urlBox",
      "visitURL", "newProject",  "editProject",  "deleteProject", "categories",
      "filter",   "projectList", "importExport", "options"};
  const auto with = [](std::set<std::string> names, std::initializer_list<const char*> more) {
    names.insert(more.begin(), more.end());
    return names;
  };
  const auto without = [](std::set<std::string> names, std::initializer_list<const char*> less) {
    for (const char* name : less) names.erase(name);
    return names;
  };

  struct Case {
    const char* name;
    MainWindowFacts facts;
    std::set<std::string> enabled;
  };
  MainWindowFacts noProject;
  MainWindowFacts emptyURL = Idle();
  emptyURL.urlBoxEmpty = true;
  MainWindowFacts rows = Idle();
  rows.historyRows = 2;
  rows.linkRows = 4;
  MainWindowFacts checked = rows;
  checked.checkedHistoryRows = 1;
  checked.viewerHasPhotos = true;
  MainWindowFacts checkedLinks = rows;
  checkedLinks.checkedLinkRows = 2;

  const Case cases[] = {
      {"no project",
       noProject,
       {"newProject", "categories", "filter", "projectList", "importExport", "options"}},
      {"idle", Idle(), idleBase},
      {"idle, empty URL box", emptyURL, without(idleBase, {"visitURL"})},
      {"idle with rows", rows, with(idleBase, {"selectHistory", "selectLinks"})},
      {"history checked, photos", checked,
       with(idleBase, {"selectHistory", "selectLinks", "deleteHistory", "photoTools"})},
      {"links checked", checkedLinks,
       with(idleBase, {"selectHistory", "selectLinks", "deleteLinks", "rescan"})},
      {"scanning", Scanning(false), {"pause", "stop", "saveTo", "urlBox", "visitURL", "options"}},
      {"paused", Scanning(true), {"pause", "saveTo", "urlBox", "visitURL", "options"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EnabledNames(EnabledControls(c.facts)), c.enabled) << c.name;
  }
}

}  // namespace
}  // namespace trawlix::ui
