#include "base/Guid.h"

#include <uuid/uuid.h>

namespace trawlix {

bool NewGUIDString(std::string& text) {
  uuid_t id;
  // The random generator fails only when the system has no good random source; the
  // time-based fallback of uuid_generate would still give a unique value, so use it.
  uuid_generate(id);
  if (uuid_is_null(id)) return false;
  char buffer[37];
  uuid_unparse_upper(id, buffer);
  text.assign(buffer, 36);
  return true;
}

}  // namespace trawlix
