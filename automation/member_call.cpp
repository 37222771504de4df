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

// The invoke kinds tried in turn when binding a name, by what the command asks for.
std::vector<WORD> mode_flags(CallMode mode) {
  switch (mode) {
    case CallMode::kRead:
      return {INVOKE_PROPERTYGET, INVOKE_FUNC};
    case CallMode::kWrite:
      return {INVOKE_PROPERTYPUT, INVOKE_PROPERTYPUTREF, INVOKE_FUNC};
    case CallMode::kMethod:
      return {INVOKE_FUNC, INVOKE_PROPERTYGET, INVOKE_PROPERTYPUT, INVOKE_PROPERTYPUTREF};
  }
  return {};
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
  DISPID named = DISPID_PROPERTYPUT;  // the one named argument of a property write

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

// The bound member as Invoke takes it: its id, the invoke kind and a parameter description for
// every argument passed. The descriptions point into the bound type information, which the call
// state holds until the end.
struct Member {
  MEMBERID id = 0;
  WORD invoke_flags = 0;
  std::vector<ELEMDESC> params;
  bool open_list = false;  // the last parameter takes any number of arguments
};

// The object's IDispatch.
std::int32_t find_dispatch(CallState& s, const ObjectRecord* object) {
  if (object == nullptr || object->iface == nullptr) return kEmptyObject;
  if (FAILED(object->iface->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&s.dispatch)))) {
    s.dispatch = nullptr;
    return kNoDispatch;
  }
  return 0;
}

// Binds the name through the object's type information, trying the mode's invoke kinds
// in turn.
std::int32_t bind(CallState& s, CallMode mode, const std::u16string& name, LCID lcid) {
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

// What was bound. A function takes its declared parameters; a variable is read, or
// written as its one parameter (by reference for arrays and objects).
std::int32_t describe_member(CallState& s, CallMode mode, Member* member) {
  switch (s.kind) {
    case DESCKIND_FUNCDESC: {
      const FUNCDESC* f = s.bound.lpfuncdesc;
      const std::size_t declared = f->cParams < 0 ? 0 : static_cast<std::size_t>(f->cParams);
      member->id = f->memid;
      member->invoke_flags = static_cast<WORD>(f->invkind);
      member->params.assign(f->lprgelemdescParam, f->lprgelemdescParam + declared);
      member->open_list = f->cParamsOpt == -1 && declared != 0;
      return 0;
    }
    case DESCKIND_VARDESC:
    case DESCKIND_IMPLICITAPPOBJ: {
      const VARDESC* v = s.bound.lpvardesc;
      member->id = v->memid;
      if (mode != CallMode::kWrite) {
        member->invoke_flags = DISPATCH_PROPERTYGET;
        return 0;
      }
      member->params.assign(1, v->elemdescVar);
      const VARTYPE t = resolve(v->elemdescVar.tdesc, s.bound_info);
      const VARTYPE base = t & ~VT_BYREF;
      member->invoke_flags = (t & VT_ARRAY) != 0 || base == VT_UNKNOWN || base == VT_DISPATCH
                                 ? DISPATCH_PROPERTYPUTREF
                                 : DISPATCH_PROPERTYPUT;
      return 0;
    }
    case DESCKIND_TYPECOMP:
      safe_release(s.bound.lptcomp);
      return kNotBound;
    default:
      return kNotBound;
  }
}

// How many arguments the command passes (trailing missing ones are not passed at all),
// and a parameter description for each; an open list repeats its last parameter.
std::int32_t fit_arguments(Member& member, std::int32_t count, const ArgRecord* args, std::size_t* passed) {
  std::size_t k = count > 2 ? static_cast<std::size_t>(count - 2) : 0;
  while (k > 0 && runtime::base_tag(args[2 + k - 1].tag) == 0) --k;
  if (k > member.params.size()) {
    if (!member.open_list) return kTooManyArguments;
    member.params.resize(k, member.params.back());
  }
  *passed = k;
  return 0;
}

// A by-reference parameter: the converted value sits in `held`; the slot passed to Invoke
// points at it where the parameter's type allows, or takes the value itself.
void pass_by_reference(VARIANT* held, VARTYPE base, bool is_array, VARIANT* passed) {
  if (held->vt == VT_ERROR) {
    move_variant(passed, held);
  } else if (is_array) {
    if ((held->vt & VT_ARRAY) != 0 && (held->vt & VT_BYREF) == 0) {
      passed->vt = static_cast<VARTYPE>(VT_BYREF | VT_ARRAY | (held->vt & VT_TYPEMASK));
      passed->pparray = &held->parray;
    } else {
      move_variant(passed, held);
    }
  } else if (base == VT_VARIANT) {
    passed->vt = VT_BYREF | VT_VARIANT;
    passed->pvarVal = held;
  } else if (base != VT_RECORD && changes_in_place(base) &&
             SUCCEEDED(VariantChangeType(held, held, 0, base))) {
    passed->vt = static_cast<VARTYPE>(VT_BYREF | base);
    passed->byref = &held->llVal;
  } else {
    move_variant(passed, held);
  }
}

// One argument converted by the type its parameter declares, into `passed` (the slot
// Invoke reads) and, by reference, into `held` (the storage behind it).
std::int32_t convert_argument(const ArgRecord& arg, const ELEMDESC& param, ITypeInfo* info, VARIANT* passed,
                              VARIANT* held) {
  std::uint32_t t = runtime::base_tag(arg.tag);
  if (t == 0) {
    set_missing(passed);
    return 0;
  }
  if (is_object_like(t)) t = tag::kObject;
  const VARTYPE expected = resolve(param.tdesc, info);
  const bool by_ref = (expected & VT_BYREF) != 0;
  const VARTYPE base = expected & VT_TYPEMASK;
  VARIANT* target = by_ref ? held : passed;
  const std::uint64_t value = argument_value(arg, t, runtime::is_array_tag(arg.tag));
  if (t == tag::kObject) {
    object_argument(reinterpret_cast<const ObjectRecord*>(static_cast<std::uintptr_t>(value)), base, target);
  } else if (t == tag::kVariant) {
    if (const auto* block = reinterpret_cast<const VARIANT*>(static_cast<std::uintptr_t>(value))) {
      VariantCopyInd(target, block);
    }
  } else if (!basic_to_variant(t, value, target)) {
    return kBadArgumentType;
  }
  if (target->vt == VT_EMPTY) {
    set_missing(passed);
  } else if (by_ref) {
    pass_by_reference(held, base, (expected & VT_ARRAY) != 0, passed);
  }
  return 0;
}

// Every argument converted, in Invoke's reversed order, and the call made.
std::int32_t invoke(CallState& s, const Member& member, const ArgRecord* args, std::size_t k, LCID lcid) {
  s.variants.assign(2 * k, VARIANT{});
  VARIANT* rgvarg = s.variants.data();
  VARIANT* storage = rgvarg + k;
  for (std::size_t i = 0; i < k; ++i) {
    const std::size_t slot = k - 1 - i;
    const std::int32_t code =
        convert_argument(args[2 + i], member.params[i], s.bound_info, &rgvarg[slot], &storage[slot]);
    if (code != 0) return code;
  }
  DISPPARAMS params{k > 0 ? rgvarg : nullptr, nullptr, static_cast<UINT>(k), 0};
  if ((member.invoke_flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0) {
    params.rgdispidNamedArgs = &s.named;
    params.cNamedArgs = 1;
  }
  VariantInit(&s.result_variant);
  UINT arg_error = static_cast<UINT>(-1);
  const HRESULT hr = s.dispatch->Invoke(member.id, IID_NULL, lcid, member.invoke_flags, &params,
                                        &s.result_variant, nullptr, &arg_error);
  return FAILED(hr) ? invoke_error(hr) : 0;
}

// Out-parameters passed by reference go back into the variables the command named.
void write_back(const CallState& s, const Member& member, const ArgRecord* args, std::size_t k) {
  for (std::size_t i = 0; i < k; ++i) {
    const ArgRecord& arg = args[2 + i];
    const VARIANT& passed = s.variants[k - 1 - i];
    if ((passed.vt & VT_BYREF) == 0 || (member.params[i].paramdesc.wParamFlags & PARAMFLAG_FOUT) == 0 ||
        !runtime::is_array_tag(arg.tag)) {
      continue;
    }
    variant_to_value(passed, runtime::base_tag(arg.tag), true, nullptr, arg.pointer<void>());
  }
}

// The result converted to the type the result record carries (none wanted: tag 0).
std::int32_t convert_result(const CallState& s, ArgRecord* result) {
  if (result->tag != 0 && !variant_to_value(s.result_variant, result->tag, false, result, nullptr))
    return kBadResult;
  return 0;
}

// The whole call up to the code it ends with; the call state is released on the way out.
std::int32_t call(CallMode mode, ArgRecord* result, std::int32_t count, ArgRecord* args) {
  CallState s;
  const auto* object = count >= 1 ? args[0].pointer<const ObjectRecord>() : nullptr;
  std::u16string name;
  if (count >= 2) {
    const std::uint64_t v = argument_value(args[1], tag::kText, runtime::is_array_tag(args[1].tag));
    name = text_to_utf16(reinterpret_cast<const char*>(static_cast<std::uintptr_t>(v)));
  }
  const LCID lcid = GetUserDefaultLCID();
  Member member;
  std::size_t passed = 0;
  std::int32_t code = find_dispatch(s, object);
  if (code == 0) code = bind(s, mode, name, lcid);
  if (code == 0) code = describe_member(s, mode, &member);
  if (code == 0) code = fit_arguments(member, count, args, &passed);
  if (code == 0) code = invoke(s, member, args, passed, lcid);
  if (code != 0) return code;
  write_back(s, member, args, passed);
  return convert_result(s, result);
}

// A failed call still leaves a result of the expected type: 0, or a new empty block.
void report_failure(ArgRecord* result) {
  if (result->tag == 0) return;
  result->set_value(0);
  if (is_object_like(result->tag) || runtime::base_tag(result->tag) == tag::kVariant) {
    result->set_pointer(new_empty_block());
  }
}

}  // namespace

void member_call(CallMode mode, ArgRecord* result, std::int32_t count, ArgRecord* args) {
  const std::int32_t code = call(mode, result, count, args);
  if (code != 0) report_failure(result);
  set_automation_error(code);
}

}  // namespace automation
