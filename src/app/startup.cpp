#include "wizard/tupinew.h"

namespace kv {

bool TUpInew::FormCreate(const CallParameters&) { return true; }
void TUpInew::FormShow() {}
void TUpInew::FormResize() {}
int TUpInew::GetCountryCode() const { return 49; }
std::string TUpInew::GetLanguageName() const { return "Deutsch"; }
std::string TUpInew::GetSystemLanguageName() const { return {}; }
int TUpInew::GetScreenDpi() const { return 96; }

}  // namespace kv
