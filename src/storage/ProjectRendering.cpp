#include "storage/ProjectRendering.h"

#include <array>
#include <utility>

#include "base/Text.h"
#include "storage/Database.h"
#include "storage/DatabaseError.h"
#include "storage/SqlFormat.h"

namespace trawlix {

namespace {

constexpr const char* kCreateTable =
    "create table if not exists ProjectRendering (ProjectId integer primary key, "
    "Mode integer not null);";

constexpr std::array<std::pair<RenderMode, std::string_view>, 3> kNames{{
    {RenderMode::Automatic, "auto"},
    {RenderMode::Always, "always"},
    {RenderMode::Never, "never"},
}};

template <typename Result, typename Call>
Result Quietly(const std::string& databasePath, Result failed, Call call) {
  try {
    Database database;
    database.Open(databasePath);
    database.ExecuteUpdate(kCreateTable);
    return call(database);
  } catch (const DatabaseError&) {
    return failed;
  }
}

}  // namespace

std::string_view RenderModeName(RenderMode mode) {
  for (const auto& [value, name] : kNames) {
    if (value == mode) return name;
  }
  return kNames[0].second;
}

std::optional<RenderMode> ParseRenderMode(std::string_view name) {
  for (const auto& [value, text] : kNames) {
    if (EqualsNoCase(name, text)) return value;
  }
  return std::nullopt;
}

RenderMode LoadRenderMode(const std::string& databasePath, int projectId) {
  return Quietly(databasePath, RenderMode::Automatic, [&](Database& database) {
    const int mode = database.ExecuteScalar(
        FormatSql("select coalesce((select Mode from ProjectRendering where ProjectId = %d), 0);",
                  {projectId}));
    // A value this version does not know (a damaged or newer file) renders automatically.
    for (const auto& [value, name] : kNames) {
      if (static_cast<int>(value) == mode) return value;
    }
    return RenderMode::Automatic;
  });
}

bool SaveRenderMode(const std::string& databasePath, int projectId, RenderMode mode) {
  return Quietly(databasePath, false, [&](Database& database) {
    database.ExecuteUpdate(FormatSql("insert or replace into ProjectRendering values (%d, %d);",
                                     {projectId, static_cast<int>(mode)}));
    return true;
  });
}

bool ForgetRenderMode(const std::string& databasePath, int projectId) {
  return Quietly(databasePath, false, [&](Database& database) {
    database.ExecuteUpdate(
        FormatSql("delete from ProjectRendering where ProjectId = %d;", {projectId}));
    return true;
  });
}

}  // namespace trawlix
