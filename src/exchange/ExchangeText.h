#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace trawlix::exchange {

// Cuts text to at most maxBytes without splitting a UTF-8 character.
std::string CutToBytes(std::string_view text, std::size_t maxBytes);

// Text read from a file field. Files written on other installations may hold 8-bit
// Windows-1252 text; anything that is not valid UTF-8 is read as such. An incomplete
// character at the end of a full field (left by a byte-wise cut) is dropped.
std::string TextFromField(std::string_view field);

// The text as valid UTF-8: unchanged when it is, else read as Windows-1252 like a field.
std::string AsUtf8(std::string_view text);

}  // namespace trawlix::exchange
