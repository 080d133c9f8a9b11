#pragma once
#include <string>

#include "platform/files.h"

namespace kv {

// What a restart of the product may start. The value comes from the version
// list file or from the catalogue, which travels over the network: it may
// name only an existing program inside the product's own folder.
struct RestartDecision {
    std::string path;     // the program to start, a full path; empty when refused
    std::string refusal;  // why not, in a few words; empty when accepted

    bool Accepted() const { return refusal.empty(); }
};

// `value` is a full path inside `productFolder` or a name relative to it.
RestartDecision JudgeRestartProgram(const std::string& value, const std::string& productFolder,
                                    platform::Files& files);

}  // namespace kv
