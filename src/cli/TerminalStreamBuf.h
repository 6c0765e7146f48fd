#pragma once

#include <ostream>
#include <streambuf>
#include <string>

#include "cli/TerminalTextFilter.h"

namespace trawlix::cli {

// An unbuffered stream buffer that passes what is written through a TerminalTextFilter to
// another stream. Being unbuffered keeps its output in order with direct writes to the
// same stream.
class TerminalStreamBuf : public std::streambuf {
 public:
  explicit TerminalStreamBuf(std::ostream& target) : target_(target) {}

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* text, std::streamsize count) override;
  int sync() override;

 private:
  std::ostream& target_;
  TerminalTextFilter filter_;
  std::string kept_;
};

}  // namespace trawlix::cli
