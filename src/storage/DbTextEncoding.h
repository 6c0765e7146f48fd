#pragma once

#include <string>
#include <string_view>

namespace trawlix {

// Texts are stored with numeric character references for & ' . / ( ) , : - so that no
// quote ever reaches an SQL statement.
std::string EncodeDbText(std::string_view text);
// The exact inverse of EncodeDbText. Rows written by older versions carry "&#38#39" for an
// apostrophe (the ampersand step ran last); a second decoding turns those into the
// entered text, which is why loaded records are decoded twice.
std::string DecodeDbText(std::string_view text);
// A value compared in a WHERE clause: trimmed of blanks at both ends, then encoded.
std::string EncodeLookupText(std::string_view text);

}  // namespace trawlix
