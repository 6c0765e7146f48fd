#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "exchange/ExchangeRecords.h"

namespace trawlix::exchange {

// The binary project file: one header record, then each project record followed by its
// link records. Fixed-size little-endian records; texts are zero-padded and a text that
// fills its field has no terminating zero.
struct ProjectFileContent {
  ExchangeHeader header;
  std::vector<ImportedProject> projects;
};

struct ProjectFileReadResult {
  bool ok = false;
  std::string error;           // "The file is damaged: ..." when !ok
  ProjectFileContent content;  // empty when !ok
};

// Cuts the texts to what their fields hold, as a reader of the file will see them.
void FitToFields(ExchangeHeader& header);
void FitToFields(ImportedProject& project);

// The project count and each project's link count are taken from the vectors, so the file
// always agrees with itself. Texts longer than their fields are cut at a character boundary.
std::string WriteProjectFile(const ExchangeHeader& header,
                             const std::vector<ImportedProject>& projects);

// Counts are checked against the bytes actually present before anything is allocated.
ProjectFileReadResult ReadProjectFile(std::string_view bytes);

}  // namespace trawlix::exchange
