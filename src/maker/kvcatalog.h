#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "maker/catalogue_check.h"

namespace kv::maker {

// The maker's tool: explain, matrix or check a catalogue (see Usage). Writes
// UTF-8 to `out`, complaints to `err`; returns the exit status: for check 0
// clean, 1 warnings, 2 errors; for the others 0; 2 when the tool cannot answer.
// `signatureCheck` is unavailable where no signature can be checked.
int RunKvcatalog(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                 const SignatureCheck& signatureCheck);

}  // namespace kv::maker
