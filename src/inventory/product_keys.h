#pragma once
#include <string>
#include <vector>

namespace kv {

// The product keys with which the products of the family call the wizard, in
// lower case: the keys of the product table and "universal", the caller of
// the VO edition that has a key of its own.
std::vector<std::string> CallingProductKeys();

}  // namespace kv
