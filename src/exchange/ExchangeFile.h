#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/ExchangeRecords.h"

namespace trawlix::exchange {

// Member names inside the archive, in their order.
inline constexpr const char* kProjectMemberName = "__tempExport.txExport";
inline constexpr const char* kDescriptionMemberName = "__tempExport.xml";
inline constexpr const char* kPhotoMemberName = "__tempExport.jpg";

// Everything an exchange file holds that the program uses.
struct ExchangeFile {
  ExchangeHeader header;
  std::vector<ImportedProject> projects;
  std::string photo;  // JPEG bytes of the sample photo; empty when the file has none
};

struct ExchangeReadResult {
  bool ok = false;
  std::string error;  // shown to the user when !ok
  ExchangeFile file;  // empty when !ok, so nothing can be imported from it
};

// Writes the archive with the binary project file, the XML description and, when
// `photo` is not empty, the sample photo. Texts are cut to their fields first.
bool WriteExchangeFile(const std::filesystem::path& path, ExchangeHeader header,
                       std::vector<ImportedProject> projects, const std::string& photo,
                       std::string& error);

ExchangeReadResult ReadExchangeFile(const std::filesystem::path& path);
ExchangeReadResult ReadExchangeBytes(std::string_view archiveBytes);

}  // namespace trawlix::exchange
