#include "wizard/tupinew.h"

namespace kv {

void TUpInew::DLButClick() {}
void TUpInew::INGetFileProgress(void*, std::int32_t, std::int32_t) {}
void TUpInew::INGetFileDoneFile(void*, const std::string&, std::int32_t) {}
void TUpInew::INGetFileError(void*) {}
void TUpInew::StartProcess(const std::string&, bool) {}
void TUpInew::RunProgram(const std::string&, const std::string&, bool, const std::string&) {}

}  // namespace kv
