#include "platform/win32/win_signatures.h"

#include <windows.h>
#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/win32/system_library.h"

namespace kv::platform::win32 {

namespace {

// The trust functions are loaded with the first check, not with the program.
struct TrustFunctions {
    KV_LIBRARY_FUNCTION("wintrust.dll", WinVerifyTrust);
    KV_LIBRARY_FUNCTION("wintrust.dll", WTHelperProvDataFromStateData);
    KV_LIBRARY_FUNCTION("wintrust.dll", WTHelperGetProvSignerFromChain);
    KV_LIBRARY_FUNCTION("crypt32.dll", CryptDecodeObjectEx);
    KV_LIBRARY_FUNCTION("crypt32.dll", CryptHashCertificate2);
    KV_LIBRARY_FUNCTION("crypt32.dll", CertGetCertificateChain);
    KV_LIBRARY_FUNCTION("crypt32.dll", CertFreeCertificateChain);
    bool Loaded() const {
        return WinVerifyTrust && WTHelperProvDataFromStateData && WTHelperGetProvSignerFromChain &&
               CryptDecodeObjectEx && CryptHashCertificate2 && CertGetCertificateChain && CertFreeCertificateChain;
    }
};

const TrustFunctions& Api() {
    static const TrustFunctions functions;
    return functions;
}

// Revocation that could not be learnt without the network is no failure; a
// certificate the system knows to be revoked is.
constexpr DWORD RevocationUnknown = CERT_TRUST_REVOCATION_STATUS_UNKNOWN | CERT_TRUST_IS_OFFLINE_REVOCATION;

SignatureVerdict Fail(std::string reason) { return {false, std::move(reason)}; }

std::wstring Wide(const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::string Hex(HRESULT code) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(code));
    return text;
}

// The verdict of WinVerifyTrust in a few words; empty when the checks of the
// signer chain below decide.
std::string TrustReason(LONG status) {
    switch (static_cast<HRESULT>(status)) {
        case S_OK:
        case CERT_E_REVOCATION_FAILURE:
            return {};
        case TRUST_E_NOSIGNATURE:
        case TRUST_E_SUBJECT_FORM_UNKNOWN:
        case TRUST_E_PROVIDER_UNKNOWN:
            return "not signed";
        case TRUST_E_BAD_DIGEST:
        case CRYPT_E_HASH_VALUE:
            return "altered";
        case CERT_E_UNTRUSTEDROOT:
        case CERT_E_CHAINING:
        case CERT_E_UNTRUSTEDTESTROOT:
            return "untrusted root";
        case CERT_E_EXPIRED:
            return "certificate expired";
        case CERT_E_REVOKED:
            return "certificate revoked";
        case TRUST_E_EXPLICIT_DISTRUST:
            return "signer distrusted";
        default:
            return "not valid (" + Hex(status) + ")";
    }
}

// Wine accepts a signer that chains to an unknown root; Windows does not.
// The chain's own status says so on both.
std::string ChainReason(DWORD errors) {
    errors &= ~RevocationUnknown;
    if (errors == CERT_TRUST_NO_ERROR) return {};
    if (errors & (CERT_TRUST_IS_UNTRUSTED_ROOT | CERT_TRUST_IS_PARTIAL_CHAIN)) return "untrusted root";
    if (errors & CERT_TRUST_IS_REVOKED) return "certificate revoked";
    if (errors & CERT_TRUST_IS_NOT_TIME_VALID) return "certificate expired";
    return "certificate chain not valid";
}

// An attribute's value as the certificate spells it, whole: the decoder gives
// UTF8String and BMPString as UTF-16 and every other string type byte for
// byte, each with its exact length (a NUL inside is part of the value).
std::u16string AttributeText(const CERT_RDN_ATTR& attribute) {
    const CERT_RDN_VALUE_BLOB& value = attribute.Value;
    if (attribute.dwValueType == CERT_RDN_UTF8_STRING || attribute.dwValueType == CERT_RDN_BMP_STRING)
        return std::u16string(reinterpret_cast<const char16_t*>(value.pbData), value.cbData / sizeof(char16_t));
    return std::u16string(value.pbData, value.pbData + value.cbData);
}

// Every CN attribute of the subject itself: no other name form stands in for
// a missing one.
std::vector<std::u16string> SubjectCommonNames(PCCERT_CONTEXT cert) {
    std::vector<std::u16string> names;
    CERT_NAME_INFO* subject = nullptr;
    DWORD size = 0;
    if (!Api().CryptDecodeObjectEx(X509_ASN_ENCODING, X509_NAME, cert->pCertInfo->Subject.pbData,
                                   cert->pCertInfo->Subject.cbData, CRYPT_DECODE_ALLOC_FLAG, nullptr, &subject,
                                   &size))
        return names;
    for (DWORD r = 0; r < subject->cRDN; ++r) {
        const CERT_RDN& rdn = subject->rgRDN[r];
        for (DWORD a = 0; a < rdn.cRDNAttr; ++a)
            if (std::strcmp(rdn.rgRDNAttr[a].pszObjId, szOID_COMMON_NAME) == 0)
                names.push_back(AttributeText(rdn.rgRDNAttr[a]));
    }
    LocalFree(subject);
    return names;
}

// Hashed here rather than asked as a property: Wine keeps no SHA-256 property.
std::string Sha256Thumbprint(PCCERT_CONTEXT cert) {
    BYTE hash[32];
    DWORD size = sizeof hash;
    if (!Api().CryptHashCertificate2(L"SHA256", 0, nullptr, cert->pbCertEncoded, cert->cbCertEncoded, hash, &size))
        return {};
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (DWORD i = 0; i < size; ++i) {
        hex += digits[hash[i] >> 4];
        hex += digits[hash[i] & 0xF];
    }
    return hex;
}

// Not every trust provider honours the revocation flags of the trust request
// (Wine's ignores them), so the signer's chain is asked once more, from what
// the system already knows (cache only) and at the time the signature was
// judged at. Only a revocation counts here; the rest was judged above.
bool KnownRevoked(const CRYPT_PROVIDER_SGNR& signer, PCCERT_CONTEXT cert) {
    CERT_CHAIN_PARA parameters{};
    parameters.cbSize = sizeof parameters;
    FILETIME when = signer.sftVerifyAsOf;
    PCCERT_CHAIN_CONTEXT chain = nullptr;
    constexpr DWORD flags = CERT_CHAIN_REVOCATION_CHECK_CHAIN_EXCLUDE_ROOT | CERT_CHAIN_REVOCATION_CHECK_CACHE_ONLY |
                            CERT_CHAIN_CACHE_ONLY_URL_RETRIEVAL;
    if (!Api().CertGetCertificateChain(nullptr, cert, &when, cert->hCertStore, &parameters, flags, nullptr, &chain))
        return false;
    const bool revoked = (chain->TrustStatus.dwErrorStatus & CERT_TRUST_IS_REVOKED) != 0;
    Api().CertFreeCertificateChain(chain);
    return revoked;
}

SignatureVerdict JudgeSigner(HANDLE state, const SignerRule& rule) {
    CRYPT_PROVIDER_DATA* provider = Api().WTHelperProvDataFromStateData(state);
    CRYPT_PROVIDER_SGNR* signer = provider ? Api().WTHelperGetProvSignerFromChain(provider, 0, FALSE, 0) : nullptr;
    PCCERT_CHAIN_CONTEXT chain = signer ? signer->pChainContext : nullptr;
    if (!chain || chain->cChain == 0 || chain->rgpChain[0]->cElement == 0) return Fail("no signer certificate");
    if (std::string reason = ChainReason(chain->TrustStatus.dwErrorStatus); !reason.empty()) return Fail(reason);
    PCCERT_CONTEXT cert = chain->rgpChain[0]->rgpElement[0]->pCertContext;
    if (KnownRevoked(*signer, cert)) return Fail("certificate revoked");
    if (std::string reason = SignerNameMismatch(SubjectCommonNames(cert), rule.commonName); !reason.empty())
        return Fail(reason);
    if (!rule.Lists(Sha256Thumbprint(cert))) return Fail("certificate not listed");
    return {true, {}};
}

}  // namespace

SignatureVerdict WinSignatures::Verify(const HeldFile& file, const SignerRule& rule) {
    if (!Api().Loaded()) return Fail("no trust functions");
    const std::wstring widePath = Wide(file.Path());

    WINTRUST_FILE_INFO fileInfo{};
    fileInfo.cbStruct = sizeof fileInfo;
    fileInfo.pcwszFilePath = widePath.c_str();
    fileInfo.hFile = reinterpret_cast<HANDLE>(file.NativeHandle());
    WINTRUST_DATA data{};
    data.cbStruct = sizeof data;
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_WHOLECHAIN;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &fileInfo;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    data.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL | WTD_REVOCATION_CHECK_CHAIN_EXCLUDE_ROOT;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;

    const LONG status = Api().WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    std::string reason = TrustReason(status);
    SignatureVerdict verdict = reason.empty() ? JudgeSigner(data.hWVTStateData, rule) : Fail(std::move(reason));

    data.dwStateAction = WTD_STATEACTION_CLOSE;
    Api().WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    return verdict;
}

}  // namespace kv::platform::win32
