// The runtime callback's codes: the one routine (code, argument 1, argument 2) -> result through
// which support libraries call into the runtime. Every library is handed it at start-up (notify
// code 1, image.h) and keeps it in a RuntimeLink (runtime_link.h).
// Contract: codes outside this list answer 0. Pointers travel in the 64-bit argument words;
// "two words at argument 1" are two pointer-sized words (handles) or two u32 (ids). A code
// marked "does not return" ends the program inside the call.
#pragma once

#include <cstdint>

namespace runtime::callback {

// Stores the program's large and small icon into the two handles at argument 1.
inline constexpr std::int32_t kLoadIcons = 1000;
// Answers the window system's collection of loaded window templates.
inline constexpr std::int32_t kWindowCollection = 1001;
// Answers the unit type descriptor of type reference argument 1, or 0.
inline constexpr std::int32_t kUnitType = 1002;
// Answer 1, and the runtime's version 0x20005.
inline constexpr std::int32_t kOne = 1004;
inline constexpr std::int32_t kVersion = 1005;
// Wraps window handle argument 1 in a window object, which it answers.
inline constexpr std::int32_t kWrapWindow = 1007;
// Destroys window object argument 1.
inline constexpr std::int32_t kDestroyObject = 1008;
// Answers the window handle of window object argument 1.
inline constexpr std::int32_t kWrappedWindow = 1010;
// Argument 1 points at three words (window handle, routine, argument): run the routine while idle.
inline constexpr std::int32_t kAddIdle = 1012;
// Removes the idle routine of window handle argument 1.
inline constexpr std::int32_t kRemoveIdle = 1013;
// Answers 1 when window handle argument 1 belongs to a unit of a loaded window.
inline constexpr std::int32_t kIsUnitWindow = 1014;
// The unit (window id argument 1, unit id argument 2) lost its native window.
inline constexpr std::int32_t kUnitGone = 2000;
// Converts the numeric argument record at argument 1 to an integer; any other is a runtime error.
inline constexpr std::int32_t kToInteger = 2001;
// Answer the program's directory (no trailing backslash) and its file name.
inline constexpr std::int32_t kProgramDirectory = 2003;
inline constexpr std::int32_t kProgramFile = 2004;
// Answer the live unit object of (window id argument 1, unit id argument 2); when there is none,
// kFindUnit answers 0 and kFindUnitOrFail reports "not loaded" and does not return.
inline constexpr std::int32_t kFindUnit = 2006;
inline constexpr std::int32_t kFindUnitOrFail = 2007;
// Raise the event request at argument 1 (event_request.h: simple, typed); answer 1 when a
// handler ran.
inline constexpr std::int32_t kRaiseEvent = 2008;
inline constexpr std::int32_t kRaiseTypedEvent = 2031;
// Process pending window messages, then hold back or let through event delivery again.
inline constexpr std::int32_t kPumpAndBlock = 2009;
inline constexpr std::int32_t kPumpAndUnblock = 2010;
// Copies the event being delivered (window id, unit id) into the two u32 at argument 1;
// answers 1 when there is one.
inline constexpr std::int32_t kEventSource = 2017;
// Processes pending window messages.
inline constexpr std::int32_t kPump = 2018;
// Frees the array at argument 2 whose element type tag is argument 1.
inline constexpr std::int32_t kFreeArray = 2023;
// Allocates argument 1 bytes; argument 2 = 0 makes failure a runtime error, else it answers 0.
inline constexpr std::int32_t kAllocate = 2024;
// Frees block argument 1.
inline constexpr std::int32_t kFree = 2025;
// Resizes block argument 1 to argument 2 bytes and answers the block.
inline constexpr std::int32_t kResize = 2026;
// Reports the runtime error with message argument 1; does not return.
inline constexpr std::int32_t kReportError = 2027;
// Ends the program with exit code argument 1; does not return.
inline constexpr std::int32_t kEndProgram = 2028;
// Answers the image's build mode.
inline constexpr std::int32_t kBuildMode = 2030;
// Answers the live window handle of loaded window id argument 1, or 0.
inline constexpr std::int32_t kWindowHandle = 2033;
// Releases the object record at argument 1 as the object type's Clear does.
inline constexpr std::int32_t kReleaseObject = 2035;
// Builds the pop-up menu of the sub-items of menu unit (window id argument 1, unit id argument
// 2), owner-drawn when that window asks for it. Answers the menu, which the caller destroys, or
// 0 when the unit is no menu record with sub-items of a loaded window.
inline constexpr std::int32_t kBuildPopupMenu = 2036;
// Argument 1 is the routine void(void* object_record) that kReleaseObject runs from now on;
// 0 removes it. The object types install theirs at start-up.
inline constexpr std::int32_t kInstallObjectRelease = 2037;

}  // namespace runtime::callback
