#include "automation/member_call.h"

#include <vector>

#include "automation/object_record.h"
#include "automation/value_conversion.h"
#include "platform/api/kernel.h"
#include "platform/com/typeinfo.h"

namespace automation {
namespace {

namespace tag = runtime::tag;
using runtime::ArgRecord;

constexpr std::int32_t kEmptyObject = -1;
constexpr std::int32_t kNoDispatch = -2;
constexpr std::int32_t kNotBound = -3;
constexpr std::int32_t kNoTypeInfo = -4;
constexpr std::int32_t kTooManyArguments = -5;
constexpr std::int32_t kBadArgumentType = -7;
constexpr std::int32_t kBadResult = -8;

std::int32_t invoke_error(HRESULT hr) {
  switch (hr) {
    case DISP_E_BADPARAMCOUNT:
      return -9;
    case DISP_E_BADVARTYPE:
      return -10;
    case DISP_E_EXCEPTION:
      return -11;
    case DISP_E_MEMBERNOTFOUND:
      return -12;
    case DISP_E_NONAMEDARGS:
      return -13;
    case DISP_E_OVERFLOW:
      return -14;
    case DISP_E_PARAMNOTFOUND:
      return -15;
    case DISP_E_TYPEMISMATCH:
      return -16;
    case DISP_E_PARAMNOTOPTIONAL:
      return -17;
    default:
      return -18;
  }
}

std::vector<WORD> mode_flags(std::int32_t mode) {
  switch (mode) {
    case 1:
      return {INVOKE_PROPERTYGET, INVOKE_FUNC};
    case 2:
      return {INVOKE_PROPERTYPUT, INVOKE_PROPERTYPUTREF, INVOKE_FUNC};
    case 3:
      return {INVOKE_FUNC, INVOKE_PROPERTYGET, INVOKE_PROPERTYPUT, INVOKE_PROPERTYPUTREF};
    default:
      return {};
  }
}

// The VARTYPE a parameter's TYPEDESC expects, resolved in the type info it was bound in.
VARTYPE resolve(const TYPEDESC& d, ITypeInfo* info) {
  switch (d.vt & VT_TYPEMASK) {
    case VT_INT:
      return VT_I4;
    case VT_UINT:
      return VT_UI4;
    case VT_PTR:
      return static_cast<VARTYPE>(resolve(*d.lptdesc, info) | VT_BYREF);
    case VT_SAFEARRAY:
      return static_cast<VARTYPE>(resolve(*d.lptdesc, info) | VT_ARRAY);
    case VT_CARRAY:
      return static_cast<VARTYPE>(resolve(d.lpadesc->tdescElem, info) | VT_ARRAY);
    case VT_USERDEFINED: {
      ITypeInfo* ref = nullptr;
      if (info == nullptr || FAILED(info->GetRefTypeInfo(d.hreftype, &ref)) || ref == nullptr)
        return VT_UNKNOWN;
      VARTYPE vt = VT_UNKNOWN;
      TYPEATTR* attr = nullptr;
      if (SUCCEEDED(ref->GetTypeAttr(&attr)) && attr != nullptr) {
        if (attr->typekind == TKIND_ENUM) {
          vt = VT_I4;
        } else if (attr->typekind == TKIND_DISPATCH) {
          vt = VT_DISPATCH;
        } else if (attr->typekind == TKIND_ALIAS) {
          vt = resolve(attr->tdescAlias, ref);
        }
        ref->ReleaseTypeAttr(attr);
      }
      ref->Release();
      return vt;
    }
    default:
      return d.vt;
  }
}

void set_missing(VARIANT* v) {
  VariantInit(v);
  v->vt = VT_ERROR;
  v->scode = DISP_E_PARAMNOTFOUND;
}

// An object argument, by the base type R that the parameter expects.
void object_argument(const ObjectRecord* object, VARTYPE r, VARIANT* target) {
  VariantInit(target);
  IUnknown* iface = object != nullptr ? object->iface : nullptr;
  if (object != nullptr && object->record != nullptr) {
    VariantSetRecord(target, object->record, static_cast<IRecordInfo*>(iface));
    return;
  }
  target->vt = VT_UNKNOWN;
  if (iface == nullptr) return;
  if (r == VT_UNKNOWN || r == VT_VARIANT) {
    // A parameter of any type gets the object too, rather than silently nothing.
    iface->AddRef();
    target->punkVal = iface;
  } else if (r == VT_DISPATCH) {
    IDispatch* dispatch = nullptr;
    if (SUCCEEDED(iface->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) {
      target->vt = VT_DISPATCH;
      target->pdispVal = dispatch;
    }
  }
}

bool changes_in_place(VARTYPE base) {
  return (base >= 2 && base <= 11) || base == 13 || (base >= 16 && base <= 19) || base == 22 || base == 23 ||
         base == 25;
}

void move_variant(VARIANT* to, VARIANT* from) {
  *to = *from;
  VariantInit(from);
}

// Everything one call holds; released in the documented order whatever way the call ends.
struct CallState {
  IDispatch* dispatch = nullptr;
  ITypeInfo* bound_info = nullptr;
  DESCKIND kind = DESCKIND_NONE;
  BINDPTR bound{};
  std::vector<VARIANT> variants;  // rgvarg, then the by-reference storage
  VARIANT result_variant{};

  ~CallState() {
    VariantClear(&result_variant);
    for (VARIANT& v : variants) VariantClear(&v);
    if (bound_info != nullptr) {
      if (kind == DESCKIND_FUNCDESC && bound.lpfuncdesc != nullptr)
        bound_info->ReleaseFuncDesc(bound.lpfuncdesc);
      if ((kind == DESCKIND_VARDESC || kind == DESCKIND_IMPLICITAPPOBJ) && bound.lpvardesc != nullptr) {
        bound_info->ReleaseVarDesc(bound.lpvardesc);
      }
    }
    safe_release(bound_info);
    safe_release(dispatch);
  }
};

std::int32_t bind(CallState& s, std::int32_t mode, const std::u16string& name, LCID lcid) {
  ITypeInfo* info = nullptr;
  if (FAILED(s.dispatch->GetTypeInfo(0, lcid, &info)) || info == nullptr) return kNoTypeInfo;
  ITypeComp* comp = nullptr;
  HRESULT hr = info->GetTypeComp(&comp);
  info->Release();
  if (FAILED(hr) || comp == nullptr) return kNoTypeInfo;
  std::u16string mutable_name = name;
  ULONG hash = LHashValOfNameSys(SYS_WIN32, lcid, mutable_name.c_str());
  bool bound = false;
  for (WORD flag : mode_flags(mode)) {
    if (SUCCEEDED(comp->Bind(mutable_name.data(), hash, flag, &s.bound_info, &s.kind, &s.bound))) {
      bound = true;
      break;
    }
  }
  comp->Release();
  return bound ? 0 : kNotBound;
}

// Runs steps 5 to 13 of the call once the member is bound; answers the code.
std::int32_t call_bound(CallState& s, std::int32_t mode, ArgRecord* result, std::int32_t count,
                        ArgRecord* args, LCID lcid) {
  MEMBERID id = 0;
  WORD invoke_flags = 0;
  std::size_t declared = 0;
  const ELEMDESC* descs = nullptr;
  bool open_list = false;
  ELEMDESC variable_desc{};
  switch (s.kind) {
    case DESCKIND_FUNCDESC: {
      const FUNCDESC* f = s.bound.lpfuncdesc;
      id = f->memid;
      invoke_flags = static_cast<WORD>(f->invkind);
      declared = f->cParams < 0 ? 0 : static_cast<std::size_t>(f->cParams);
      descs = f->lprgelemdescParam;
      open_list = f->cParamsOpt == -1 && declared != 0;
      break;
    }
    case DESCKIND_VARDESC:
    case DESCKIND_IMPLICITAPPOBJ: {
      const VARDESC* v = s.bound.lpvardesc;
      id = v->memid;
      if (mode == 2) {
        declared = 1;
        variable_desc = v->elemdescVar;
        descs = &variable_desc;
        VARTYPE t = resolve(v->elemdescVar.tdesc, s.bound_info);
        VARTYPE base = t & ~VT_BYREF;
        invoke_flags = (t & VT_ARRAY) != 0 || base == VT_UNKNOWN || base == VT_DISPATCH
                           ? DISPATCH_PROPERTYPUTREF
                           : DISPATCH_PROPERTYPUT;
      } else {
        invoke_flags = DISPATCH_PROPERTYGET;
      }
      break;
    }
    case DESCKIND_TYPECOMP:
      safe_release(s.bound.lptcomp);
      return kNotBound;
    default:
      return kNotBound;
  }

  std::size_t k = count > 2 ? static_cast<std::size_t>(count - 2) : 0;
  while (k > 0 && runtime::base_tag(args[2 + k - 1].tag) == 0) --k;
  std::vector<ELEMDESC> extended;
  if (k > declared) {
    if (!open_list) return kTooManyArguments;
    extended.assign(descs, descs + declared);
    extended.resize(k, descs[declared - 1]);
    descs = extended.data();
  }

  s.variants.assign(2 * k, VARIANT{});
  VARIANT* rgvarg = s.variants.data();
  VARIANT* storage = rgvarg + k;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{k > 0 ? rgvarg : nullptr, nullptr, static_cast<UINT>(k), 0};
  if ((invoke_flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0) {
    params.rgdispidNamedArgs = &named;
    params.cNamedArgs = 1;
  }

  for (std::size_t i = 0; i < k; ++i) {
    const ArgRecord& arg = args[2 + i];
    const std::size_t slot = k - 1 - i;
    std::uint32_t t = runtime::base_tag(arg.tag);
    const bool by_address = runtime::is_array_tag(arg.tag);
    if (t == 0) {
      set_missing(&rgvarg[slot]);
      continue;
    }
    if (is_object_like(t)) t = tag::kObject;
    const VARTYPE expected = resolve(descs[i].tdesc, s.bound_info);
    const bool by_ref = (expected & VT_BYREF) != 0;
    const bool is_array = (expected & VT_ARRAY) != 0;
    const VARTYPE base = expected & VT_TYPEMASK;
    VARIANT* target = by_ref ? &storage[slot] : &rgvarg[slot];
    const std::uint64_t value = argument_value(arg, t, by_address);
    if (t == tag::kObject) {
      object_argument(reinterpret_cast<const ObjectRecord*>(static_cast<std::uintptr_t>(value)), base,
                      target);
    } else if (t == tag::kVariant) {
      if (const auto* block = reinterpret_cast<const VARIANT*>(static_cast<std::uintptr_t>(value))) {
        VariantCopyInd(target, block);
      }
    } else if (!basic_to_variant(t, value, target)) {
      return kBadArgumentType;
    }
    if (target->vt == VT_EMPTY) {
      set_missing(&rgvarg[slot]);
      continue;
    }
    if (!by_ref) continue;
    VARIANT* held = &storage[slot];
    if (held->vt == VT_ERROR) {
      move_variant(&rgvarg[slot], held);
    } else if (is_array) {
      if ((held->vt & VT_ARRAY) != 0 && (held->vt & VT_BYREF) == 0) {
        rgvarg[slot].vt = static_cast<VARTYPE>(VT_BYREF | VT_ARRAY | (held->vt & VT_TYPEMASK));
        rgvarg[slot].pparray = &held->parray;
      } else {
        move_variant(&rgvarg[slot], held);
      }
    } else if (base == VT_VARIANT) {
      rgvarg[slot].vt = VT_BYREF | VT_VARIANT;
      rgvarg[slot].pvarVal = held;
    } else if (base != VT_RECORD && changes_in_place(base) &&
               SUCCEEDED(VariantChangeType(held, held, 0, base))) {
      rgvarg[slot].vt = static_cast<VARTYPE>(VT_BYREF | base);
      rgvarg[slot].byref = &held->llVal;
    } else {
      move_variant(&rgvarg[slot], held);
    }
  }

  VariantInit(&s.result_variant);
  UINT arg_error = static_cast<UINT>(-1);
  HRESULT hr =
      s.dispatch->Invoke(id, IID_NULL, lcid, invoke_flags, &params, &s.result_variant, nullptr, &arg_error);
  if (FAILED(hr)) return invoke_error(hr);

  for (std::size_t i = 0; i < k; ++i) {
    const ArgRecord& arg = args[2 + i];
    const VARIANT& passed = rgvarg[k - 1 - i];
    if ((passed.vt & VT_BYREF) == 0 || (descs[i].paramdesc.wParamFlags & PARAMFLAG_FOUT) == 0 ||
        !runtime::is_array_tag(arg.tag)) {
      continue;
    }
    variant_to_value(passed, runtime::base_tag(arg.tag), true, nullptr, arg.pointer<void>());
  }

  if (result->tag != 0 && !variant_to_value(s.result_variant, result->tag, false, result, nullptr))
    return kBadResult;
  return 0;
}

}  // namespace

void member_call(std::int32_t mode, ArgRecord* result, std::int32_t count, ArgRecord* args) {
  std::int32_t code = 0;
  {
    CallState s;
    const auto* object = count >= 1 ? args[0].pointer<const ObjectRecord>() : nullptr;
    std::u16string name;
    if (count >= 2) {
      const std::uint64_t v = argument_value(args[1], tag::kText, runtime::is_array_tag(args[1].tag));
      name = text_to_utf16(reinterpret_cast<const char*>(static_cast<std::uintptr_t>(v)));
    }
    const LCID lcid = GetUserDefaultLCID();
    if (object == nullptr || object->iface == nullptr) {
      code = kEmptyObject;
    } else if (FAILED(object->iface->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&s.dispatch)))) {
      s.dispatch = nullptr;
      code = kNoDispatch;
    } else if ((code = bind(s, mode, name, lcid)) == 0) {
      code = call_bound(s, mode, result, count, args, lcid);
    }
  }
  if (code != 0 && result->tag != 0) {
    result->set_value(0);
    if (is_object_like(result->tag) || runtime::base_tag(result->tag) == tag::kVariant) {
      result->set_pointer(new_empty_block());
    }
  }
  set_automation_error(code);
}

}  // namespace automation
