// The runtime callback: the one routine (code, argument 1, argument 2) -> result through which
// support libraries call into the runtime. Handed to every library at start-up.
// Contract: codes outside the table answer 0. Pointers travel in the 64-bit argument words;
// "two words at argument 1" are two pointer-sized words (handles) or two u32 (ids).
#pragma once

#include <cstdint>

namespace runtime {

namespace callback {
inline constexpr std::int32_t kLoadIcons = 1000;
inline constexpr std::int32_t kWindowCollection = 1001;
inline constexpr std::int32_t kUnitType = 1002;
inline constexpr std::int32_t kOne = 1004;
inline constexpr std::int32_t kVersion = 1005;
inline constexpr std::int32_t kWrapWindow = 1007;
inline constexpr std::int32_t kDestroyObject = 1008;
inline constexpr std::int32_t kWrappedWindow = 1010;
inline constexpr std::int32_t kAddIdle = 1012;
inline constexpr std::int32_t kRemoveIdle = 1013;
inline constexpr std::int32_t kIsUnitWindow = 1014;
inline constexpr std::int32_t kUnitGone = 2000;
inline constexpr std::int32_t kToInteger = 2001;
inline constexpr std::int32_t kProgramDirectory = 2003;
inline constexpr std::int32_t kProgramFile = 2004;
inline constexpr std::int32_t kFindUnit = 2006;
inline constexpr std::int32_t kFindUnitOrFail = 2007;
inline constexpr std::int32_t kRaiseEvent = 2008;
inline constexpr std::int32_t kPumpAndBlock = 2009;
inline constexpr std::int32_t kPumpAndUnblock = 2010;
inline constexpr std::int32_t kEventSource = 2017;
inline constexpr std::int32_t kPump = 2018;
inline constexpr std::int32_t kFreeArray = 2023;
inline constexpr std::int32_t kAllocate = 2024;
inline constexpr std::int32_t kFree = 2025;
inline constexpr std::int32_t kResize = 2026;
inline constexpr std::int32_t kReportError = 2027;
inline constexpr std::int32_t kEndProgram = 2028;
inline constexpr std::int32_t kBuildMode = 2030;
inline constexpr std::int32_t kRaiseTypedEvent = 2031;
inline constexpr std::int32_t kWindowHandle = 2033;
inline constexpr std::int32_t kReleaseObject = 2035;
}  // namespace callback

std::intptr_t runtime_callback(std::int32_t code, std::intptr_t arg1, std::intptr_t arg2);

}  // namespace runtime
