#pragma once
#include <string>
#include <vector>

namespace kv {

// Splits a process command line into its parameters, the program name
// excluded. Parameters are separated by characters of code 32 or less;
// double quotes group text with blanks and are removed ("a b"c gives a bc);
// a backslash is an ordinary character, so a quoted folder ending in "\"
// stays intact. An empty quoted pair is an empty parameter.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

}  // namespace kv
