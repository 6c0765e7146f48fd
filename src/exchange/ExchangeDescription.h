#pragma once

#include <string>
#include <vector>

#include "exchange/ExchangeRecords.h"

namespace trawlix::exchange {

// The XML description member: the same content as the binary project file, for people
// and other tools (this program never reads it back, other installations may). `photoName` names
// the sample photo member; empty when there is none.
std::string WriteExchangeDescription(const ExchangeHeader& header,
                                     const std::vector<ImportedProject>& projects,
                                     const std::string& photoName);

}  // namespace trawlix::exchange
