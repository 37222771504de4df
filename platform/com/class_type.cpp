#include <cstring>
#include <deque>

#include "platform/com/class_table.h"
#include "platform/com/type_info_base.h"

namespace platform::com {

bool same_name(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; };
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

namespace {

// Builds TYPEDESCs from table types; their storage lives as long as the builder.
class TypeDescStore {
 public:
  TYPEDESC make(const TypeRef& t) {
    TYPEDESC d{};
    d.vt = t.vt;
    if (t.vt == VT_PTR || t.vt == VT_SAFEARRAY) {
      store_.push_back(make(TypeRef{t.inner, t.element}));
      d.lptdesc = &store_.back();
    } else if (t.vt == VT_USERDEFINED) {
      d.hreftype = t.ref;
    }
    return d;
  }

 private:
  std::deque<TYPEDESC> store_;
};

// A type that members refer to: an enumeration, a dispatch interface or an alias.
class ReferencedTypeInfo final : public TypeInfoBase {
 public:
  ReferencedTypeInfo(const ReferencedType& decl, ITypeInfo& owner, TypeDescStore& store)
      : decl_(decl), owner_(owner), alias_(store.make(decl.alias)) {}
  HRESULT GetRefTypeInfo(HREFTYPE ref, ITypeInfo** info) override { return owner_.GetRefTypeInfo(ref, info); }

 protected:
  TYPEKIND kind() const override { return decl_.kind; }
  void describe(TYPEATTR& a) const override {
    if (decl_.kind == TKIND_ALIAS) a.tdescAlias = alias_;
  }
  const char16_t* type_name() const override { return decl_.name.c_str(); }

 private:
  const ReferencedType& decl_;
  ITypeInfo& owner_;
  TYPEDESC alias_;
};

class ClassTypeComp final : public ITypeComp {
 public:
  ClassTypeComp(const ClassType& type, ITypeInfo& info, const std::vector<FUNCDESC>& funcs,
                const std::vector<VARDESC>& vars, const std::vector<int>& slot)
      : type_(type), info_(info), funcs_(funcs), vars_(vars), slot_(slot) {}

  HRESULT QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_ITypeComp)) {
      AddRef();
      *out = static_cast<ITypeComp*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override { return --references_; }

  HRESULT Bind(LPOLESTR name, ULONG, WORD flags, ITypeInfo** info, DESCKIND* kind, BINDPTR* bound) override {
    if (name == nullptr || info == nullptr || kind == nullptr || bound == nullptr) return E_INVALIDARG;
    *info = nullptr;
    *kind = DESCKIND_NONE;
    bound->lpfuncdesc = nullptr;
    const auto& members = type_.decl().members;
    for (std::size_t i = 0; i < members.size(); ++i) {
      const MemberDecl& m = members[i];
      if (!same_name(m.name, name)) continue;
      if (m.desc == DESCKIND_FUNCDESC) {
        if (flags != 0 && (m.kind & flags) == 0) continue;
        *kind = DESCKIND_FUNCDESC;
        bound->lpfuncdesc = const_cast<FUNCDESC*>(&funcs_[static_cast<std::size_t>(slot_[i])]);
      } else if (m.desc == DESCKIND_TYPECOMP) {
        *kind = DESCKIND_TYPECOMP;
        AddRef();
        bound->lptcomp = this;
        return S_OK;
      } else if (m.desc == DESCKIND_NONE) {
        continue;
      } else {
        *kind = m.desc;
        bound->lpvardesc = const_cast<VARDESC*>(&vars_[static_cast<std::size_t>(slot_[i])]);
      }
      info_.AddRef();
      *info = &info_;
      return S_OK;
    }
    return TYPE_E_ELEMENTNOTFOUND;
  }
  HRESULT BindType(LPOLESTR, ULONG, ITypeInfo** info, ITypeComp** comp) override {
    if (info != nullptr) *info = nullptr;
    if (comp != nullptr) *comp = nullptr;
    return TYPE_E_ELEMENTNOTFOUND;
  }

 private:
  const ClassType& type_;
  ITypeInfo& info_;
  const std::vector<FUNCDESC>& funcs_;
  const std::vector<VARDESC>& vars_;
  const std::vector<int>& slot_;
  std::atomic<ULONG> references_{1};
};

}  // namespace

class ClassTypeInfo final : public TypeInfoBase {
 public:
  explicit ClassTypeInfo(const ClassType& type) : type_(type), comp_(type, *this, funcs_, vars_, slot_) {
    const auto& members = type.decl().members;
    params_.resize(members.size());
    for (std::size_t i = 0; i < members.size(); ++i) {
      const MemberDecl& m = members[i];
      for (const ParamDecl& p : m.params) {
        ELEMDESC e{};
        e.tdesc = store_.make(p.type);
        e.paramdesc.wParamFlags = p.flags;
        params_[i].push_back(e);
      }
      if (m.desc == DESCKIND_FUNCDESC) {
        FUNCDESC f{};
        f.memid = m.id;
        f.funckind = FUNC_DISPATCH;
        f.invkind = m.kind;
        f.callconv = CC_STDCALL;
        f.cParams = static_cast<SHORT>(m.params.size());
        f.cParamsOpt = m.optional;
        f.lprgelemdescParam = params_[i].empty() ? nullptr : params_[i].data();
        f.elemdescFunc.tdesc = store_.make(m.result);
        slot_.push_back(static_cast<int>(funcs_.size()));
        funcs_.push_back(f);
      } else {
        VARDESC v{};
        v.memid = m.id;
        v.varkind = VAR_DISPATCH;
        v.elemdescVar.tdesc = store_.make(m.result);
        slot_.push_back(static_cast<int>(vars_.size()));
        vars_.push_back(v);
      }
    }
    for (const ReferencedType& r : type.decl().referenced) {
      referenced_.push_back(std::make_unique<ReferencedTypeInfo>(r, *this, store_));
    }
  }

  HRESULT GetTypeComp(ITypeComp** comp) override {
    if (comp == nullptr) return E_INVALIDARG;
    comp_.AddRef();
    *comp = &comp_;
    return S_OK;
  }
  HRESULT GetFuncDesc(UINT index, FUNCDESC** desc) override {
    if (desc == nullptr) return E_INVALIDARG;
    if (index >= funcs_.size()) return TYPE_E_ELEMENTNOTFOUND;
    *desc = &funcs_[index];
    return S_OK;
  }
  HRESULT GetVarDesc(UINT index, VARDESC** desc) override {
    if (desc == nullptr) return E_INVALIDARG;
    if (index >= vars_.size()) return TYPE_E_ELEMENTNOTFOUND;
    *desc = &vars_[index];
    return S_OK;
  }
  HRESULT GetNames(MEMBERID id, BSTR* names, UINT max, UINT* count) override {
    if (count == nullptr) return E_INVALIDARG;
    *count = 0;
    for (const MemberDecl& m : type_.decl().members) {
      if (m.id != id) continue;
      if (max > 0 && names != nullptr) {
        names[0] = SysAllocString(m.name.c_str());
        *count = 1;
      }
      return S_OK;
    }
    return TYPE_E_ELEMENTNOTFOUND;
  }
  HRESULT GetIDsOfNames(LPOLESTR* names, UINT count, MEMBERID* ids) override {
    if (names == nullptr || ids == nullptr || count == 0) return E_INVALIDARG;
    for (const MemberDecl& m : type_.decl().members) {
      if (same_name(m.name, names[0])) {
        ids[0] = m.id;
        for (UINT i = 1; i < count; ++i) ids[i] = DISPID_UNKNOWN;
        return count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
      }
    }
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT GetRefTypeInfo(HREFTYPE ref, ITypeInfo** info) override {
    if (info == nullptr) return E_INVALIDARG;
    *info = nullptr;
    if (ref >= referenced_.size()) return TYPE_E_ELEMENTNOTFOUND;
    referenced_[ref]->AddRef();
    *info = referenced_[ref].get();
    return S_OK;
  }

 protected:
  TYPEKIND kind() const override { return TKIND_DISPATCH; }
  GUID guid() const override { return type_.decl().clsid; }
  void describe(TYPEATTR& a) const override {
    a.cFuncs = static_cast<WORD>(funcs_.size());
    a.cVars = static_cast<WORD>(vars_.size());
  }
  const char16_t* type_name() const override { return type_.decl().name.c_str(); }

 private:
  const ClassType& type_;
  TypeDescStore store_;
  std::vector<std::vector<ELEMDESC>> params_;
  std::vector<FUNCDESC> funcs_;
  std::vector<VARDESC> vars_;
  std::vector<int> slot_;  // member index -> index in funcs_ or vars_
  std::vector<std::unique_ptr<ReferencedTypeInfo>> referenced_;
  ClassTypeComp comp_;
};

ClassType::ClassType(ClassDecl decl)
    : decl_(std::move(decl)), info_(std::make_unique<ClassTypeInfo>(*this)) {}

ClassType::~ClassType() = default;

ITypeInfo* ClassType::type_info() const {
  return info_.get();
}

const MemberDecl* ClassType::find(MEMBERID id, WORD flags) const {
  for (const MemberDecl& m : decl_.members) {
    if (m.id != id || m.desc == DESCKIND_TYPECOMP || m.desc == DESCKIND_NONE) continue;
    if (m.desc != DESCKIND_FUNCDESC) return &m;  // a variable serves gets and puts alike
    if ((m.kind & flags) != 0) return &m;
  }
  return nullptr;
}

VARTYPE ClassType::resolve(const TypeRef& t) const {
  switch (t.vt) {
    case VT_PTR:
      return static_cast<VARTYPE>(resolve(TypeRef{t.inner, t.element}) | VT_BYREF);
    case VT_SAFEARRAY:
      return static_cast<VARTYPE>(resolve(TypeRef{t.inner}) | VT_ARRAY);
    case VT_INT:
      return VT_I4;
    case VT_UINT:
      return VT_UI4;
    case VT_USERDEFINED: {
      if (t.ref >= decl_.referenced.size()) return VT_UNKNOWN;
      const ReferencedType& r = decl_.referenced[t.ref];
      if (r.kind == TKIND_ENUM) return VT_I4;
      if (r.kind == TKIND_DISPATCH) return VT_DISPATCH;
      if (r.kind == TKIND_ALIAS) return resolve(r.alias);
      return VT_UNKNOWN;
    }
    default:
      return t.vt;
  }
}

}  // namespace platform::com
