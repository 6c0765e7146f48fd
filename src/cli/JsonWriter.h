#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace trawlix::cli {

using JsonScalar = std::variant<std::int64_t, std::string>;
// Keys keep their order: a row's columns as the table defines them.
using JsonObject = std::vector<std::pair<std::string, JsonScalar>>;

// Quotes text as a JSON string. Bytes that are not valid UTF-8 become U+FFFD, so the output is
// always valid JSON whatever a database holds.
std::string JsonQuote(std::string_view text);

// Writes one object, or an array of objects, followed by a line break.
void WriteJsonObject(std::ostream& out, const JsonObject& object);
void WriteJsonArray(std::ostream& out, const std::vector<JsonObject>& objects);

}  // namespace trawlix::cli
