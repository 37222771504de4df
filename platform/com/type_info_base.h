// Common ground of the object model's ITypeInfo implementations: an immortal object (its
// references only count) that answers E_NOTIMPL for what its kind does not describe.
#pragma once

#include <atomic>

#include "platform/com/typeinfo.h"

namespace platform::com {

class TypeInfoBase : public ITypeInfo {
 public:
  HRESULT QueryInterface(REFIID iid, void** out) override;
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override { return --references_; }

  HRESULT GetTypeAttr(TYPEATTR** attr) override;
  HRESULT GetTypeComp(ITypeComp** comp) override;
  HRESULT GetFuncDesc(UINT, FUNCDESC**) override { return TYPE_E_ELEMENTNOTFOUND; }
  HRESULT GetVarDesc(UINT, VARDESC**) override { return TYPE_E_ELEMENTNOTFOUND; }
  HRESULT GetNames(MEMBERID, BSTR*, UINT, UINT* count) override;
  HRESULT GetRefTypeOfImplType(UINT, HREFTYPE*) override { return TYPE_E_ELEMENTNOTFOUND; }
  HRESULT GetImplTypeFlags(UINT, INT*) override { return TYPE_E_ELEMENTNOTFOUND; }
  HRESULT GetIDsOfNames(LPOLESTR*, UINT, MEMBERID*) override { return DISP_E_UNKNOWNNAME; }
  HRESULT Invoke(void*, MEMBERID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
  HRESULT GetDocumentation(MEMBERID id, BSTR* name, BSTR* doc, DWORD* help_context, BSTR* help_file) override;
  HRESULT GetDllEntry(MEMBERID, INVOKEKIND, BSTR*, BSTR*, WORD*) override { return TYPE_E_ELEMENTNOTFOUND; }
  HRESULT GetRefTypeInfo(HREFTYPE, ITypeInfo**) override { return TYPE_E_ELEMENTNOTFOUND; }
  HRESULT AddressOfMember(MEMBERID, INVOKEKIND, void**) override { return E_NOTIMPL; }
  HRESULT CreateInstance(IUnknown*, REFIID, void**) override { return TYPE_E_WRONGTYPEKIND; }
  HRESULT GetMops(MEMBERID, BSTR* mops) override;
  HRESULT GetContainingTypeLib(ITypeLib**, UINT*) override { return E_NOTIMPL; }
  void ReleaseTypeAttr(TYPEATTR* attr) override;
  void ReleaseFuncDesc(FUNCDESC*) override {}
  void ReleaseVarDesc(VARDESC*) override {}

  ULONG references() const { return references_; }

 protected:
  // What GetTypeAttr reports (the rest of TYPEATTR is zero).
  virtual TYPEKIND kind() const = 0;
  virtual GUID guid() const { return {}; }
  virtual void describe(TYPEATTR&) const {}
  virtual const char16_t* type_name() const = 0;

 private:
  std::atomic<ULONG> references_{1};
};

}  // namespace platform::com
