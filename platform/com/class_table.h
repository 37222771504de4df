// Classes of the object model are tables: each declares its members once (name, member id,
// invoke kind, parameter types and flags, optional count, result type, the routine that serves
// it) and one generic ITypeInfo / ITypeComp / IDispatch serves every class from its table.
// Contract:
// - A ClassType is built once per class and lives for the process (its type information is
//   never freed; AddRef / Release on it only count).
// - Invoke checks the argument count, the named argument of property puts, fills in missing
//   optional arguments, converts by-value arguments to their declared types (DISP_E_TYPEMISMATCH
//   with the argument's index otherwise) and hands the routine the arguments in declared order.
// - A routine answers S_OK, a DISP_E_* code (returned as is), or any other failure, which becomes
//   DISP_E_EXCEPTION with that code in EXCEPINFO::scode and the routine's description.
#pragma once

#include <atomic>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/com/typeinfo.h"

namespace platform::com {

// A type as a table writes it: VT_PTR and VT_SAFEARRAY name their element in `inner` (a pointer
// to a safe array names the array's element in `element`); VT_USERDEFINED names an entry of the
// class's referenced types by index in `ref`.
struct TypeRef {
  VARTYPE vt = VT_EMPTY;
  VARTYPE inner = VT_EMPTY;
  HREFTYPE ref = 0;
  VARTYPE element = VT_EMPTY;
};

struct ParamDecl {
  TypeRef type;
  USHORT flags = PARAMFLAG_FIN;
};

class DispatchObject;
class Invocation;
using MemberRoutine = HRESULT (*)(DispatchObject& self, Invocation& call, VARIANT* result);

struct MemberDecl {
  std::u16string name;
  MEMBERID id = 0;
  INVOKEKIND kind = INVOKE_FUNC;
  TypeRef result;
  std::vector<ParamDecl> params;
  SHORT optional = 0;  // trailing optional parameters; -1 for a variable argument list
  MemberRoutine routine = nullptr;
  // How ITypeComp::Bind describes the member: DESCKIND_FUNCDESC for methods and properties,
  // DESCKIND_VARDESC (or DESCKIND_IMPLICITAPPOBJ) for a variable, DESCKIND_TYPECOMP for a
  // nested scope, which has no routine.
  DESCKIND desc = DESCKIND_FUNCDESC;
};

// A type that members refer to with VT_USERDEFINED: an enumeration, a dispatch interface or an
// alias of `alias`.
struct ReferencedType {
  std::u16string name;
  TYPEKIND kind = TKIND_ENUM;
  TypeRef alias;
};

struct ClassDecl {
  std::u16string name;
  CLSID clsid{};
  std::vector<MemberDecl> members;
  std::vector<ReferencedType> referenced;
};

class ClassTypeInfo;

// The shared type information of one class.
class ClassType {
 public:
  explicit ClassType(ClassDecl decl);
  ~ClassType();
  ClassType(const ClassType&) = delete;
  ClassType& operator=(const ClassType&) = delete;

  const ClassDecl& decl() const { return decl_; }
  ITypeInfo* type_info() const;  // not AddRef'd
  // The member that serves (id, flags), or null.
  const MemberDecl* find(MEMBERID id, WORD flags) const;
  // The VARTYPE a table type stands for (pointers with VT_BYREF, safe arrays with VT_ARRAY,
  // enumerations as VT_I4, aliases resolved).
  VARTYPE resolve(const TypeRef& type) const;

 private:
  ClassDecl decl_;
  std::unique_ptr<ClassTypeInfo> info_;
};

// The arguments of one call, in declared order.
class Invocation {
 public:
  explicit Invocation(std::size_t count);
  ~Invocation();
  Invocation(const Invocation&) = delete;
  Invocation& operator=(const Invocation&) = delete;

  std::size_t count() const { return values_.size(); }
  bool given(std::size_t i) const { return i < given_.size() && given_[i]; }
  // The argument converted to its declared type (VT_EMPTY when not given).
  const VARIANT& value(std::size_t i) const { return views_[i] != nullptr ? *views_[i] : values_[i]; }
  // Stores an out-parameter through the caller's reference (converted to the referenced type);
  // nothing when the argument was passed by value.
  HRESULT set_out(std::size_t i, const VARIANT& v);
  // Description for the exception that a failing routine raises.
  void describe(std::u16string text) { description_ = std::move(text); }
  // Describes the failure and answers its code, for `return call.fail(...)`.
  HRESULT fail(HRESULT code, std::u16string text) {
    describe(std::move(text));
    return code;
  }
  const std::u16string& description() const { return description_; }

  // Filled in by Invoke.
  VARIANT& slot(std::size_t i) { return values_[i]; }
  void bind_ref(std::size_t i, VARIANT* ref) { refs_[i] = ref; }
  void mark_given(std::size_t i) { given_[i] = true; }
  // A VARIANT argument is read where the caller holds it rather than copied.
  void borrow(std::size_t i, const VARIANT* v) { views_[i] = v; }

  // Typed readers with defaults for omitted arguments.
  LONG long_value(std::size_t i, LONG fallback) const;
  bool bool_value(std::size_t i, bool fallback) const;
  std::u16string text_value(std::size_t i) const;

 private:
  std::vector<VARIANT> values_;
  std::vector<VARIANT*> refs_;
  std::vector<const VARIANT*> views_;
  std::vector<bool> given_;
  std::u16string description_;
};

// Base of every table class: IUnknown and IDispatch served from the class's table.
class DispatchObject : public IDispatch {
 public:
  explicit DispatchObject(const ClassType& type) : type_(type) {}

  HRESULT QueryInterface(REFIID iid, void** out) override;
  ULONG AddRef() override;
  ULONG Release() override;
  HRESULT GetTypeInfoCount(UINT* count) override;
  HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  HRESULT GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
  HRESULT Invoke(DISPID member, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* exception, UINT* arg_error) override;

  const ClassType& type() const { return type_; }

 protected:
  ~DispatchObject() override = default;

 private:
  const ClassType& type_;
  std::atomic<ULONG> references_{1};
};

// Case-insensitive comparison of member names (ASCII letters).
bool same_name(std::u16string_view a, std::u16string_view b);

// VARIANT helpers for routines.
HRESULT set_text(VARIANT* v, std::u16string_view text);
void set_long(VARIANT* v, LONG value);
void set_bool(VARIANT* v, bool value);

}  // namespace platform::com
