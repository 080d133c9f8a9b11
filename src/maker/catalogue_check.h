#pragma once
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/signatures.h"

namespace kv::maker {

enum class FindingLevel { Warning, Error };

// One thing the maker should know before the catalogue goes out.
struct Finding {
    FindingLevel level;
    std::string section;  // "-" for the file as a whole
    std::string key;      // "-" for a whole section or line
    std::size_t line;     // 1-based; 0 when the file as a whole is meant
    std::string what;     // what is wrong, and what the wizard will do
};

// What judges an installer's signature as the secure wizard does: the files
// service holds the file, the signature service reads it through that hold.
struct SignatureCheck {
    platform::Files* files = nullptr;
    platform::Signatures* signatures = nullptr;

    bool Available() const { return files != nullptr && signatures != nullptr; }
};

struct CheckOptions {
    std::string installers;                      // the installers as the server holds them; empty: not checked
    platform::SignerRule signer;                 // active: the installers must carry this signature
    SignatureCheck signatureCheck;               // unavailable where no signature can be checked
};

// Every finding on the catalogue text `bytes`, in the order of its lines.
std::vector<Finding> CheckCatalogue(const std::string& bytes, const CheckOptions& options);

// "LEVEL SECTION KEY line N: what"
std::string FindingText(const Finding& finding);

// 0 clean, 1 warnings only, 2 errors.
int CheckStatus(const std::vector<Finding>& findings);

}  // namespace kv::maker
