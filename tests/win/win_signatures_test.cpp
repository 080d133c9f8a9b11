#include <gtest/gtest.h>

#include <windows.h>

#include <cctype>
#include <fstream>
#include <string>

#include "platform/win32/win_processes.h"
#include "platform/win32/win_signatures.h"

namespace {

using kv::platform::SignerRule;
using kv::platform::SignerRuleFromText;

const std::string Pki = KV_PKI_DIR;  // made by tests/pki/make_pki.sh at build time
const std::string Signer = "Karvell Test Signing";

std::string SignerThumbprint() {
    std::string hex;
    std::ifstream(Pki + "/signer.sha256") >> hex;
    return hex;
}

// "AB12.." as "ab:12:..", the way a certificate viewer shows it.
std::string ViewerForm(const std::string& hex) {
    std::string text;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        if (i) text += ':';
        text += static_cast<char>(std::tolower(static_cast<unsigned char>(hex[i])));
        text += static_cast<char>(std::tolower(static_cast<unsigned char>(hex[i + 1])));
    }
    return text;
}

// The tests' root is trusted in this prefix only, by the program made for that.
class WinSignatures : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        kv::platform::ProcessRequest trust;
        trust.commandLine = "\"" KV_TRUST_ROOT_EXE "\" \"" + Pki + "/root.der\"";
        trust.wait = true;
        ASSERT_TRUE(kv::platform::win32::WinProcesses().Start(trust));
    }
};

TEST_F(WinSignatures, OnlyTheConfiguredSignerUnderATrustedRootPasses) {
    ASSERT_EQ(SignerThumbprint().size(), 64u) << "no test authority in " << Pki;
    const std::string other(64, 'A');
    struct Row {
        const char* file;
        SignerRule rule;
        bool ok;
        std::string reason;
    } rows[] = {
        {"signed-good.exe", SignerRuleFromText(Signer, ""), true, ""},
        {"signed-other.exe", SignerRuleFromText(Signer, ""), false, "signer 'Karvell Other Signing' not accepted"},
        {"signed-stranger.exe", SignerRuleFromText(Signer, ""), false, "untrusted root"},
        {"signed-altered.exe", SignerRuleFromText(Signer, ""), false, "altered"},
        {"unsigned.exe", SignerRuleFromText(Signer, ""), false, "not signed"},
        {"missing.exe", SignerRuleFromText(Signer, ""), false, "file not readable"},
        {"signed-good.exe", SignerRuleFromText(Signer, other + "; " + ViewerForm(SignerThumbprint())), true, ""},
        {"signed-good.exe", SignerRuleFromText(Signer, other), false, "certificate not listed"},
        {"signed-good.exe", SignerRuleFromText("karvell test signing", ""), false,
         "signer 'Karvell Test Signing' not accepted"},
    };
    kv::platform::win32::WinSignatures signatures;
    for (const Row& row : rows) {
        const auto verdict = signatures.Verify(Pki + "/" + row.file, row.rule);
        EXPECT_EQ(verdict.ok, row.ok) << row.file << ": " << verdict.reason;
        EXPECT_EQ(verdict.reason, row.reason) << row.file;
    }
}

}  // namespace
