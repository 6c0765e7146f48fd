#pragma once

#include <string>
#include <string_view>

namespace trawlix {

// Texts are stored with numeric character references for & ' . / ( ) , : - so that no
// quote ever reaches an SQL statement.
std::string EncodeDbText(std::string_view text);
// The inverse of EncodeDbText, applied once per loaded text, that also reads the rows older
// versions wrote with the ampersand step last ("Ann&#38#39s" is "Ann's"). Those bytes are the
// same as a typed "Ann&#39s" stored today; the older rows win, so a reference typed for one of
// the eight reserved characters reads back as that character. A title may therefore come
// back holding "/" or "..": every path made from a title goes through SafeFolderName.
std::string DecodeDbText(std::string_view text);
// A value compared in a WHERE clause: trimmed of blanks at both ends, then encoded.
std::string EncodeLookupText(std::string_view text);

}  // namespace trawlix
