#include "maker/command_line.h"

#include <algorithm>

#include "maker/installation.h"

namespace kv::maker {

namespace {

struct Command {
    const char* name;
    std::vector<std::string> options;
};

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands{
        {"explain", {"product", "edition", "version", "language", "list", "qo-id", "product-folder"}},
        {"matrix", {"product", "editions", "versions", "format", "language", "qo-id", "product-folder"}},
        {"check", {"installers", "signer", "thumbprints"}},
    };
    return commands;
}

}  // namespace

const char* const Usage =
    "usage: kvcatalog explain CATALOGUE --product KEY --edition LETTERS --version V [--language de|en]\n"
    "                         [--list FILE] [--qo-id ID] [--product-folder DIR]\n"
    "       kvcatalog matrix CATALOGUE --product KEY --editions U,S --versions V1,V2|FROM..TO\n"
    "                         [--format text|csv|json] [--language de|en] [--qo-id ID]\n"
    "       kvcatalog check CATALOGUE [--installers DIR] [--signer CN] [--thumbprints LIST]\n";

std::string CommandLine::Get(const std::string& name, const std::string& fallback) const {
    const auto found = options.find(name);
    return found == options.end() ? fallback : found->second;
}

std::string CommandLine::Require(const std::string& name) const {
    if (!Has(name)) throw UsageError(command + " needs --" + name);
    return Get(name);
}

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    if (arguments.empty()) throw UsageError("no command given");
    const auto command = std::find_if(Commands().begin(), Commands().end(),
                                      [&](const Command& c) { return arguments[0] == c.name; });
    if (command == Commands().end()) throw UsageError("unknown command \"" + arguments[0] + "\"");
    CommandLine line{arguments[0], {}, {}};
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!argument.starts_with("--")) {
            if (!line.catalogue.empty()) throw UsageError("a second catalogue \"" + argument + "\"");
            line.catalogue = argument;
            continue;
        }
        const std::string name = argument.substr(2);
        if (std::find(command->options.begin(), command->options.end(), name) == command->options.end())
            throw UsageError(line.command + " takes no option " + argument);
        if (i + 1 >= arguments.size()) throw UsageError(argument + " needs a value");
        line.options[name] = arguments[++i];
    }
    if (line.catalogue.empty()) throw UsageError(line.command + " needs a catalogue file");
    return line;
}

}  // namespace kv::maker
