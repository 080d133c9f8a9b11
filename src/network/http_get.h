#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/dispatcher.h"
#include "platform/files.h"
#include "platform/internet.h"
#include "run/wizard_state.h"

namespace kv {

enum TConnectionType { ctNone = 0, ctProxy = 1, ctDialup = 2 };

class THTTPGetThread;

using TOnProgressEvent = std::function<void(void* sender, std::int32_t totalSize, std::int32_t readed)>;
using TOnDoneFileEvent = std::function<void(void* sender, const std::string& fileName, std::int32_t fileSize)>;
using TOnDoneStringEvent = std::function<void(void* sender, const std::string& result)>;
using TNotifyEvent = std::function<void(void* sender)>;

// The settings a worker takes a copy of when it starts.
struct HttpGetSettings {
    std::string AcceptTypes = "*/*";
    std::string Agent = "HTTP";
    std::string URL;
    std::string FileName;
    std::string UserName;
    std::string Password;
    std::string PostQuery;
    std::string Referer;
    bool BinaryData = false;
    bool UseCache = false;
    TConnectionType ConectLan = ctNone;
    std::string ProxyPort;
    bool ToFile = true;
    bool HoldWhenDone = false;
};

// Fetches one resource over HTTP into a file on a worker thread; progress and
// exactly one completion event arrive on the GUI thread.
class THTTPGet {
public:
    THTTPGet(platform::Internet& internet, platform::Files& files, platform::Dispatcher& dispatcher);
    ~THTTPGet();
    THTTPGet(const THTTPGet&) = delete;
    THTTPGet& operator=(const THTTPGet&) = delete;

    std::string AcceptTypes = "*/*";
    std::string Agent = "HTTP";
    bool BinaryData = false;
    std::string URL;
    bool UseCache = false;
    std::string FileName;
    std::string UserName;
    std::string Password;
    std::string PostQuery;
    std::string Referer;
    bool WaitThread = false;
    TConnectionType ConectLan = ctNone;
    std::string ProxyPort;
    TOnProgressEvent OnProgress;
    TOnDoneFileEvent OnDoneFile;
    TOnDoneStringEvent OnDoneString;
    TNotifyEvent OnError;

    void GetFile();
    // Like GetFile, but the worker holds the file (read, shared for reading
    // only) the moment its writer closes it, so that nothing can change it
    // between the last byte and what the completion does with it. OnDoneFile
    // takes the hold with TakeHeldFile(); a hold not taken ends after it.
    void GetHeldFile();
    // Null outside OnDoneFile, after a plain GetFile, or when the hold failed.
    std::unique_ptr<platform::HeldFile> TakeHeldFile() { return std::move(held_); }
    // Text mode: the body is collected in memory and handed to OnDoneString.
    void GetString();
    void Abort();
    bool Busy() const;
    bool LastOutcome() const { return lastOutcome_; }

    // Runs the thread's message loop while WaitThread waits; set by the GUI layer.
    std::function<void()> pumpMessages;

private:
    void Start(bool toFile, bool hold = false);
    HttpGetSettings Snapshot(bool toFile, bool hold) const;
    void Completed(const std::shared_ptr<THTTPGetThread>& worker);

    platform::Internet& internet_;
    platform::Files& files_;
    platform::Dispatcher& dispatcher_;
    std::shared_ptr<THTTPGetThread> worker_;
    // Cleared by the destructor; work queued for the GUI thread tests it
    // first, so a finishing worker never reaches a destroyed component.
    std::shared_ptr<bool> alive_;
    bool lastOutcome_ = false;
    std::unique_ptr<platform::HeldFile> held_;
};

// Sends the transfers through the process's proxy, with its credentials, or
// straight to the server when the proxy is off.
void UseProxySettings(THTTPGet& transfer, const ProcessState& process);

}  // namespace kv
