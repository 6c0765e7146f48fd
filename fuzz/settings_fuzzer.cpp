// Any bytes as a settings file: decoding must neither crash nor allocate without bound, and
// whatever it accepts must encode and decode again to the same values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  trawlix::SettingsValues values;
  if (!trawlix::DecodeSettings({reinterpret_cast<const char*>(data), size}, values)) return 0;
  const std::string encoded = trawlix::EncodeSettings(values);
  trawlix::SettingsValues again;
  if (!trawlix::DecodeSettings(encoded, again)) std::abort();
  if (trawlix::EncodeSettings(again) != encoded) std::abort();
  return 0;
}
