#pragma once
#include <map>
#include <string>
#include <vector>

namespace kv::maker {

// A command, its catalogue and its options ("--name value").
struct CommandLine {
    std::string command;
    std::string catalogue;
    std::map<std::string, std::string> options;

    bool Has(const std::string& name) const { return options.count(name) != 0; }
    std::string Get(const std::string& name, const std::string& fallback = "") const;
    // Throws UsageError naming the option when it is missing.
    std::string Require(const std::string& name) const;
};

// Throws UsageError for an unknown command, a missing catalogue, an option
// the command does not take, or an option without its value.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

extern const char* const Usage;

}  // namespace kv::maker
