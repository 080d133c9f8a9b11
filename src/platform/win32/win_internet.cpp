#include "platform/win32/win_internet.h"

#include <windows.h>
#include <wininet.h>

#include <array>
#include <vector>

#include "platform/win32/system_library.h"

namespace kv::platform::win32 {

namespace {
constexpr DWORD ContentLengthBufferSize = 1024;
constexpr DWORD ProxyOptionBufferSize = 4096;
constexpr DWORD OptionProxy = 38;  // INTERNET_OPTION_PROXY
constexpr DWORD StatusProxyAuthenticationRequired = 407;
constexpr std::size_t ChallengePageChunk = 1024;

// INTERNET_PROXY_INFO with the ANSI strings the A-function fills in,
// whatever the UNICODE setting of the headers.
struct ProxyInfoA {
    DWORD dwAccessType;
    LPCSTR lpszProxy;
    LPCSTR lpszProxyBypass;
};

const char* OrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

HINTERNET H(NetHandle handle) { return static_cast<HINTERNET>(handle); }

// WinINet is loaded with the first transfer or connection test, not with
// the program: the welcome page does not need it.
struct WinInetFunctions {
    KV_LIBRARY_FUNCTION("wininet.dll", InternetOpenA);
    KV_LIBRARY_FUNCTION("wininet.dll", InternetConnectA);
    KV_LIBRARY_FUNCTION("wininet.dll", HttpOpenRequestA);
    KV_LIBRARY_FUNCTION("wininet.dll", HttpSendRequestA);
    KV_LIBRARY_FUNCTION("wininet.dll", HttpQueryInfoA);
    KV_LIBRARY_FUNCTION("wininet.dll", InternetReadFile);
    KV_LIBRARY_FUNCTION("wininet.dll", InternetCloseHandle);
    KV_LIBRARY_FUNCTION("wininet.dll", InternetOpenUrlA);
    KV_LIBRARY_FUNCTION("wininet.dll", InternetGetConnectedState);
    KV_LIBRARY_FUNCTION("wininet.dll", InternetSetOptionA);
    // Looked up at run time by the documented behaviour; its absence stops nothing else.
    KV_LIBRARY_FUNCTION("wininet.dll", InternetQueryOptionA);
    bool Loaded() const {
        return InternetOpenA && InternetConnectA && HttpOpenRequestA && HttpSendRequestA && HttpQueryInfoA &&
               InternetReadFile && InternetCloseHandle && InternetOpenUrlA && InternetGetConnectedState &&
               InternetSetOptionA;
    }
};

const WinInetFunctions& Api() {
    static const WinInetFunctions functions;
    return functions;
}

bool SetTextOption(NetHandle handle, DWORD option, const std::string& text) {
    return Api().InternetSetOptionA(H(handle), option, const_cast<char*>(text.c_str()),
                                    static_cast<DWORD>(text.size())) != FALSE;
}
}  // namespace

NetHandle WinInternet::Open(const std::string& agent, int accessType, const std::string& proxy) {
    if (!Api().Loaded()) return nullptr;
    return Api().InternetOpenA(OrNull(agent), static_cast<DWORD>(accessType), OrNull(proxy), nullptr, 0);
}

NetHandle WinInternet::Connect(NetHandle root, const std::string& host, int port) {
    if (!root) return nullptr;
    return Api().InternetConnectA(H(root), host.c_str(), static_cast<INTERNET_PORT>(port), nullptr, nullptr,
                                  INTERNET_SERVICE_HTTP, 0, 0);
}

NetHandle WinInternet::OpenRequest(NetHandle connection, const std::string& verb, const std::string& path,
                                   const std::string& version, const std::string& referer,
                                   const std::string& acceptType, unsigned flags) {
    if (!connection) return nullptr;
    std::array<LPCSTR, 2> accept{acceptType.c_str(), nullptr};
    return Api().HttpOpenRequestA(H(connection), verb.c_str(), path.c_str(), version.c_str(), OrNull(referer),
                                  accept.data(), flags, 0);
}

bool WinInternet::SetProxyCredentials(NetHandle request, const std::string& user, const std::string& password) {
    return request && SetTextOption(request, INTERNET_OPTION_PROXY_USERNAME, user) &&
           SetTextOption(request, INTERNET_OPTION_PROXY_PASSWORD, password);
}

bool WinInternet::SendRequest(NetHandle request, const std::string& headers, const std::string& body) {
    if (!request) return false;
    std::vector<char> data(body.begin(), body.end());
    const auto send = [&] {
        return Api().HttpSendRequestA(H(request), OrNull(headers), static_cast<DWORD>(headers.size()),
                                      data.empty() ? nullptr : data.data(), static_cast<DWORD>(data.size())) != FALSE;
    };
    if (!send()) return false;
    if (QueryStatusCode(request) != StatusProxyAuthenticationRequired) return true;
    // The challenge's own page is read away before the request goes again.
    std::array<char, ChallengePageChunk> discard;
    for (std::size_t got = 1; got != 0;)
        if (!Read(request, discard.data(), discard.size(), got)) break;
    return send();
}

std::optional<std::string> WinInternet::QueryContentLength(NetHandle request) {
    if (!request) return std::nullopt;
    std::vector<char> buffer(ContentLengthBufferSize, '\0');
    DWORD length = ContentLengthBufferSize;
    DWORD index = 0;
    if (!Api().HttpQueryInfoA(H(request), HTTP_QUERY_CONTENT_LENGTH, buffer.data(), &length, &index))
        return std::nullopt;
    return std::string(buffer.data(), length);
}

int WinInternet::QueryStatusCode(NetHandle request) {
    if (!request) return 0;
    DWORD status = 0;
    DWORD length = sizeof status;
    if (!Api().HttpQueryInfoA(H(request), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &length,
                              nullptr))
        return 0;
    return static_cast<int>(status);
}

bool WinInternet::Read(NetHandle handle, char* buffer, std::size_t capacity, std::size_t& got) {
    got = 0;
    if (!handle) return false;
    DWORD read = 0;
    const BOOL ok = Api().InternetReadFile(H(handle), buffer, static_cast<DWORD>(capacity), &read);
    got = read;
    return ok != FALSE;
}

void WinInternet::Close(NetHandle handle) {
    if (handle) Api().InternetCloseHandle(H(handle));
}

NetHandle WinInternet::OpenUrl(NetHandle root, const std::string& url, unsigned flags) {
    if (!root) return nullptr;
    return Api().InternetOpenUrlA(H(root), url.c_str(), nullptr, 0, flags, 0);
}

bool WinInternet::IsConnected() {
    return Api().Loaded() && Api().InternetGetConnectedState(nullptr, 0) != FALSE;
}

std::optional<ProxyOption> WinInternet::QueryProxyOption() {
    if (!Api().InternetQueryOptionA) return std::nullopt;
    std::vector<unsigned char> buffer(ProxyOptionBufferSize, 0);
    DWORD size = ProxyOptionBufferSize;
    if (!Api().InternetQueryOptionA(nullptr, OptionProxy, buffer.data(), &size)) return std::nullopt;
    const auto* info = reinterpret_cast<const ProxyInfoA*>(buffer.data());
    return ProxyOption{static_cast<int>(info->dwAccessType), info->lpszProxy ? info->lpszProxy : "",
                       info->lpszProxyBypass ? info->lpszProxyBypass : ""};
}

}  // namespace kv::platform::win32
