#include "report/tphpunit.h"

namespace kv {

void TPHPunit::MailPHP(const std::string&) {}
void TPHPunit::WaitForDelivery(int) {}

}  // namespace kv
