#include "app/command_line.h"

namespace kv {

namespace {

bool IsSeparator(char c) { return static_cast<unsigned char>(c) <= 32; }

// Reads one parameter starting at `at` (which is not a separator) and moves
// `at` past it.
std::string ReadParameter(const std::string& line, std::size_t& at) {
    std::string parameter;
    bool quoted = false;
    for (; at < line.size(); ++at) {
        const char c = line[at];
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && IsSeparator(c))
            break;
        else
            parameter += c;
    }
    return parameter;
}

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
    std::vector<std::string> parameters;
    std::size_t at = 0;
    bool programName = true;
    while (true) {
        while (at < commandLine.size() && IsSeparator(commandLine[at])) ++at;
        if (at >= commandLine.size()) break;
        std::string parameter = ReadParameter(commandLine, at);
        if (!programName) parameters.push_back(std::move(parameter));
        programName = false;
    }
    return parameters;
}

}  // namespace kv
