#include "cli/Lookup.h"

#include <algorithm>

#include "base/Text.h"
#include "cli/CliContext.h"
#include "operations/ProjectOperations.h"
#include "storage/RecordColumns.h"

namespace trawlix::cli {

namespace {

const char* kDatabaseFailure = "the database could not be read";

}  // namespace

std::optional<int> ParseNumber(std::string_view text) {
  int value = 0;
  if (!ParseWholeInt(text, value)) return std::nullopt;
  return value;
}

std::optional<int> ParseId(std::string_view text) {
  if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
  return ParseNumber(text);
}

std::optional<ProjectsRecord> FindProject(CliContext& context, const std::string& idOrTitle) {
  if (const auto id = ParseId(idOrTitle)) {
    if (auto project = LoadProject(context.session(), *id)) return project;
  }
  const auto found = LoadProjectsByTitle(context.session(), idOrTitle);
  if (!found) {
    context.Fail(kDatabaseFailure);
    return std::nullopt;
  }
  const auto& matches = *found;
  if (matches.empty() || Trim(idOrTitle).empty()) {
    context.Fail("no project has the id or title " + Quoted(idOrTitle) +
                 " (see: trawlix-cli projects)");
    return std::nullopt;
  }
  if (matches.size() > 1) {
    std::string ids;
    for (const auto& match : matches) ids += (ids.empty() ? "" : ", ") + std::to_string(match.id);
    context.Fail("several projects are titled " + Quoted(idOrTitle) + " (ids " + ids +
                 "): name the project by its id");
    return std::nullopt;
  }
  return matches.front();
}

std::optional<std::vector<CategoriesRecord>> AllCategories(CliContext& context) {
  auto categories = LoadCategories(context.session());
  if (!categories) context.Fail(kDatabaseFailure);
  return categories;
}

std::optional<CategoriesRecord> FindCategory(CliContext& context, const std::string& nameOrId) {
  const auto categories = AllCategories(context);
  if (!categories) return std::nullopt;
  const std::string name = Trim(nameOrId);
  const auto find = [&](auto matches) -> const CategoriesRecord* {
    const auto it = std::find_if(categories->begin(), categories->end(), matches);
    return it == categories->end() ? nullptr : &*it;
  };
  const CategoriesRecord* found = find([&](const CategoriesRecord& c) { return c.name == name; });
  if (found == nullptr) {
    found = find([&](const CategoriesRecord& c) { return EqualsNoCase(c.name, name); });
  }
  const auto id = ParseId(name);
  if (found == nullptr && id) {
    found = find([&](const CategoriesRecord& c) { return c.id == *id; });
  }
  if (found == nullptr) {
    context.Fail("no category is named " + Quoted(nameOrId) + " (see: trawlix-cli categories)");
    return std::nullopt;
  }
  return *found;
}

}  // namespace trawlix::cli
