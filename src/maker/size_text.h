#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace kv::maker {

// Whether the catalogue's size text `sz` ("1,2 MB", "850 KB", "1.468.006
// Bytes") states `bytes`, to the digits it gives, counted in units of 1024 or
// of 1000; nullopt when it is no size text at all.
std::optional<bool> SizeTextStates(const std::string& sz, std::uintmax_t bytes);

// `bytes` in the unit and with the decimals of `sz` ("1,4 MB"), for the maker
// to put in its place; the plain byte count when `sz` is no size text.
std::string SizeInTheWordingOf(const std::string& sz, std::uintmax_t bytes);

}  // namespace kv::maker
