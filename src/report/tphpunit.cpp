#include "report/tphpunit.h"

namespace kv {

void TPHPunit::MailPHP(const std::string&) {}

}  // namespace kv
