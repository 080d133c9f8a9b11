#pragma once
#include <string>
#include <vector>

#include "maker/installation.h"

namespace kv::maker {

enum class MatrixFormat { Text, Csv, Json };

// "a,b,c" as its items, empty ones kept.
std::vector<std::string> CommaList(const std::string& text);

// The installed versions a matrix runs over: a comma list, or "FROM..TO": the
// two ends and every version that the product's sections name in between
// (verinfo and the two limits), in the order of their version numbers.
std::vector<std::string> MatrixVersions(const std::string& option, const platform::IniText& catalogue,
                                        const std::string& product, const std::vector<std::string>& editions);

// One row per edition and installed version: the outcome, the offered version
// and the installer. `base` gives the language and the court-register id.
std::string MatrixText(const platform::IniText& catalogue, const Installation& base,
                       const std::vector<std::string>& editions, const std::vector<std::string>& versions,
                       MatrixFormat format);

}  // namespace kv::maker
