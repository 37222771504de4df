#include "tests/automation/probe_classes.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <new>

#include "platform/com/class_table.h"
#include "platform/com/counted.h"
#include "platform/com/registry.h"

namespace lyr::test {
namespace {

using namespace platform::com;

constexpr TypeRef kLong{VT_I4};
constexpr TypeRef kText{VT_BSTR};
constexpr TypeRef kVariant{VT_VARIANT};
constexpr TypeRef kVoid{VT_VOID};
constexpr TypeRef kDouble{VT_R8};
constexpr TypeRef kUnknown{VT_UNKNOWN};
constexpr TypeRef kLongRef{VT_PTR, VT_I4};
constexpr TypeRef kTextRef{VT_PTR, VT_BSTR};
constexpr TypeRef kBytes{VT_SAFEARRAY, VT_UI1};
constexpr TypeRef kDispatchRef{VT_USERDEFINED, VT_EMPTY, 0};
constexpr TypeRef kAliasRef{VT_USERDEFINED, VT_EMPTY, 1};
constexpr TypeRef kDanglingRef{VT_USERDEFINED, VT_EMPTY, 99};
constexpr USHORT kOpt = PARAMFLAG_FIN | PARAMFLAG_FOPT;
constexpr USHORT kInOut = PARAMFLAG_FIN | PARAMFLAG_FOUT;

using platform::com::Counted;

class Probe final : public DispatchObject {
 public:
  using DispatchObject::DispatchObject;
  HRESULT Invoke(DISPID member, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* exception, UINT* arg_error) override {
    ProbeLog& log = probe_log();
    log.flags = flags;
    log.named = params->cNamedArgs;
    log.types.clear();
    log.scodes.clear();
    for (UINT i = 0; i < params->cArgs; ++i) {
      log.types.push_back(params->rgvarg[i].vt);
      log.scodes.push_back(params->rgvarg[i].vt == VT_ERROR ? params->rgvarg[i].scode : 0);
    }
    ++log.invokes;
    return DispatchObject::Invoke(member, iid, lcid, flags, params, result, exception, arg_error);
  }
  LONG count = 0;
};

HRESULT add(DispatchObject&, Invocation& call, VARIANT* r) {
  set_long(r, call.value(0).lVal + call.value(1).lVal);
  return S_OK;
}

HRESULT join(DispatchObject&, Invocation& call, VARIANT* r) {
  std::u16string out;
  for (std::size_t i = 1; i < call.count(); ++i) {
    if (!call.given(i)) continue;
    if (!out.empty()) out += call.text_value(0);
    out += call.text_value(i);
  }
  return set_text(r, out);
}

HRESULT twice(DispatchObject&, Invocation& call, VARIANT*) {
  VARIANT v;
  set_long(&v, call.long_value(0, 0) * 2);
  return call.set_out(0, v);
}

HRESULT describe(DispatchObject&, Invocation& call, VARIANT*) {
  VARIANT v;
  set_text(&v, u"described");
  HRESULT hr = call.set_out(0, v);
  VariantClear(&v);
  return hr;
}

HRESULT replace(DispatchObject& self, Invocation& call, VARIANT*) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_UNKNOWN;
  v.punkVal = &self;  // borrowed: set_out takes its own reference
  return call.set_out(0, v);
}

HRESULT fail(DispatchObject&, Invocation& call, VARIANT*) {
  call.describe(u"the probe refuses");
  return E_FAIL;
}

HRESULT count(DispatchObject& self, Invocation& call, VARIANT* r) {
  auto& probe = static_cast<Probe&>(self);
  if (call.count() == 1) {
    probe.count = call.long_value(0, 0);
  } else {
    set_long(r, probe.count);
  }
  return S_OK;
}

HRESULT reading(DispatchObject&, Invocation&, VARIANT* r) {
  set_long(r, 42);
  return S_OK;
}

HRESULT nothing(DispatchObject&, Invocation&, VARIANT*) {
  return S_OK;
}

HRESULT echo(DispatchObject&, Invocation& call, VARIANT* r) {
  return VariantCopy(r, &call.value(0));
}

HRESULT ratio(DispatchObject&, Invocation&, VARIANT* r) {
  VariantInit(r);
  r->vt = VT_R8;
  r->dblVal = 2.5;
  return S_OK;
}

HRESULT reverse_bytes(DispatchObject&, Invocation& call, VARIANT*) {
  const VARIANT& in = call.value(0);
  SAFEARRAY* copy = nullptr;
  if (FAILED(SafeArrayCopy(in.parray, &copy))) return E_FAIL;
  auto* data = static_cast<BYTE*>(copy->pvData);
  std::reverse(data, data + copy->rgsabound[0].cElements);
  VARIANT out;
  VariantInit(&out);
  out.vt = VT_ARRAY | VT_UI1;
  out.parray = copy;
  HRESULT hr = call.set_out(0, out);
  VariantClear(&out);
  return hr;
}

const ClassType& probe_type() {
  static const ClassType type(ClassDecl{
      u"Probe",
      kProbeClsid,
      {
          {u"Add", 1, INVOKE_FUNC, kLong, {{kLong}, {kLong}}, 0, &add},
          {u"Join", 2, INVOKE_FUNC, kText, {{kText}, {kVariant}}, -1, &join},
          {u"Twice", 3, INVOKE_FUNC, kVoid, {{kLongRef, kInOut}}, 0, &twice},
          {u"Describe", 4, INVOKE_FUNC, kVoid, {{kTextRef, PARAMFLAG_FOUT}, {kLong, kOpt}}, 1, &describe},
          {u"Fail", 5, INVOKE_FUNC, kVoid, {}, 0, &fail},
          {u"Count", 6, INVOKE_PROPERTYGET, kLong, {}, 0, &count, DESCKIND_VARDESC},
          {u"Scope", 7, INVOKE_FUNC, kVoid, {}, 0, nullptr, DESCKIND_TYPECOMP},
          {u"Reading", 8, INVOKE_PROPERTYGET, kLong, {}, 0, &reading},
          {u"Options", 9, INVOKE_FUNC, kVoid, {{kLong, kOpt}, {kLong, kOpt}, {kLong, kOpt}}, 3, &nothing},
          {u"Echo", 10, INVOKE_FUNC, kVariant, {{kVariant}}, 0, &echo},
          {u"TakeDispatch", 11, INVOKE_FUNC, kVoid, {{kDispatchRef}}, 0, &nothing},
          {u"TakeDangling", 12, INVOKE_FUNC, kVoid, {{kDanglingRef}}, 0, &nothing},
          {u"TakeAlias", 13, INVOKE_FUNC, kVoid, {{kAliasRef}}, 0, &nothing},
          {u"Target", 14, INVOKE_PROPERTYGET, kUnknown, {}, 0, &nothing, DESCKIND_VARDESC},
          {u"Ratio", 15, INVOKE_PROPERTYGET, kDouble, {}, 0, &ratio},
          {u"ReverseBytes",
           17,
           INVOKE_FUNC,
           kVoid,
           {{{VT_PTR, VT_SAFEARRAY, 0, VT_UI1}, kInOut}},
           0,
           &reverse_bytes},
          {u"Replace", 20, INVOKE_FUNC, kVoid, {{{VT_PTR, VT_UNKNOWN}, PARAMFLAG_FOUT}}, 0, &replace},
          {u"TakeUnknown", 19, INVOKE_FUNC, kVoid, {{kUnknown}}, 0, &nothing},
      },
      {{u"IProbe", TKIND_DISPATCH, {}}, {u"Amount", TKIND_ALIAS, kLong}},
  });
  return type;
}

// A dispatch object that cannot describe itself.
class NoTypeInfo final : public Counted<IDispatch> {
 public:
  NoTypeInfo() : Counted(IID_IDispatch) {}
  HRESULT GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    *info = nullptr;
    return TYPE_E_ELEMENTNOTFOUND;
  }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
  HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    ++probe_log().invokes;
    return DISP_E_MEMBERNOTFOUND;
  }
};

// Only IUnknown, and optionally a runnable object that refuses to run.
class Plain final : public Counted<IRunnableObject> {
 public:
  explicit Plain(bool runnable) : Counted(IID_IRunnableObject) { answers_own_ = runnable; }
  HRESULT GetRunningClass(CLSID*) override { return E_NOTIMPL; }
  HRESULT Run(LPBINDCTX) override { return E_FAIL; }
  BOOL IsRunning() override { return FALSE; }
  HRESULT LockRunning(BOOL, BOOL) override { return S_OK; }
  HRESULT SetContainedObject(BOOL) override { return S_OK; }
};

template <class T, class... A>
HRESULT hand_out(REFIID iid, void** object, A... a) {
  auto* made = new (std::nothrow) T(a...);
  if (made == nullptr) return E_OUTOFMEMORY;
  HRESULT hr = made->QueryInterface(iid, object);
  made->Release();
  return hr;
}

HRESULT create_probe(DWORD, REFIID iid, void** object) {
  return hand_out<Probe>(iid, object, std::cref(probe_type()));
}

HRESULT create_picky(DWORD context, REFIID iid, void** object) {
  probe_log().picky_contexts.push_back(context);
  if ((context & CLSCTX_REMOTE_SERVER) != 0) return E_INVALIDARG;
  return create_probe(context, iid, object);
}

}  // namespace

ProbeLog& probe_log() {
  static ProbeLog log;
  return log;
}

void register_probe_classes() {
  register_class({u"Lyr.Probe", kProbeClsid, &create_probe});
  register_class({u"Lyr.NoTypeInfo",
                  {0x7A11CE00, 0x0001, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 0x02}},
                  [](DWORD, REFIID iid, void** object) { return hand_out<NoTypeInfo>(iid, object); }});
  register_class({u"Lyr.Plain",
                  {0x7A11CE00, 0x0001, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 0x03}},
                  [](DWORD, REFIID iid, void** object) { return hand_out<Plain>(iid, object, false); }});
  register_class({u"Lyr.Picky", kPickyClsid, &create_picky});
  register_class({u"Lyr.Unrunnable",
                  {0x7A11CE00, 0x0001, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 0x05}},
                  [](DWORD, REFIID iid, void** object) { return hand_out<Plain>(iid, object, true); }});
}

}  // namespace lyr::test

namespace lyr::test {

class WatchedRecordInfo final : public Counted<IRecordInfo> {
 public:
  explicit WatchedRecordInfo(int* destroyed) : Counted(IID_IRecordInfo), destroyed_(destroyed) {}
  HRESULT RecordInit(void*) override { return S_OK; }
  HRESULT RecordClear(void*) override { return S_OK; }
  HRESULT RecordCopy(void*, void*) override { return E_NOTIMPL; }
  HRESULT GetGuid(GUID*) override { return E_NOTIMPL; }
  HRESULT GetName(BSTR*) override { return E_NOTIMPL; }
  HRESULT GetSize(ULONG* size) override {
    *size = sizeof(int);
    return S_OK;
  }
  HRESULT GetTypeInfo(ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetField(void*, LPCOLESTR, VARIANT*) override { return E_NOTIMPL; }
  HRESULT GetFieldNoCopy(void*, LPCOLESTR, VARIANT*, void**) override { return E_NOTIMPL; }
  HRESULT PutField(ULONG, void*, LPCOLESTR, VARIANT*) override { return E_NOTIMPL; }
  HRESULT PutFieldNoCopy(ULONG, void*, LPCOLESTR, VARIANT*) override { return E_NOTIMPL; }
  HRESULT GetFieldNames(ULONG*, BSTR*) override { return E_NOTIMPL; }
  BOOL IsMatchingType(IRecordInfo* other) override { return other == this; }
  void* RecordCreate() override { return new (std::nothrow) int(0); }
  HRESULT RecordCreateCopy(void*, void**) override { return E_NOTIMPL; }
  HRESULT RecordDestroy(void* record) override {
    ++*destroyed_;
    delete static_cast<int*>(record);
    return S_OK;
  }

 private:
  int* destroyed_;
};

IRecordInfo* make_watched_record_info(int* destroyed) {
  return new WatchedRecordInfo(destroyed);
}

}  // namespace lyr::test
