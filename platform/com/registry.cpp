#include "platform/com/registry.h"

#include <cstdio>
#include <mutex>
#include <vector>

#include "platform/com/apartment.h"
#include "platform/com/builtin_classes.h"
#include "platform/com/class_table.h"

namespace platform::com {
namespace {

// The process's one class registry, as the platform keeps one per machine.
struct Registry {
  std::mutex lock;
  std::vector<ClassEntry> classes;
};

Registry& registry() {
  static Registry r;
  static std::once_flag filled;
  std::call_once(filled, [] { r.classes = builtin_classes(); });
  return r;
}

int hex_value(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

bool read_hex(LPCOLESTR& p, int digits, std::uint64_t* out) {
  std::uint64_t v = 0;
  for (int i = 0; i < digits; ++i) {
    int h = hex_value(*p);
    if (h < 0) return false;
    v = v * 16 + static_cast<std::uint64_t>(h);
    ++p;
  }
  *out = v;
  return true;
}

bool expect(LPCOLESTR& p, char16_t c) {
  if (*p != c) return false;
  ++p;
  return true;
}

}  // namespace

void register_class(const ClassEntry& entry) {
  Registry& r = registry();
  std::lock_guard guard(r.lock);
  std::erase_if(r.classes, [&](const ClassEntry& e) { return same_name(e.progid, entry.progid); });
  r.classes.push_back(entry);
}

bool register_progid(const std::u16string& progid, const CLSID& clsid) {
  Registry& r = registry();
  std::lock_guard guard(r.lock);
  for (const ClassEntry& e : r.classes) {
    if (e.clsid == clsid) {
      ClassEntry alias{progid, clsid, e.factory};
      std::erase_if(r.classes, [&](const ClassEntry& x) { return same_name(x.progid, progid); });
      r.classes.push_back(alias);
      return true;
    }
  }
  return false;
}

bool revoke_class(const CLSID& clsid) {
  Registry& r = registry();
  std::lock_guard guard(r.lock);
  return std::erase_if(r.classes, [&](const ClassEntry& e) { return e.clsid == clsid; }) > 0;
}

std::u16string guid_text(const GUID& g) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1, g.Data2,
                g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6],
                g.Data4[7]);
  std::string s = buffer;
  return std::u16string(s.begin(), s.end());
}

}  // namespace platform::com

using platform::com::ClassEntry;

HRESULT CLSIDFromString(LPCOLESTR text, CLSID* clsid) {
  if (text == nullptr || clsid == nullptr) return E_INVALIDARG;
  LPCOLESTR p = text;
  std::uint64_t a = 0, b = 0, c = 0, d = 0, e = 0;
  using platform::com::expect;
  using platform::com::read_hex;
  if (!expect(p, u'{') || !read_hex(p, 8, &a) || !expect(p, u'-') || !read_hex(p, 4, &b) ||
      !expect(p, u'-') || !read_hex(p, 4, &c) || !expect(p, u'-') || !read_hex(p, 4, &d) ||
      !expect(p, u'-') || !read_hex(p, 12, &e) || !expect(p, u'}') || *p != 0) {
    return CO_E_CLASSSTRING;
  }
  CLSID g{};
  g.Data1 = static_cast<std::uint32_t>(a);
  g.Data2 = static_cast<std::uint16_t>(b);
  g.Data3 = static_cast<std::uint16_t>(c);
  g.Data4[0] = static_cast<BYTE>(d >> 8);
  g.Data4[1] = static_cast<BYTE>(d);
  for (int i = 0; i < 6; ++i) g.Data4[2 + i] = static_cast<BYTE>(e >> (8 * (5 - i)));
  *clsid = g;
  return S_OK;
}

HRESULT CLSIDFromProgID(LPCOLESTR progid, CLSID* clsid) {
  if (progid == nullptr || clsid == nullptr) return E_INVALIDARG;
  auto& r = platform::com::registry();
  std::lock_guard guard(r.lock);
  for (const ClassEntry& e : r.classes) {
    if (platform::com::same_name(e.progid, progid)) {
      *clsid = e.clsid;
      return S_OK;
    }
  }
  return CO_E_CLASSSTRING;
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (CoApartmentDepth() == 0) return CO_E_NOTINITIALIZED;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  platform::com::ClassFactory factory = nullptr;
  {
    auto& r = platform::com::registry();
    std::lock_guard guard(r.lock);
    for (const ClassEntry& e : r.classes) {
      if (e.clsid == clsid) factory = e.factory;
    }
  }
  if (factory == nullptr) return REGDB_E_CLASSNOTREG;
  return factory(context, iid, object);
}

HRESULT OleRun(IUnknown* object) {
  if (object == nullptr) return E_INVALIDARG;
  IRunnableObject* runnable = nullptr;
  if (FAILED(object->QueryInterface(IID_IRunnableObject, reinterpret_cast<void**>(&runnable)))) return S_OK;
  HRESULT hr = runnable->Run(nullptr);
  runnable->Release();
  return hr;
}
