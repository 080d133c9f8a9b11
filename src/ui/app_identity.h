#pragma once

namespace kv::ui {

// The application-level window: products and a second instance find the
// running wizard by this class and title (the title search ignores case).
// The title is also the caption of the program's plain message windows.
inline constexpr char kApplicationClass[] = "TApplication";
inline constexpr char kApplicationTitle[] = "KVUpdate";
inline constexpr char kApplicationSearchTitle[] = "KvUpdate";

}  // namespace kv::ui
