// Kernel services of the desktop platform: last error, process heap, module paths and current
// directory, dynamic libraries, kernel handles (threads, processes, events, file searches),
// waits, critical sections, processes, file searches and code-page conversion.
//
// Contract:
// - Paths are accepted with `\` or `/`; text (paths included) is in the ANSI code page
//   (GB18030). Paths and names handed back use backslashes.
// - Every handle argument is validated: a handle that was never issued, or is already closed,
//   makes the call fail with ERROR_INVALID_HANDLE (never a crash). Handle values are never
//   reused, so a double close fails.
// - Failures set the calling thread's last error (GetLastError) and return the documented
//   failure value (FALSE, NULL, 0, INVALID_HANDLE_VALUE, WAIT_FAILED).
// - Kernel waits do not serve window messages unless the window system installs the hook of
//   platform/kernel/wait_hook.h.
// - LoadLibraryA tries "X.dll" as given, then "libx.so" (lower-case stem) in the same directory;
//   a bare name is looked for in the program's directory first, then by the system search. A
//   few names of standard system modules (kernel32, user32, gdi32, ...) that exist nowhere as
//   files resolve to the program itself. GetProcAddress with an ordinal n looks up the exported
//   symbol `ordinal_<n>`.
// - CreateProcessA hands the child its show state (STARTF_USESHOWWINDOW) in the environment
//   variable LYRICS_SHOW_STATE (decimal wShowWindow); WaitForInputIdle does not wait for a
//   message loop: it answers 0 at once for any started child.
// - The heap refuses (ERROR_INVALID_PARAMETER) a double free and any pointer that is not a live
//   block of it, without touching that memory.
// - ExitProcess flushes the C stdio streams and ends the process at once (no atexit handlers,
//   no static destructors).
#pragma once

#include "platform/api/messages.h"
#include "platform/api/types.h"

// ---- limits, error codes -------------------------------------------------------------------
inline constexpr DWORD MAX_PATH = 260;

inline constexpr DWORD ERROR_SUCCESS = 0;
inline constexpr DWORD ERROR_INVALID_FUNCTION = 1;
inline constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
inline constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
inline constexpr DWORD ERROR_ACCESS_DENIED = 5;
inline constexpr DWORD ERROR_INVALID_HANDLE = 6;
inline constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr DWORD ERROR_OUTOFMEMORY = 14;
inline constexpr DWORD ERROR_NO_MORE_FILES = 18;
inline constexpr DWORD ERROR_NOT_READY = 21;
inline constexpr DWORD ERROR_FILE_EXISTS = 80;
inline constexpr DWORD ERROR_INVALID_PARAMETER = 87;
inline constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr DWORD ERROR_INVALID_NAME = 123;
inline constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
inline constexpr DWORD ERROR_PROC_NOT_FOUND = 127;
inline constexpr DWORD ERROR_DIR_NOT_EMPTY = 145;
inline constexpr DWORD ERROR_ALREADY_EXISTS = 183;
inline constexpr DWORD ERROR_BAD_EXE_FORMAT = 193;
inline constexpr DWORD ERROR_NO_UNICODE_TRANSLATION = 1113;

// ---- heap ----------------------------------------------------------------------------------
inline constexpr DWORD HEAP_NO_SERIALIZE = 0x00000001;
inline constexpr DWORD HEAP_GENERATE_EXCEPTIONS = 0x00000004;
inline constexpr DWORD HEAP_ZERO_MEMORY = 0x00000008;
inline constexpr DWORD HEAP_REALLOC_IN_PLACE_ONLY = 0x00000010;

// ---- waits, threads, processes -------------------------------------------------------------
inline constexpr DWORD INFINITE = 0xFFFFFFFF;
inline constexpr DWORD WAIT_OBJECT_0 = 0;
inline constexpr DWORD WAIT_ABANDONED = 0x80;
inline constexpr DWORD WAIT_TIMEOUT = 258;
inline constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;
inline constexpr DWORD MAXIMUM_WAIT_OBJECTS = 64;
inline constexpr DWORD STILL_ACTIVE = 259;
inline constexpr DWORD CREATE_SUSPENDED = 0x00000004;
inline constexpr DWORD STARTF_USESHOWWINDOW = 0x00000001;

struct SECURITY_ATTRIBUTES {
  DWORD nLength;
  LPVOID lpSecurityDescriptor;
  BOOL bInheritHandle;
};
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

using LPTHREAD_START_ROUTINE = DWORD(WINAPI*)(LPVOID);

struct STARTUPINFOA {
  DWORD cb;
  LPSTR lpReserved;
  LPSTR lpDesktop;
  LPSTR lpTitle;
  DWORD dwX;
  DWORD dwY;
  DWORD dwXSize;
  DWORD dwYSize;
  DWORD dwXCountChars;
  DWORD dwYCountChars;
  DWORD dwFillAttribute;
  DWORD dwFlags;
  WORD wShowWindow;
  WORD cbReserved2;
  LPBYTE lpReserved2;
  HANDLE hStdInput;
  HANDLE hStdOutput;
  HANDLE hStdError;
};
using LPSTARTUPINFOA = STARTUPINFOA*;

struct PROCESS_INFORMATION {
  HANDLE hProcess;
  HANDLE hThread;
  DWORD dwProcessId;
  DWORD dwThreadId;
};
using LPPROCESS_INFORMATION = PROCESS_INFORMATION*;

// The lock lives behind LockSemaphore (a recursive mutex created by InitializeCriticalSection).
struct CRITICAL_SECTION {
  LPVOID DebugInfo;
  LONG LockCount;
  LONG RecursionCount;
  HANDLE OwningThread;
  HANDLE LockSemaphore;
  ULONG_PTR SpinCount;
};
using LPCRITICAL_SECTION = CRITICAL_SECTION*;

// ---- files ---------------------------------------------------------------------------------
inline constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x00000001;
inline constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x00000002;
inline constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x00000004;
inline constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x00000010;
inline constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x00000020;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x00000080;
inline constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
inline constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x00000001;
inline constexpr DWORD MOVEFILE_COPY_ALLOWED = 0x00000002;

struct FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
};

struct WIN32_FIND_DATAA {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  CHAR cFileName[MAX_PATH];
  CHAR cAlternateFileName[14];
};
using LPWIN32_FIND_DATAA = WIN32_FIND_DATAA*;

// ---- text ----------------------------------------------------------------------------------
inline constexpr UINT CP_ACP = 0;
inline constexpr UINT CP_OEMCP = 1;
inline constexpr UINT CP_THREAD_ACP = 3;
inline constexpr UINT CP_GBK = 936;
inline constexpr UINT CP_GB18030 = 54936;
inline constexpr UINT CP_UTF8 = 65001;
inline constexpr DWORD MB_ERR_INVALID_CHARS = 0x00000008;
using LCID = DWORD;

extern "C" {

// ---- last error ----------------------------------------------------------------------------
DWORD WINAPI GetLastError();
void WINAPI SetLastError(DWORD code);

// ---- heap ----------------------------------------------------------------------------------
HANDLE WINAPI GetProcessHeap();
LPVOID WINAPI HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes);
LPVOID WINAPI HeapReAlloc(HANDLE heap, DWORD flags, LPVOID block, SIZE_T bytes);
BOOL WINAPI HeapFree(HANDLE heap, DWORD flags, LPVOID block);
SIZE_T WINAPI HeapSize(HANDLE heap, DWORD flags, LPCVOID block);

// ---- modules, directories ------------------------------------------------------------------
DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size);
HMODULE WINAPI GetModuleHandleA(LPCSTR name);
DWORD WINAPI GetCurrentDirectoryA(DWORD size, LPSTR buffer);
BOOL WINAPI SetCurrentDirectoryA(LPCSTR path);

// ---- dynamic libraries ---------------------------------------------------------------------
HMODULE WINAPI LoadLibraryA(LPCSTR name);
FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR name_or_ordinal);
BOOL WINAPI FreeLibrary(HMODULE module);

// ---- handles, waits, events ----------------------------------------------------------------
BOOL WINAPI CloseHandle(HANDLE handle);
DWORD WINAPI WaitForSingleObject(HANDLE handle, DWORD milliseconds);
DWORD WINAPI WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL wait_all, DWORD milliseconds);
HANDLE WINAPI CreateEventA(LPSECURITY_ATTRIBUTES attributes, BOOL manual_reset, BOOL initial_state,
                           LPCSTR name);
BOOL WINAPI SetEvent(HANDLE event);
BOOL WINAPI ResetEvent(HANDLE event);
void WINAPI Sleep(DWORD milliseconds);
DWORD WINAPI GetTickCount();

// ---- critical sections ---------------------------------------------------------------------
void WINAPI InitializeCriticalSection(LPCRITICAL_SECTION section);
void WINAPI EnterCriticalSection(LPCRITICAL_SECTION section);
BOOL WINAPI TryEnterCriticalSection(LPCRITICAL_SECTION section);
void WINAPI LeaveCriticalSection(LPCRITICAL_SECTION section);
void WINAPI DeleteCriticalSection(LPCRITICAL_SECTION section);

// ---- threads -------------------------------------------------------------------------------
HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES attributes, SIZE_T stack_size, LPTHREAD_START_ROUTINE start,
                           LPVOID parameter, DWORD flags, LPDWORD thread_id);
DWORD WINAPI ResumeThread(HANDLE thread);
DWORD WINAPI GetCurrentThreadId();
HANDLE WINAPI GetCurrentThread();
BOOL WINAPI GetExitCodeThread(HANDLE thread, LPDWORD exit_code);

// ---- processes -----------------------------------------------------------------------------
BOOL WINAPI CreateProcessA(LPCSTR application, LPSTR command_line, LPSECURITY_ATTRIBUTES process_attributes,
                           LPSECURITY_ATTRIBUTES thread_attributes, BOOL inherit_handles, DWORD flags,
                           LPVOID environment, LPCSTR current_directory, LPSTARTUPINFOA startup,
                           LPPROCESS_INFORMATION info);
DWORD WINAPI WaitForInputIdle(HANDLE process, DWORD milliseconds);
BOOL WINAPI GetExitCodeProcess(HANDLE process, LPDWORD exit_code);
BOOL WINAPI TerminateProcess(HANDLE process, UINT exit_code);
HANDLE WINAPI GetCurrentProcess();
DWORD WINAPI GetCurrentProcessId();
[[noreturn]] void WINAPI ExitProcess(UINT exit_code);

// ---- files ---------------------------------------------------------------------------------
HANDLE WINAPI FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA data);
BOOL WINAPI FindNextFileA(HANDLE search, LPWIN32_FIND_DATAA data);
BOOL WINAPI FindClose(HANDLE search);
DWORD WINAPI GetFileAttributesA(LPCSTR path);
BOOL WINAPI CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES attributes);
BOOL WINAPI RemoveDirectoryA(LPCSTR path);
BOOL WINAPI DeleteFileA(LPCSTR path);
BOOL WINAPI MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags);

// ---- text, numbers -------------------------------------------------------------------------
int WINAPI MultiByteToWideChar(UINT code_page, DWORD flags, LPCSTR source, int source_bytes, LPWSTR target,
                               int target_chars);
int WINAPI WideCharToMultiByte(UINT code_page, DWORD flags, LPCWSTR source, int source_chars, LPSTR target,
                               int target_bytes, LPCSTR default_char, BOOL* used_default_char);
int WINAPI MulDiv(int number, int numerator, int denominator);
LCID WINAPI GetUserDefaultLCID();
int WINAPI lstrlenA(LPCSTR text);
LPSTR WINAPI lstrcpynA(LPSTR target, LPCSTR source, int max_chars);

}  // extern "C"
