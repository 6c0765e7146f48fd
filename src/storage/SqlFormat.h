#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace trawlix {

using SqlArg = std::variant<int, std::int64_t, double, std::string_view>;

// printf-style formatting of an SQL statement without varargs: "%d" takes an int or a 64-bit
// integer, "%f" a double, "%s" a text, "%%" gives "%". A missing, surplus or mismatched argument is
// a programming error and raises std::logic_error.
std::string FormatSql(std::string_view format, std::initializer_list<SqlArg> args);
std::string FormatSql(std::string_view format, const SqlArg* args, std::size_t count);

}  // namespace trawlix
