#include "platform/com/typelib.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>

#include "platform/com/class_table.h"
#include "platform/com/counted.h"
#include "platform/com/registry.h"
#include "platform/com/type_info_base.h"
#include "platform/kernel/codepage.h"
#include "platform/kernel/paths.h"

namespace platform::com {
namespace {

struct ClassLine {
  std::u16string name;
  std::u16string target;  // "{clsid}" or a ProgID
};

HRESULT resolve_clsid(const std::u16string& target, CLSID* clsid) {
  if (!target.empty() && target[0] == u'{') return CLSIDFromString(target.c_str(), clsid);
  return CLSIDFromProgID(target.c_str(), clsid);
}

class CoclassTypeInfo final : public TypeInfoBase {
 public:
  explicit CoclassTypeInfo(ClassLine line) : line_(std::move(line)) {}
  HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    CLSID clsid{};
    if (HRESULT hr = resolve_clsid(line_.target, &clsid); FAILED(hr)) return hr;
    return CoCreateInstance(clsid, outer, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, iid, object);
  }
  const ClassLine& line() const { return line_; }
  // Type libraries are reference counted for real; their classes live as long as they do.
  ULONG AddRef() override { return owner_->AddRef(); }
  ULONG Release() override { return owner_->Release(); }
  void set_owner(ITypeLib* owner) { owner_ = owner; }

 protected:
  TYPEKIND kind() const override { return TKIND_COCLASS; }
  GUID guid() const override {
    CLSID clsid{};
    resolve_clsid(line_.target, &clsid);
    return clsid;
  }
  const char16_t* type_name() const override { return line_.name.c_str(); }

 private:
  ClassLine line_;
  ITypeLib* owner_ = nullptr;
};

class FileTypeLib final : public Counted<ITypeLib> {
 public:
  FileTypeLib(std::u16string name, std::vector<ClassLine> lines)
      : Counted(IID_ITypeLib), name_(std::move(name)) {
    for (ClassLine& l : lines) {
      classes_.push_back(std::make_unique<CoclassTypeInfo>(std::move(l)));
      classes_.back()->set_owner(this);
    }
  }

  UINT GetTypeInfoCount() override { return static_cast<UINT>(classes_.size()); }
  HRESULT GetTypeInfo(UINT index, ITypeInfo** info) override {
    if (info == nullptr) return E_INVALIDARG;
    *info = nullptr;
    if (index >= classes_.size()) return TYPE_E_ELEMENTNOTFOUND;
    AddRef();
    *info = classes_[index].get();
    return S_OK;
  }
  HRESULT GetTypeInfoType(UINT index, TYPEKIND* kind) override {
    if (kind == nullptr) return E_INVALIDARG;
    if (index >= classes_.size()) return TYPE_E_ELEMENTNOTFOUND;
    *kind = TKIND_COCLASS;
    return S_OK;
  }
  HRESULT GetTypeInfoOfGuid(const GUID&, ITypeInfo** info) override {
    if (info != nullptr) *info = nullptr;
    return TYPE_E_ELEMENTNOTFOUND;
  }
  HRESULT GetLibAttr(TLIBATTR** attr) override {
    if (attr != nullptr) *attr = nullptr;
    return E_NOTIMPL;
  }
  HRESULT GetTypeComp(ITypeComp** comp) override {
    if (comp != nullptr) *comp = nullptr;
    return E_NOTIMPL;
  }
  HRESULT GetDocumentation(INT index, BSTR* name, BSTR* doc, DWORD* help_context, BSTR* help_file) override {
    if (doc != nullptr) *doc = nullptr;
    if (help_context != nullptr) *help_context = 0;
    if (help_file != nullptr) *help_file = nullptr;
    if (index == -1) {
      if (name != nullptr) *name = SysAllocString(name_.c_str());
      return S_OK;
    }
    if (index < 0 || static_cast<std::size_t>(index) >= classes_.size()) return TYPE_E_ELEMENTNOTFOUND;
    if (name != nullptr)
      *name = SysAllocString(classes_[static_cast<std::size_t>(index)]->line().name.c_str());
    return S_OK;
  }
  HRESULT IsName(LPOLESTR name, ULONG, BOOL* found) override {
    if (name == nullptr || found == nullptr) return E_INVALIDARG;
    *found = FALSE;
    for (const auto& c : classes_) {
      if (same_name(c->line().name, name)) *found = TRUE;
    }
    return S_OK;
  }
  HRESULT FindName(LPOLESTR name, ULONG, ITypeInfo** infos, MEMBERID* ids, USHORT* found) override {
    if (name == nullptr || infos == nullptr || ids == nullptr || found == nullptr) return E_INVALIDARG;
    USHORT room = *found;
    USHORT filled = 0;
    for (const auto& c : classes_) {
      if (filled >= room) break;
      if (!same_name(c->line().name, name)) continue;
      AddRef();
      infos[filled] = c.get();
      ids[filled] = MEMBERID_NIL;
      ++filled;
    }
    *found = filled;
    return S_OK;
  }
  void ReleaseTLibAttr(TLIBATTR*) override {}

  const std::u16string& name() const { return name_; }
  std::vector<ClassLine> lines() const {
    std::vector<ClassLine> out;
    for (const auto& c : classes_) out.push_back(c->line());
    return out;
  }

 private:
  ~FileTypeLib() override = default;

  std::u16string name_;
  std::vector<std::unique_ptr<CoclassTypeInfo>> classes_;
};

struct Registered {
  std::mutex lock;
  std::vector<std::u16string> paths;
};

Registered& registered() {
  static Registered r;
  return r;
}

std::string system_path(LPCOLESTR file) {
  std::u16string_view wide(file);
  if (wide.find(u'\\') == std::u16string_view::npos && !wide.empty() && wide[0] == u'/') {
    return codepage::utf16_to_utf8(wide);
  }
  return paths::to_system(codepage::utf16_to_ansi(wide));
}

}  // namespace

std::vector<std::u16string> registered_type_libraries() {
  Registered& r = registered();
  std::lock_guard guard(r.lock);
  return r.paths;
}

}  // namespace platform::com

HRESULT LoadTypeLib(LPCOLESTR file, ITypeLib** library) {
  using namespace platform::com;
  if (file == nullptr || library == nullptr) return E_INVALIDARG;
  *library = nullptr;
  std::ifstream in(system_path(file));
  if (!in) return TYPE_E_CANTLOADLIBRARY;
  std::string line;
  if (!std::getline(in, line) || line.rfind("LYRTLB 1", 0) != 0) return TYPE_E_INVDATAREAD;
  std::u16string name;
  std::vector<ClassLine> classes;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string keyword, first, second, extra;
    words >> keyword >> first >> second >> extra;
    if (keyword == "library" && !first.empty() && second.empty() && classes.empty()) {
      name = platform::codepage::utf8_to_utf16(first);
    } else if (keyword == "class" && !second.empty() && extra.empty()) {
      classes.push_back(
          {platform::codepage::utf8_to_utf16(first), platform::codepage::utf8_to_utf16(second)});
    } else {
      return TYPE_E_INVDATAREAD;
    }
  }
  *library = new FileTypeLib(name, std::move(classes));
  return S_OK;
}

HRESULT RegisterTypeLib(ITypeLib* library, LPCOLESTR full_path, LPCOLESTR) {
  using namespace platform::com;
  if (library == nullptr || full_path == nullptr) return E_INVALIDARG;
  BSTR name = nullptr;
  library->GetDocumentation(-1, &name, nullptr, nullptr, nullptr);
  std::u16string prefix = name == nullptr ? u"" : std::u16string(name, SysStringLen(name));
  SysFreeString(name);
  for (UINT i = 0; i < library->GetTypeInfoCount(); ++i) {
    ITypeInfo* info = nullptr;
    if (FAILED(library->GetTypeInfo(i, &info))) continue;
    TYPEATTR* attr = nullptr;
    BSTR class_name = nullptr;
    info->GetDocumentation(MEMBERID_NIL, &class_name, nullptr, nullptr, nullptr);
    if (SUCCEEDED(info->GetTypeAttr(&attr))) {
      CLSID clsid = attr->guid;
      info->ReleaseTypeAttr(attr);
      if (!prefix.empty() && class_name != nullptr) {
        register_progid(prefix + u"." + std::u16string(class_name, SysStringLen(class_name)), clsid);
      }
    }
    SysFreeString(class_name);
    info->Release();
  }
  // Registering a file again renews its entry, as in a registry, rather than adding one.
  Registered& r = registered();
  std::lock_guard guard(r.lock);
  if (std::find(r.paths.begin(), r.paths.end(), full_path) == r.paths.end()) r.paths.emplace_back(full_path);
  return S_OK;
}
