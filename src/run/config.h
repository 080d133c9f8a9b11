// The implementer's configuration. Its values live in one small generated
// object per configuration, so one build can link the program several times
// with different servers or signers.
#pragma once

namespace kv::config {
extern const char* const UpdateServerBase;
extern const char* const ReportServerBase;
extern const char* const ReportRecipient1;
extern const char* const ReportRecipient2;
extern const char* const SupportEmail;
extern const char* const PhoneNational;
extern const char* const PhoneInternational;
extern const char* const NoticeLine;
extern const char* const ExampleProxyAddress;
// The common name of the certificate that signs the maker's installers;
// empty: a downloaded installer is started without a signature check.
extern const char* const InstallerSigner;
// SHA-256 thumbprints of accepted signer certificates, hexadecimal, separated
// by blanks, commas or semicolons; empty: any certificate of the signer.
extern const char* const InstallerThumbprints;
inline constexpr const char* ToolVersion = "8.1.10";
}  // namespace kv::config
