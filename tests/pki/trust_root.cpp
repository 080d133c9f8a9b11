// Puts a root certificate (a DER file) into the machine's trusted roots of the
// Wine prefix it runs in, so the tests' own authority is trusted by WinINet and
// by the chain engine there, and nowhere else.
//
//   kvtrustroot.exe ROOT.der
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kvtrustroot ROOT.der\n");
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    const std::vector<unsigned char> der{std::istreambuf_iterator<char>(file), {}};
    if (der.empty()) {
        std::fprintf(stderr, "kvtrustroot: cannot read %s\n", argv[1]);
        return 1;
    }
    HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, "Root");
    if (store == nullptr) {
        std::fprintf(stderr, "kvtrustroot: cannot open the Root store (%lu)\n", GetLastError());
        return 1;
    }
    const BOOL added = CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der.data(),
                                                        static_cast<DWORD>(der.size()),
                                                        CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    const DWORD error = GetLastError();
    CertCloseStore(store, 0);
    if (!added) {
        std::fprintf(stderr, "kvtrustroot: %s not added (0x%08lx)\n", argv[1], error);
        return 1;
    }
    return 0;
}
