#pragma once
#include "platform/process.h"

namespace kv::test::start {

// What the system's process start answers, for the scripts of the processes
// double, so that a unit test meets only outcomes the real service gives.
// win_tests checks the first three against the Windows service; Wine asks no
// consent and runs every program as administrator, so the last two are the
// system's documented codes (ERROR_ELEVATION_REQUIRED, ERROR_CANCELLED).
inline constexpr platform::ProcessOutcome Started{platform::StartResult::Started, 0};
inline constexpr platform::ProcessOutcome MissingProgram{platform::StartResult::Failed, 2};
inline constexpr platform::ProcessOutcome NoProgram{platform::StartResult::Failed, 193};
inline constexpr platform::ProcessOutcome ElevationRequired{platform::StartResult::ElevationRequired, 740};
inline constexpr platform::ProcessOutcome Declined{platform::StartResult::Declined, 1223};

}  // namespace kv::test::start
