// Calling an object model class by member name, as any automation client does: the name is
// looked up with GetIDsOfNames and the arguments are handed to Invoke in reverse order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/com/registry.h"
#include "platform/com/typeinfo.h"

namespace lyr::test {

// An owned VARIANT.
struct Var {
  VARIANT v{};
  Var() = default;
  Var(const Var& other) { VariantCopy(&v, &other.v); }
  Var& operator=(const Var&) = delete;
  ~Var() { VariantClear(&v); }
};

Var long_var(LONG value);
Var text_var(std::u16string_view text);
Var bytes_var(std::string_view bytes);
std::string bytes_of(const VARIANT& v);

// An object of a registered class, created on a thread with an apartment.
class Client {
 public:
  explicit Client(const char16_t* progid);
  ~Client();
  Client(const Client&) = delete;
  Client& operator=(const Client&) = delete;

  IDispatch* get() const { return object_; }
  // Invokes a method (or a property get / put) and answers Invoke's HRESULT; `scode` receives
  // the exception's code when one is raised.
  HRESULT method(std::u16string_view name, std::vector<Var> args = {}, Var* result = nullptr,
                 HRESULT* scode = nullptr);
  HRESULT get(std::u16string_view name, Var* result);
  HRESULT put(std::u16string_view name, Var value, HRESULT* scode = nullptr);

 private:
  HRESULT invoke(std::u16string_view name, WORD flags, std::vector<Var> args, Var* result, HRESULT* scode);
  IDispatch* object_ = nullptr;
};

}  // namespace lyr::test
