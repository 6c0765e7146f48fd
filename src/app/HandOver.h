#pragma once

#include <string>
#include <vector>

namespace trawlix::app {

// A second start hands its command line to the running copy. Texts longer than this are not
// handed over at all: the running copy then only comes to the front.
inline constexpr std::size_t kMaxHandOverLength = 255;

// The text a second start sends: `commandLine` itself when it fits, else an empty text.
std::string HandOverText(const std::string& commandLine);

// The command line as one text: the arguments after the program, each in double quotes when it
// holds a space, joined by single spaces.
std::string JoinCommandLine(const std::vector<std::string>& arguments);

// What a second start started in `workingDir` hands over: its plain arguments (its own
// options mean nothing to the running copy), relative paths made absolute since the running
// copy has another working folder, joined as above and cut to nothing when too long.
std::string SecondStartText(const std::vector<std::string>& files, const std::string& workingDir);

// The export file named by a handed-over text, or an empty text when it names none. A text that
// starts with the program's quoted path ("...trawlix.exe\" file") counts from after it; double
// quotes are dropped. The path keeps its letter case: file names are case-sensitive here.
std::string ImportPathFromHandOver(const std::string& text);

// The same check for the first plain argument of a first start.
std::string ImportPathFromArgument(const std::string& argument);

}  // namespace trawlix::app
