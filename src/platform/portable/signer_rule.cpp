#include <algorithm>
#include <cctype>

#include "platform/signatures.h"

namespace kv::platform {

bool SignerRule::Lists(const std::string& thumbprint) const {
    return thumbprints.empty() || std::find(thumbprints.begin(), thumbprints.end(), thumbprint) != thumbprints.end();
}

SignerRule SignerRuleFromText(const std::string& commonName, const std::string& thumbprintList) {
    SignerRule rule{commonName, {}};
    std::string current;
    auto finish = [&] {
        if (!current.empty()) rule.thumbprints.push_back(current);
        current.clear();
    };
    for (const char c : thumbprintList) {
        const auto u = static_cast<unsigned char>(c);
        if (c == ' ' || c == ',' || c == ';' || c == '\t') finish();
        else if (c != ':') current += static_cast<char>(std::toupper(u));
    }
    finish();
    return rule;
}

}  // namespace kv::platform
