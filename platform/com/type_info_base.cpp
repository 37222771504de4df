#include "platform/com/type_info_base.h"

#include <new>

namespace platform::com {

HRESULT TypeInfoBase::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_ITypeInfo)) {
    AddRef();
    *out = static_cast<ITypeInfo*>(this);
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

HRESULT TypeInfoBase::GetTypeAttr(TYPEATTR** attr) {
  if (attr == nullptr) return E_INVALIDARG;
  auto* a = new (std::nothrow) TYPEATTR{};
  if (a == nullptr) return E_OUTOFMEMORY;
  a->guid = guid();
  a->typekind = kind();
  a->memidConstructor = MEMBERID_NIL;
  a->memidDestructor = MEMBERID_NIL;
  a->cbAlignment = 8;
  describe(*a);
  *attr = a;
  return S_OK;
}

void TypeInfoBase::ReleaseTypeAttr(TYPEATTR* attr) {
  delete attr;
}

HRESULT TypeInfoBase::GetTypeComp(ITypeComp** comp) {
  if (comp != nullptr) *comp = nullptr;
  return E_NOTIMPL;
}

HRESULT TypeInfoBase::GetNames(MEMBERID, BSTR*, UINT, UINT* count) {
  if (count != nullptr) *count = 0;
  return TYPE_E_ELEMENTNOTFOUND;
}

HRESULT TypeInfoBase::GetDocumentation(MEMBERID id, BSTR* name, BSTR* doc, DWORD* help_context,
                                       BSTR* help_file) {
  if (id != MEMBERID_NIL) return TYPE_E_ELEMENTNOTFOUND;
  if (name != nullptr) *name = SysAllocString(type_name());
  if (doc != nullptr) *doc = nullptr;
  if (help_context != nullptr) *help_context = 0;
  if (help_file != nullptr) *help_file = nullptr;
  return S_OK;
}

HRESULT TypeInfoBase::GetMops(MEMBERID, BSTR* mops) {
  if (mops != nullptr) *mops = nullptr;
  return S_OK;
}

}  // namespace platform::com
