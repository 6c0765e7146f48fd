// Exchange files come from other people: neither the archive nor the binary project
// member may crash the reader or make it allocate without bound. The first byte picks
// which of the two the rest of the input is.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "exchange/ExchangeFile.h"
#include "exchange/ProjectFile.h"

namespace {

using namespace trawlix::exchange;

// What was read once must survive writing and reading again unchanged.
void CheckStableRoundTrip(const ProjectFileContent& first) {
  const ProjectFileReadResult second =
      ReadProjectFile(WriteProjectFile(first.header, first.projects));
  if (!second.ok) std::abort();
  const ProjectFileReadResult third =
      ReadProjectFile(WriteProjectFile(second.content.header, second.content.projects));
  if (!third.ok || third.content.projects != second.content.projects) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  if (data[0] % 2 == 0) {
    const ExchangeReadResult read = ReadExchangeBytes(rest);
    if (read.ok) {
      CheckStableRoundTrip({read.file.header, read.file.projects});
    } else if (!read.file.projects.empty()) {
      std::abort();
    }
  } else {
    const ProjectFileReadResult read = ReadProjectFile(rest);
    if (read.ok) CheckStableRoundTrip(read.content);
  }
  return 0;
}
