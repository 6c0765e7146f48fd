#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace trawlix {

// Whether a project's pages are shown to a browser engine, so that photos their scripts add
// are found too. Automatic renders a page only when its markup has scripts and gives no photo
// the project wants.
enum class RenderMode : int { Automatic = 0, Always = 1, Never = 2 };

// "auto", "always", "never"; and back, without letter case.
std::string_view RenderModeName(RenderMode mode);
std::optional<RenderMode> ParseRenderMode(std::string_view name);

// The choice lives in a table of its own beside the projects (ProjectRendering); a project
// without a row renders automatically. Each call opens the database on its own; a failure
// reads as Automatic and writes false.
RenderMode LoadRenderMode(const std::string& databasePath, int projectId);
bool SaveRenderMode(const std::string& databasePath, int projectId, RenderMode mode);
bool ForgetRenderMode(const std::string& databasePath, int projectId);

}  // namespace trawlix
