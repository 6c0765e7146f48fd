#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace trawlix {

// Texts are byte strings; "case-insensitive" means ASCII lower-casing of both sides.

char ToLowerAscii(char c);
std::string ToLowerAscii(std::string_view text);
std::string ToUpperAscii(std::string_view text);

bool EqualsNoCase(std::string_view a, std::string_view b);
bool ContainsNoCase(std::string_view haystack, std::string_view needle);
// Position of the first case-insensitive occurrence, or std::string::npos.
std::size_t FindNoCase(std::string_view haystack, std::string_view needle, std::size_t from = 0);

// Replaces every non-overlapping occurrence in one left-to-right pass; returns the count.
int ReplaceAll(std::string& text, std::string_view from, std::string_view to);
std::string ReplacedAll(std::string_view text, std::string_view from, std::string_view to);
// Removes every occurrence of one character; returns the count.
int RemoveAll(std::string& text, char c);

// Blanks are space, tab, CR, LF, vertical tab and form feed.
bool IsBlank(char c);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);
std::string Trim(std::string_view text);

// Appends the code point (at most 0x10FFFF) in UTF-8.
void AppendUtf8(std::string& out, std::uint32_t code);

// printf-style formatting into a std::string, for the system's "%d"/"%s" message texts.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace trawlix
