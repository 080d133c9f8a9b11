#include <gtest/gtest.h>

#include <windows.h>
#include <wininet.h>

#include <cctype>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/win32/win_files.h"
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

// Wine (8) keeps each revocation verdict in a file of its own and reads a
// "revoked" back as good, so a second run would pass the revoked signer; each
// run starts from the revocation list alone.
void ForgetWineRevocationVerdicts() {
    char profile[MAX_PATH];
    if (!GetEnvironmentVariableA("USERPROFILE", profile, sizeof profile)) return;
    const std::string folder = std::string(profile) + "\\AppData\\LocalLow\\Microsoft\\CryptnetUrlCache\\Content\\";
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((folder + found.cFileName).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

// The root's revocation list, put into the URL cache as if fetched earlier:
// the system then knows the revoked signer without asking the network.
bool KnowRevocationList() {
    ForgetWineRevocationVerdicts();
    std::string url;
    std::ifstream(Pki + "/root.crl.url") >> url;
    std::ifstream list(Pki + "/root.crl", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(list), {}};
    char file[MAX_PATH];
    if (url.empty() || bytes.empty()) return false;
    if (!CreateUrlCacheEntryA(url.c_str(), static_cast<DWORD>(bytes.size()), "crl", file, 0)) return false;
    std::ofstream(file, std::ios::binary) << bytes;
    SYSTEMTIME now;
    GetSystemTime(&now);
    ++now.wYear;
    FILETIME expires{}, unknown{};
    SystemTimeToFileTime(&now, &expires);
    return CommitUrlCacheEntryA(url.c_str(), file, expires, unknown, NORMAL_CACHE_ENTRY, nullptr, 0, nullptr,
                                nullptr);
}

// The tests' root is trusted in this prefix only, by the program made for that.
class WinSignatures : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        kv::platform::ProcessRequest trust;
        trust.program = KV_TRUST_ROOT_EXE;
        trust.parameters = "\"" + Pki + "/root.der\"";
        trust.wait = true;
        ASSERT_TRUE(kv::platform::win32::WinProcesses().Start(trust).Started());
        ASSERT_TRUE(KnowRevocationList());
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
        {"signed-revoked.exe", SignerRuleFromText(Signer, ""), false, "certificate revoked"},
        {"signed-altered.exe", SignerRuleFromText(Signer, ""), false, "altered"},
        {"unsigned.exe", SignerRuleFromText(Signer, ""), false, "not signed"},
        {"signed-good.exe", SignerRuleFromText(Signer, other + "; " + ViewerForm(SignerThumbprint())), true, ""},
        {"signed-good.exe", SignerRuleFromText(Signer, other), false, "certificate not listed"},
        {"signed-good.exe", SignerRuleFromText("karvell test signing", ""), false,
         "signer 'Karvell Test Signing' not accepted"},
    };
    kv::platform::win32::WinSignatures signatures;
    kv::platform::win32::WinFiles files;
    for (const Row& row : rows) {
        const auto held = files.Hold(Pki + "/" + row.file);
        ASSERT_TRUE(held) << row.file;
        const auto verdict = signatures.Verify(*held, row.rule);
        EXPECT_EQ(verdict.ok, row.ok) << row.file << ": " << verdict.reason;
        EXPECT_EQ(verdict.reason, row.reason) << row.file;
    }
}

}  // namespace
