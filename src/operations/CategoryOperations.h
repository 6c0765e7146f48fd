#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "base/MessageBox.h"
#include "operations/DataSession.h"

namespace trawlix {

struct CategoryChange {
  std::optional<MessageRequest> refusal;  // the name cannot be used: show this
  bool failed = false;                    // the database failed (already reported)
  int id = -1;                            // the category's id when changed
  bool Done() const { return !refusal && !failed; }
};

// "Imported Projects" (any case, trimmed) can be neither renamed nor deleted.
bool IsLockedCategory(std::string_view name);

// A new category; the name is trimmed and must be new and not "all".
CategoryChange AddCategory(DataSession& session, std::string_view name);
// Renames a category under the same rules; a locked category is refused.
CategoryChange RenameCategory(DataSession& session, int categoryId, std::string_view name);

struct CategoryRemoval {
  bool done = false;
  int homeId = -1;  // where their projects went
  std::size_t movedProjects = 0;
};
// Deletes the categories and moves their projects, in one transaction, to the settings'
// category for new projects (else the one for imported projects), created when missing, so
// no project is left without a category. Locked categories are skipped.
CategoryRemoval DeleteCategories(DataSession& session, const std::vector<int>& categoryIds);

}  // namespace trawlix
