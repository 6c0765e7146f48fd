#pragma once

#include <string>
#include <string_view>

namespace trawlix {

// Texts are stored with numeric character references for & ' . / ( ) , : - so that no
// quote ever reaches an SQL statement.
std::string EncodeDbText(std::string_view text);
// The exact inverse of EncodeDbText, applied once per loaded text. Applying it twice would
// turn a typed "&#47&#46&#46" into "/.." (a title becomes a folder outside the user's), so
// rows that older versions wrote with the ampersand step last ("&#38#39") read back with
// their references visible.
std::string DecodeDbText(std::string_view text);
// A value compared in a WHERE clause: trimmed of blanks at both ends, then encoded.
std::string EncodeLookupText(std::string_view text);

}  // namespace trawlix
