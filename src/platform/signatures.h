#pragma once
#include <string>
#include <vector>

#include "platform/files.h"

namespace kv::platform {

// Whose signature makes a downloaded program acceptable.
struct SignerRule {
    std::string commonName;                // the signer certificate's subject CN; empty: no check
    std::vector<std::string> thumbprints;  // SHA-256 of the signer certificate, hex upper case; empty: any

    bool Active() const { return !commonName.empty(); }
    bool Lists(const std::string& thumbprint) const;
};

// The rule from the configuration's texts: thumbprints separated by blanks,
// commas or semicolons, in either case, with or without colons between bytes.
SignerRule SignerRuleFromText(const std::string& commonName, const std::string& thumbprintList);

// Why the common names (CN attributes, in Unicode) of a signer certificate's
// subject do not name the rule's signer; empty when there is exactly one and
// it is exactly the configured name, which is Windows-1252 text. A second CN,
// a NUL inside one or a look-alike letter never passes.
std::string SignerNameMismatch(const std::vector<std::u16string>& commonNames, const std::string& configured);

struct SignatureVerdict {
    bool ok = false;
    std::string reason;  // why not, in a few words ("not signed", "altered", ...); empty when ok
};

// Checks what a file's signature proves, without any dialog and without
// waiting on the network. It reads through the held file's own handle, so
// the file judged is the file that will be started.
class Signatures {
public:
    virtual ~Signatures() = default;
    virtual SignatureVerdict Verify(const HeldFile& file, const SignerRule& rule) = 0;
};

}  // namespace kv::platform
