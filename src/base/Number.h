#pragma once

#include <cstdint>
#include <string>

namespace trawlix {

// 1234567 -> "1,234,567"; the minus sign is not counted as a digit.
std::string FormatThousands(std::int64_t value);

// The shell's short byte-size text: "532 bytes", "1.50 KB", "12.3 MB", "1.23 GB".
// Three significant digits, truncated (never rounded up); negative sizes read as 0.
std::string ByteSizeText(std::int64_t bytes);

// ByteSizeText without blanks, as messages show it: "532bytes", "1.23MB".
std::string FormatByteSize(std::int64_t bytes);

}  // namespace trawlix
