#include "wizard/tupinew.h"

namespace kv {

void TUpInew::ComposeReport(int reasonCode) { (void)reasonCode; if (ReportSent != 0) return; ReportSent = 100; }

}  // namespace kv
