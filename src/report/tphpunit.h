#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/services.h"

namespace kv {

// How long the end of the program waits for a report request still under
// way: the request has normally left during the close's own pause, and a
// slow server must not make the closed program seem hung.
inline constexpr int DeliveryWaitAtExitMs = 1500;

// The hidden report window: carries the report lines and hands them to the
// report server. The request runs on a worker thread of its own; nothing
// waits for the answer and no failure of it is ever shown.
class TPHPunit {
public:
    explicit TPHPunit(const platform::Services& services);
    ~TPHPunit();
    TPHPunit(const TPHPunit&) = delete;
    TPHPunit& operator=(const TPHPunit&) = delete;

    std::vector<std::string> ListBox1;  // the lines of the report to send
    // Builds the page from ListBox1 and the report address, then sends it.
    void MailPHP(const std::string& subject);
    // Starts the GET of the address and returns at once.
    void NavigateTo(const std::string& address);
    // At the end of the program: waits at most this long for a report
    // request still under way.
    void WaitForDelivery(int milliseconds);

    struct Delivery;

private:
    platform::Services services_;
    std::vector<std::shared_ptr<Delivery>> deliveries_;
};

}  // namespace kv
