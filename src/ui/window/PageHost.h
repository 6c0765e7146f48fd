#pragma once

#include "storage/ProjectsRecord.h"

namespace trawlix::ui {

// What the main window's pages ask of the window that holds them: the project they show and
// whether a scan runs. The pages keep no copy, so they never disagree with the window.
class PageHost {
 public:
  virtual const ProjectsRecord* shownProject() const = 0;  // null without a selected project
  virtual bool scanning() const = 0;
  virtual bool scanPaused() const = 0;

 protected:
  ~PageHost() = default;
};

}  // namespace trawlix::ui
