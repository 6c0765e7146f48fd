#pragma once

#include <string>

namespace trawlix {

// Fills `text` with a new upper-case UUID in the 8-4-4-4-12 form, 36 characters without
// braces. When the system generator fails, `text` is left unchanged and false returned.
bool NewGUIDString(std::string& text);

}  // namespace trawlix
