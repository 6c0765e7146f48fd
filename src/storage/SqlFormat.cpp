#include "storage/SqlFormat.h"

#include <cstdio>
#include <stdexcept>

namespace trawlix {

namespace {

[[noreturn]] void BadArguments() {
  throw std::logic_error("SQL format and arguments do not match");
}

void AppendArg(std::string& out, char conversion, const SqlArg& arg) {
  if (conversion == 'd' && std::holds_alternative<int>(arg)) {
    out += std::to_string(std::get<int>(arg));
  } else if (conversion == 'd' && std::holds_alternative<std::int64_t>(arg)) {
    out += std::to_string(std::get<std::int64_t>(arg));
  } else if (conversion == 's' && std::holds_alternative<std::string_view>(arg)) {
    out += std::get<std::string_view>(arg);
  } else if (conversion == 'f' && std::holds_alternative<double>(arg)) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%f", std::get<double>(arg));
    out += buffer;
  } else {
    BadArguments();
  }
}

}  // namespace

std::string FormatSql(std::string_view format, const SqlArg* args, std::size_t count) {
  std::string out;
  out.reserve(format.size() + 64);
  std::size_t next = 0;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      out += format[i];
      continue;
    }
    if (++i == format.size()) BadArguments();
    if (format[i] == '%') {
      out += '%';
      continue;
    }
    if (next == count) BadArguments();
    AppendArg(out, format[i], args[next++]);
  }
  if (next != count) BadArguments();
  return out;
}

std::string FormatSql(std::string_view format, std::initializer_list<SqlArg> args) {
  return FormatSql(format, args.begin(), args.size());
}

}  // namespace trawlix
