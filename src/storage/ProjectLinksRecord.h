#pragma once

#include <string>

namespace trawlix {

// One row of the ProjectLinks table: a further start address of a project.
struct ProjectLinksRecord {
  int id = -1;
  int projectId = -1;
  std::string date;  // "%m/%d/%Y"
  bool searchSubFolders = false;
  std::string title;
  std::string url;
  bool keywordMustExist = false;
  std::string keywords;
  std::string guid;
  int photos = -1;

  bool operator==(const ProjectLinksRecord&) const = default;
};

inline void ClearRecord(ProjectLinksRecord& record) {
  record = ProjectLinksRecord{};
}

}  // namespace trawlix
