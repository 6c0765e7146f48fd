#pragma once

#include <string>

namespace trawlix {

// Decodes every pixel of the photo and says whether that worked: a body cut short by a
// broken connection passes a header check but fails here. Slower than reading the size;
// for a photo about to replace another.
bool DecodesWhole(const std::string& path);

}  // namespace trawlix
