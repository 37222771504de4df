// The component object model's per-thread apartment state: CoInitialize / CoUninitialize and
// OleInitialize / OleUninitialize bookkeeping.
// Contract:
// - Each thread keeps its own count. The first successful initialisation on a thread answers
//   S_OK, each further one S_FALSE (and must be balanced by an uninitialisation as well).
//   Mixing apartment models on one thread answers RPC_E_CHANGED_MODE and counts nothing.
// - CoUninitialize / OleUninitialize on a thread that is not initialised do nothing.
// - OleInitialize initialises the apartment too; OleUninitialize releases that reference.
// - The state lives in the shared library libole32.so, so the program and any library that
//   binds "ole32.dll" at run time see the same apartments.
#pragma once

#include "platform/api/types.h"
#include "platform/com/hresult.h"

inline constexpr DWORD COINIT_APARTMENTTHREADED = 0x2;
inline constexpr DWORD COINIT_MULTITHREADED = 0x0;

extern "C" {
HRESULT CoInitialize(LPVOID reserved);
HRESULT CoInitializeEx(LPVOID reserved, DWORD model);
void CoUninitialize();
HRESULT OleInitialize(LPVOID reserved);
void OleUninitialize();
// Not a platform function: how many unbalanced initialisations the calling thread holds
// (0 = not initialised). For the object model's own checks and for tests.
ULONG CoApartmentDepth();
}
