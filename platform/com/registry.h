// Creating objects: the class registry by ProgID and CLSID, CLSID parsing, CoCreateInstance and
// OleRun.
// Contract:
// - The registry holds the built-in classes ("WinHttp.WinHttpRequest.5.1",
//   "MSXML2.ServerXMLHTTP.6.0", "MSXML2.ServerXMLHTTP.5.0", "adodb.stream") from the first use
//   on; more can be registered, and any can be revoked. ProgIDs match without regard to case.
// - CLSIDFromString takes "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}" only (CO_E_CLASSSTRING
//   otherwise); CLSIDFromProgID answers CO_E_CLASSSTRING for a ProgID nobody registered.
// - CoCreateInstance needs an initialised apartment on the calling thread
//   (CO_E_NOTINITIALIZED otherwise), answers REGDB_E_CLASSNOTREG for an unknown CLSID and
//   CLASS_E_NOAGGREGATION for an outer object; the class's factory sees the class context.
// - OleRun runs an object that gives IRunnableObject and accepts every other object as running.
#pragma once

#include <string>

#include "platform/com/typeinfo.h"

using LPBINDCTX = void*;

inline constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
inline constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
inline constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
inline constexpr DWORD CLSCTX_REMOTE_SERVER = 0x10;

inline constexpr IID IID_IRunnableObject = {0x00000126, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

struct IRunnableObject : IUnknown {
  virtual HRESULT GetRunningClass(CLSID* clsid) = 0;
  virtual HRESULT Run(LPBINDCTX context) = 0;
  virtual BOOL IsRunning() = 0;
  virtual HRESULT LockRunning(BOOL lock, BOOL last_unlock_closes) = 0;
  virtual HRESULT SetContainedObject(BOOL contained) = 0;
};

HRESULT CLSIDFromString(LPCOLESTR text, CLSID* clsid);
HRESULT CLSIDFromProgID(LPCOLESTR progid, CLSID* clsid);
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** object);
HRESULT OleRun(IUnknown* object);

namespace platform::com {

// Makes a new object of the class for the given class context; answers its IUnknown-based
// interface `iid` with one reference.
using ClassFactory = HRESULT (*)(DWORD context, REFIID iid, void** object);

struct ClassEntry {
  std::u16string progid;
  CLSID clsid{};
  ClassFactory factory = nullptr;
};

// Adds a class (replacing one of the same ProgID). Revoking removes a class by CLSID with every
// ProgID it has; false when it was not registered.
void register_class(const ClassEntry& entry);
bool revoke_class(const CLSID& clsid);
// One more ProgID for a registered class; false when the CLSID is unknown.
bool register_progid(const std::u16string& progid, const CLSID& clsid);

// The text form "{xxxxxxxx-...}" of a GUID.
std::u16string guid_text(const GUID& guid);

}  // namespace platform::com
