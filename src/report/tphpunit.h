#pragma once
#include <string>
#include <vector>

#include "platform/services.h"

namespace kv {

// The hidden report window: carries the report lines and hands them to the
// report server.
class TPHPunit {
public:
    explicit TPHPunit(const platform::Services& services) : services_(services) {}
    std::vector<std::string> ListBox1;  // the lines of the report to send
    void MailPHP(const std::string& subject);
    // At the end of the program: waits at most this long for a report
    // request still under way.
    void WaitForDelivery(int milliseconds);

private:
    platform::Services services_;
};

}  // namespace kv
