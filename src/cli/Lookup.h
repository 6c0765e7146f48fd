#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/CategoriesRecord.h"
#include "storage/ProjectsRecord.h"

namespace trawlix::cli {

class CliContext;

// A project named on the command line by its id or its title. A number is taken as an id
// first, then as a title. Reports an unknown or ambiguous name and returns nothing.
std::optional<ProjectsRecord> FindProject(CliContext& context, const std::string& idOrTitle);

// A category by name (any letter case when no exact match) or id; reports an unknown one.
std::optional<CategoriesRecord> FindCategory(CliContext& context, const std::string& nameOrId);

// Every category, A to Z; nothing after reporting a database failure.
std::optional<std::vector<CategoriesRecord>> AllCategories(CliContext& context);

// A name as messages show it: 'Sea Birds'.
inline std::string Quoted(const std::string& text) {
  return "'" + text + "'";
}

// A whole decimal number ("12", "-3", "+4"), or nothing: blanks around it too.
std::optional<int> ParseNumber(std::string_view text);

// A number of digits alone ("12"), as ids are written, or nothing.
std::optional<int> ParseId(std::string_view text);

}  // namespace trawlix::cli
