#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "storage/ProjectLinksRecord.h"
#include "storage/RecordTable.h"

namespace trawlix {

// Columns of the links list, in the order the list shows them.
enum class LinkSortColumn { Id = 0, Date = 1, URL = 2, Photos = 3 };

// The order of the links list, and so of a multi-link scan.
struct LinkOrder {
  LinkSortColumn column = LinkSortColumn::Id;
  bool ascending = true;
};

// The ProjectLinks table: further start addresses of a project.
class ProjectLinksTable : public RecordTable<ProjectLinksRecord> {
 public:
  static constexpr std::string_view kTableName = "ProjectLinks";
  static const std::string_view kCreateStatement;

  ProjectLinksTable(std::string databasePath, MessageSink& messages);

  bool OpenTable();
  bool LoadProjectLinks(const std::string& sql);

  bool LoadLinkById(int id);
  bool LoadLinkOfProject(int id, int projectId);
  // Ordered by Id.
  bool LoadLinksOfProject(int projectId);
  bool LoadLinksSorted(int projectId, LinkSortColumn column, bool ascending);
  bool LoadLinkByURL(int projectId, std::string_view url);
  bool LoadLinksByIds(std::span<const int> ids, std::optional<LinkOrder> order = std::nullopt);
  // 0 on failure.
  int CountLinks(int projectId);

  bool InsertProjectLink(const ProjectLinksRecord& record);
  bool UpdateProjectLink(const ProjectLinksRecord& record);
  bool DeleteProjectLink(int id);
  bool DeleteProjectLinks(int projectId);
  // Deletes those of `ids` that belong to the project, in one transaction; the number
  // deleted.
  int DeleteSelection(int projectId, std::span<const int> ids);
  // Loads the link; when it exists, stores the project id and the photo count in it.
  bool SetLinkPhotos(int linkId, int projectId, int photos);
};

// Opens the links table for this one insert.
bool AddProjectLink(const std::string& databasePath, MessageSink& messages,
                    const ProjectLinksRecord& link);

}  // namespace trawlix
