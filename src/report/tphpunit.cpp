#include "report/tphpunit.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "run/config.h"
#include "report/report_address.h"

namespace kv {

namespace {
constexpr const char* ReportAgent = "Karvell";
constexpr std::size_t ReadChunk = 1024;
}  // namespace

// One report request. The worker owns its own copy of the address and
// touches nothing of the window, so the window may go while it runs.
struct TPHPunit::Delivery {
    std::thread worker;
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    // Set when the program ends while the request still runs: the worker then
    // makes no further call into the services, which may be gone.
    bool abandoned = false;

    bool Abandoned() {
        std::lock_guard lock(mutex);
        return abandoned;
    }
    void Finish() {
        std::lock_guard lock(mutex);
        done = true;
        finished.notify_all();
    }
};

namespace {

// The body is read to its end so the server sees a completed request; its
// content is of no interest.
void SendReport(platform::Internet& internet, const std::string& address, TPHPunit::Delivery& delivery) {
    const platform::NetHandle root = internet.Open(ReportAgent, platform::OpenTypePreconfig, "");
    if (root == nullptr || delivery.Abandoned()) return;
    const platform::NetHandle url = internet.OpenUrl(root, address, platform::FlagReload);
    if (delivery.Abandoned()) return;
    if (url != nullptr) {
        char buffer[ReadChunk];
        std::size_t got = 0;
        while (internet.Read(url, buffer, sizeof buffer, got) && got > 0)
            if (delivery.Abandoned()) return;
        if (delivery.Abandoned()) return;
        internet.Close(url);
    }
    internet.Close(root);
}

}  // namespace

TPHPunit::TPHPunit(const platform::Services& services) : services_(services) {}

TPHPunit::~TPHPunit() {
    for (const auto& delivery : deliveries_) {
        {
            std::lock_guard lock(delivery->mutex);
            delivery->abandoned = !delivery->done;
        }
        if (delivery->abandoned) delivery->worker.detach();
        else delivery->worker.join();
    }
}

void TPHPunit::MailPHP(const std::string& subject) {
    NavigateTo(BuildReportAddress({config::ReportServerBase, BuildReportPage(ListBox1), config::ReportRecipient1,
                                   subject, config::ReportRecipient2}));
}

void TPHPunit::NavigateTo(const std::string& address) {
    auto delivery = std::make_shared<Delivery>();
    platform::Internet& internet = *services_.internet;
    delivery->worker = std::thread([&internet, address, delivery] {
        try {
            SendReport(internet, address, *delivery);
        } catch (...) {
            // A report that cannot be sent is not noticed by the run.
        }
        delivery->Finish();
    });
    deliveries_.push_back(std::move(delivery));
}

void TPHPunit::WaitForDelivery(int milliseconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (const auto& delivery : deliveries_) {
        std::unique_lock lock(delivery->mutex);
        delivery->finished.wait_until(lock, deadline, [&] { return delivery->done; });
    }
}

}  // namespace kv
