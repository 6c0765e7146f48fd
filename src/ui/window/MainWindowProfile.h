#pragma once

namespace trawlix::ui {

// Where the user left the window, kept per user beside the profile: the settings file has
// no room for the maximized state or the last category and project.
namespace main_window_profile {

bool Maximized();
void SetMaximized(bool maximized);

// -1 when none was stored.
int LastCategoryId();
int LastProjectId();
void SetLastSelection(int categoryId, int projectId);

}  // namespace main_window_profile

}  // namespace trawlix::ui
