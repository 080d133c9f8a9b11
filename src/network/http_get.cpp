#include "network/http_get.h"

#include <array>
#include <atomic>
#include <limits>
#include <optional>
#include <system_error>
#include <thread>

#include "network/url_split.h"

namespace kv {

namespace {
constexpr std::size_t ChunkSize = 1025;
constexpr const char* FormHeader = "Content-Type: application/x-www-form-urlencoded";
// What a server may send as a catalogue (BinaryData off): far beyond any real
// one, so a server cannot fill the disk or the memory of the evaluation.
constexpr std::int32_t TextBodyLimit = 32 * 1024 * 1024;

bool IsSuccessStatus(int status) { return status >= 200 && status <= 299; }

// The Content-Length text as a size; nullopt when it is not a decimal number
// that fits the 32-bit sizes of the events.
std::optional<std::int32_t> ParseContentLength(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    const auto last = text.find_last_not_of(' ');
    if (first == std::string::npos) return std::nullopt;
    std::int64_t value = 0;
    for (std::size_t i = first; i <= last; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

// The three handles of one transfer, closed request first, root last.
struct TransferHandles {
    explicit TransferHandles(platform::Internet& internet) : net(internet) {}
    ~TransferHandles() {
        net.Close(request);
        net.Close(connection);
        net.Close(root);
    }
    TransferHandles(const TransferHandles&) = delete;
    TransferHandles& operator=(const TransferHandles&) = delete;

    platform::Internet& net;
    platform::NetHandle root = nullptr;
    platform::NetHandle connection = nullptr;
    platform::NetHandle request = nullptr;
};
}  // namespace

// One transfer on its own thread. It works only on its copy of the settings;
// the GUI thread touches nothing but the two atomics.
class THTTPGetThread {
public:
    THTTPGetThread(HttpGetSettings settings, TOnProgressEvent onProgress, platform::Internet& internet,
                   platform::Files& files, platform::Dispatcher& dispatcher, std::shared_ptr<bool> alive)
        : settings_(std::move(settings)),
          onProgress_(std::move(onProgress)),
          internet_(internet),
          files_(files),
          dispatcher_(dispatcher),
          alive_(std::move(alive)) {}

    void Execute();

    void RequestTerminate() {
        terminate_ = true;
        if (!passedLastCheck_) outcome_ = false;
    }
    bool Outcome() const { return outcome_; }
    const HttpGetSettings& Settings() const { return settings_; }
    std::int32_t TotalSize() const { return totalSize_; }
    const std::string& Text() const { return text_; }
    std::unique_ptr<platform::HeldFile> TakeHeld() { return std::move(held_); }

private:
    bool Terminated();
    void OpenAndSend(TransferHandles& h, const UrlParts& url);
    bool AcceptResponse(platform::NetHandle request);
    std::int32_t BodyLimit() const;
    bool AddReceived(std::size_t count);
    void ReceiveIntoFile(platform::NetHandle request);
    void ReceiveIntoText(platform::NetHandle request);
    void ReportProgress();

    const HttpGetSettings settings_;
    const TOnProgressEvent onProgress_;
    platform::Internet& internet_;
    platform::Files& files_;
    platform::Dispatcher& dispatcher_;
    const std::shared_ptr<bool> alive_;  // read on the GUI thread only

    std::atomic<bool> terminate_{false};
    std::atomic<bool> outcome_{false};
    std::atomic<bool> passedLastCheck_{false};
    std::int32_t totalSize_ = 0;
    std::int32_t received_ = 0;
    std::string text_;
    std::unique_ptr<platform::HeldFile> held_;
};

bool THTTPGetThread::Terminated() {
    if (!terminate_) return false;
    outcome_ = false;
    return true;
}

void THTTPGetThread::OpenAndSend(TransferHandles& h, const UrlParts& url) {
    const HttpGetSettings& s = settings_;
    const bool ownProxy = s.ConectLan == ctProxy && !s.Agent.empty();
    if (ownProxy)
        h.root = internet_.Open(s.Agent, platform::OpenTypeProxy, s.ProxyPort);
    else
        h.root = internet_.Open(s.Agent, platform::OpenTypePreconfig, "");
    h.connection = internet_.Connect(h.root, url.host, url.port);
    const bool post = !s.PostQuery.empty();
    const unsigned flags = (s.UseCache ? 0u : platform::FlagReload) | (url.secure ? platform::FlagSecure : 0u);
    h.request = internet_.OpenRequest(h.connection, post ? "POST" : "GET", url.path, "HTTP/1.0", s.Referer,
                                      s.AcceptTypes, flags);
    // The user and password are the wizard's proxy's: the server never sees them.
    if (ownProxy && !s.UserName.empty()) internet_.SetProxyCredentials(h.request, s.UserName, s.Password);
    if (post)
        internet_.SendRequest(h.request, FormHeader, s.PostQuery);
    else
        internet_.SendRequest(h.request, "", "");
}

// Reads the response head. False ends the run without touching the destination.
bool THTTPGetThread::AcceptResponse(platform::NetHandle request) {
    const std::optional<std::string> length = internet_.QueryContentLength(request);
    outcome_ = length.has_value();
    if (Terminated()) return false;
    if (!length && settings_.BinaryData) return false;
    // An error page is no download, whatever its length; without any response
    // (status 0) the size rules alone decide.
    const int status = internet_.QueryStatusCode(request);
    if (status != 0 && !IsSuccessStatus(status)) {
        outcome_ = false;
        return false;
    }
    if (length) {
        const std::optional<std::int32_t> total = ParseContentLength(*length);
        if (!total) {
            outcome_ = false;
            return false;
        }
        totalSize_ = *total;
    }
    if (totalSize_ > BodyLimit()) {
        outcome_ = false;
        return false;
    }
    return true;
}

std::int32_t THTTPGetThread::BodyLimit() const {
    return settings_.BinaryData ? std::numeric_limits<std::int32_t>::max() : TextBodyLimit;
}

bool THTTPGetThread::AddReceived(std::size_t count) {
    if (count > static_cast<std::size_t>(BodyLimit() - received_)) return false;
    received_ += static_cast<std::int32_t>(count);
    return true;
}

void THTTPGetThread::ReportProgress() {
    if (!onProgress_) return;
    const std::int32_t total = totalSize_;
    const std::int32_t received = received_;
    dispatcher_.Send([this, total, received] {
        if (*alive_) onProgress_(this, total, received);
    });
}

void THTTPGetThread::ReceiveIntoFile(platform::NetHandle request) {
    std::unique_ptr<platform::FileWriter> file = files_.CreateForWriting(settings_.FileName);
    if (!file) {
        outcome_ = false;
        return;
    }
    std::array<char, ChunkSize> buffer;
    for (;;) {
        if (terminate_) {
            file->Close();
            outcome_ = false;
            return;
        }
        std::size_t got = 0;
        if (!internet_.Read(request, buffer.data(), buffer.size(), got) || got == 0) break;
        if (!file->Write(buffer.data(), got) || !AddReceived(got)) {
            file->Close();
            outcome_ = false;
            return;
        }
        ReportProgress();
    }
    passedLastCheck_ = true;
    const bool closed = file->Close();
    outcome_ = closed && totalSize_ == received_;
    if (outcome_ && settings_.HoldWhenDone) held_ = files_.Hold(settings_.FileName);
}

void THTTPGetThread::ReceiveIntoText(platform::NetHandle request) {
    std::array<char, ChunkSize> buffer;
    for (;;) {
        if (Terminated()) return;
        std::size_t got = 0;
        if (!internet_.Read(request, buffer.data(), buffer.size(), got) || got == 0) break;
        if (!AddReceived(got)) {
            outcome_ = false;
            return;
        }
        text_.append(buffer.data(), got);
        ReportProgress();
    }
    passedLastCheck_ = true;
    outcome_ = received_ > 0;
}

void THTTPGetThread::Execute() {
    const UrlParts url = SplitUrl(settings_.URL);
    if (Terminated()) return;
    TransferHandles handles(internet_);
    OpenAndSend(handles, url);
    if (Terminated()) return;
    if (!AcceptResponse(handles.request)) return;
    if (settings_.ToFile)
        ReceiveIntoFile(handles.request);
    else
        ReceiveIntoText(handles.request);
}

THTTPGet::THTTPGet(platform::Internet& internet, platform::Files& files, platform::Dispatcher& dispatcher)
    : internet_(internet), files_(files), dispatcher_(dispatcher), alive_(std::make_shared<bool>(true)) {}

THTTPGet::~THTTPGet() {
    Abort();
    *alive_ = false;
}

void THTTPGet::GetFile() { Start(true); }

void THTTPGet::GetHeldFile() { Start(true, true); }

void THTTPGet::GetString() { Start(false); }

bool THTTPGet::Busy() const { return worker_ != nullptr; }

void THTTPGet::Abort() {
    if (worker_) worker_->RequestTerminate();
}

HttpGetSettings THTTPGet::Snapshot(bool toFile, bool hold) const {
    HttpGetSettings s;
    s.AcceptTypes = AcceptTypes;
    s.Agent = Agent;
    s.URL = URL;
    s.FileName = FileName;
    s.UserName = UserName;
    s.Password = Password;
    s.PostQuery = PostQuery;
    s.Referer = Referer;
    s.BinaryData = BinaryData;
    s.UseCache = UseCache;
    s.ConectLan = ConectLan;
    s.ProxyPort = ProxyPort;
    s.ToFile = toFile;
    s.HoldWhenDone = hold;
    return s;
}

void THTTPGet::Start(bool toFile, bool hold) {
    if (worker_) return;
    auto worker = std::make_shared<THTTPGetThread>(Snapshot(toFile, hold), OnProgress, internet_, files_, dispatcher_, alive_);
    // The thread keeps the worker alive until its completion has run or been
    // dropped; it never waits for the component. Its completion is queued for
    // this thread, so it cannot run before worker_ is set below.
    try {
        std::thread([this, worker, alive = alive_, &dispatcher = dispatcher_] {
            worker->Execute();
            dispatcher.Post([this, worker, alive] {
                if (*alive) Completed(worker);
            });
        }).detach();
    } catch (const std::system_error&) {
        lastOutcome_ = false;
        if (OnError) OnError(this);
        return;
    }
    worker_ = worker;
    if (!WaitThread || !pumpMessages) return;
    const std::shared_ptr<bool> alive = alive_;
    while (*alive && worker_) {
        pumpMessages();
        std::this_thread::yield();
    }
}

void THTTPGet::Completed(const std::shared_ptr<THTTPGetThread>& worker) {
    if (worker != worker_) return;
    lastOutcome_ = worker->Outcome();
    const std::shared_ptr<bool> alive = alive_;
    if (!lastOutcome_) {
        if (OnError) OnError(this);
    } else if (worker->Settings().ToFile) {
        held_ = worker->TakeHeld();
        if (OnDoneFile) OnDoneFile(this, worker->Settings().FileName, worker->TotalSize());
    } else if (OnDoneString) {
        OnDoneString(this, worker->Text());
    }
    if (!*alive) return;
    held_.reset();
    worker_.reset();
}

void UseProxySettings(THTTPGet& transfer, const ProcessState& process) {
    if (process.UseProxy) {
        transfer.ConectLan = ctProxy;
        transfer.ProxyPort = process.ProxyComplete;
        transfer.Password = process.ProxyPassword;
        transfer.UserName = process.ProxyUser;
    } else {
        transfer.ConectLan = ctNone;
        transfer.ProxyPort.clear();
        transfer.Password.clear();
        transfer.UserName.clear();
    }
}

}  // namespace kv
