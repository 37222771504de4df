#include "platform/com/classes/http_request.h"

#include <cctype>
#include <cstring>
#include <new>
#include <optional>

#include "platform/com/class_table.h"
#include "platform/com/classes/charset.h"
#include "platform/com/classes/http_transfer.h"

namespace platform::com {
namespace {

constexpr HRESULT kCannotCallBeforeOpen = static_cast<HRESULT>(0x80072F74);
constexpr HRESULT kCannotCallBeforeSend = static_cast<HRESULT>(0x80072F75);
constexpr HRESULT kHeaderNotFound = static_cast<HRESULT>(0x80072F76);
constexpr HRESULT kInvalidArgument = static_cast<HRESULT>(0x80070057);

enum Member : MEMBERID {
  kOpen = 1,
  kSend,
  kSetRequestHeader,
  kGetResponseHeader,
  kGetAllResponseHeaders,
  kSetTimeouts,
  kWaitForResponse,
  kStatus,
  kStatusText,
  kResponseBody,
  kResponseText,
};

class Request final : public DispatchObject {
 public:
  explicit Request(const ClassType& type) : DispatchObject(type) {}
  static Request& of(DispatchObject& o) { return static_cast<Request&>(o); }

  HRESULT need_response(Invocation& call) {
    return response_ ? S_OK : call.fail(kCannotCallBeforeSend, u"The request has not been sent.");
  }

  bool opened_ = false;
  HttpExchange exchange_;
  std::optional<HttpResponse> response_;
};

std::string utf8(const std::u16string& s) {
  return utf16_to_utf8_lossy(s);
}

std::u16string utf16(const std::string& s) {
  std::u16string out;
  utf8_to_utf16_lossy({reinterpret_cast<const std::uint8_t*>(s.data()), s.size()}, out);
  return out;
}

HRESULT open(DispatchObject& o, Invocation& call, VARIANT*) {
  Request& r = Request::of(o);
  std::string url = utf8(call.text_value(1));
  if (!is_http_url(url))
    return call.fail(kHttpUnrecognizedScheme, u"Only http and https URLs are supported.");
  std::string method = utf8(call.text_value(0));
  if (method.empty()) return call.fail(kInvalidArgument, u"No method.");
  HttpTimeouts timeouts = r.exchange_.timeouts;
  r.exchange_ = HttpExchange{method, url, {}, {}, timeouts};
  r.response_.reset();
  r.opened_ = true;
  return S_OK;
}

HRESULT send(DispatchObject& o, Invocation& call, VARIANT*) {
  Request& r = Request::of(o);
  if (!r.opened_) return call.fail(kCannotCallBeforeOpen, u"Open must be called before Send.");
  r.exchange_.body.clear();
  if (call.given(0)) {
    const VARIANT& body = call.value(0);
    if (body.vt == VT_BSTR) {
      std::string bytes = utf8(call.text_value(0));
      r.exchange_.body.assign(bytes.begin(), bytes.end());
    } else if ((body.vt & VT_ARRAY) != 0 &&
               ((body.vt & VT_TYPEMASK) == VT_UI1 || (body.vt & VT_TYPEMASK) == VT_I1)) {
      void* data = nullptr;
      if (SUCCEEDED(SafeArrayAccessData(body.parray, &data))) {
        std::size_t n = body.parray->cDims == 0 ? 0 : 1;
        for (USHORT d = 0; d < body.parray->cDims; ++d) n *= body.parray->rgsabound[d].cElements;
        auto* bytes = static_cast<const std::uint8_t*>(data);
        r.exchange_.body.assign(bytes, bytes + n);
        SafeArrayUnaccessData(body.parray);
      }
    } else if (body.vt != VT_EMPTY && body.vt != VT_NULL) {
      return call.fail(kInvalidArgument, u"The body must be text or an array of bytes.");
    }
  }
  HttpResponse response;
  HRESULT hr = perform(r.exchange_, &response);
  if (FAILED(hr)) {
    r.response_.reset();
    return call.fail(hr, u"The request failed.");
  }
  r.response_ = std::move(response);
  return S_OK;
}

HRESULT set_request_header(DispatchObject& o, Invocation& call, VARIANT*) {
  Request& r = Request::of(o);
  if (!r.opened_) return call.fail(kCannotCallBeforeOpen, u"Open must be called first.");
  std::string name = utf8(call.text_value(0));
  if (name.empty() || name.find_first_of(":\r\n") != std::string::npos) {
    return call.fail(kInvalidArgument, u"Invalid header name.");
  }
  std::string value = utf8(call.text_value(1));
  if (value.find_first_of("\r\n") != std::string::npos)
    return call.fail(kInvalidArgument, u"Invalid header.");
  r.exchange_.headers.emplace_back(name, value);
  return S_OK;
}

// The value of the first header of that name (without regard to case), or nothing.
std::optional<std::string> header(const HttpResponse& response, const std::string& name) {
  for (const std::string& line : response.header_lines) {
    std::size_t colon = line.find(':');
    if (colon != name.size()) continue;
    if (!same_name(utf16(line.substr(0, colon)), utf16(name))) continue;
    std::size_t start = line.find_first_not_of(" \t", colon + 1);
    return start == std::string::npos ? std::string() : line.substr(start);
  }
  return std::nullopt;
}

HRESULT get_response_header(DispatchObject& o, Invocation& call, VARIANT* result) {
  Request& r = Request::of(o);
  if (HRESULT hr = r.need_response(call); FAILED(hr)) return hr;
  auto value = header(*r.response_, utf8(call.text_value(0)));
  if (!value) return call.fail(kHeaderNotFound, u"The header was not found.");
  return set_text(result, utf16(*value));
}

HRESULT get_all_response_headers(DispatchObject& o, Invocation& call, VARIANT* result) {
  Request& r = Request::of(o);
  if (HRESULT hr = r.need_response(call); FAILED(hr)) return hr;
  std::string all;
  for (const std::string& line : r.response_->header_lines) all += line + "\r\n";
  return set_text(result, utf16(all));
}

HRESULT set_timeouts(DispatchObject& o, Invocation& call, VARIANT*) {
  Request& r = Request::of(o);
  LONG values[4];
  for (std::size_t i = 0; i < 4; ++i) {
    values[i] = call.long_value(i, 0);
    if (values[i] < -1) return call.fail(kInvalidArgument, u"Time-outs are -1 or more.");
  }
  // -1 and 0 both mean "no time-out".
  auto ms = [](LONG v) { return v <= 0 ? 0L : static_cast<long>(v); };
  r.exchange_.timeouts = HttpTimeouts{ms(values[0]), ms(values[1]), ms(values[2]), ms(values[3])};
  return S_OK;
}

HRESULT wait_for_response(DispatchObject& o, Invocation&, VARIANT* result) {
  set_bool(result, Request::of(o).response_.has_value());
  return S_OK;
}

HRESULT status(DispatchObject& o, Invocation& call, VARIANT* result) {
  Request& r = Request::of(o);
  if (HRESULT hr = r.need_response(call); FAILED(hr)) return hr;
  set_long(result, static_cast<LONG>(r.response_->status));
  return S_OK;
}

HRESULT status_text(DispatchObject& o, Invocation& call, VARIANT* result) {
  Request& r = Request::of(o);
  if (HRESULT hr = r.need_response(call); FAILED(hr)) return hr;
  return set_text(result, utf16(r.response_->status_text));
}

HRESULT response_body(DispatchObject& o, Invocation&, VARIANT* result) {
  Request& r = Request::of(o);
  VariantInit(result);
  if (!r.response_) return S_OK;  // nothing arrived: an empty value, not an error
  const std::vector<std::uint8_t>& body = r.response_->body;
  SAFEARRAY* a = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(body.size()));
  if (a == nullptr) return E_OUTOFMEMORY;
  if (!body.empty()) std::memcpy(a->pvData, body.data(), body.size());
  result->vt = VT_ARRAY | VT_UI1;
  result->parray = a;
  return S_OK;
}

// The charset parameter of the reply's Content-Type, if any.
std::u16string reply_charset(const HttpResponse& response) {
  auto type = header(response, "Content-Type");
  if (!type) return {};
  std::string lower = *type;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::size_t at = lower.find("charset=");
  if (at == std::string::npos) return {};
  std::string value = type->substr(at + 8);
  value = value.substr(0, value.find_first_of("; \t"));
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
    value = value.substr(1, value.size() - 2);
  return utf16(value);
}

HRESULT response_text(DispatchObject& o, Invocation& call, VARIANT* result) {
  Request& r = Request::of(o);
  if (HRESULT hr = r.need_response(call); FAILED(hr)) return hr;
  auto charset = Charset::find(reply_charset(*r.response_));
  if (!charset) charset = Charset::find(u"UTF-8");
  return set_text(result, charset->decode(r.response_->body, true));
}

ClassDecl request_decl(std::u16string name, const CLSID& clsid, bool server_form) {
  constexpr TypeRef kLong{VT_I4};
  constexpr TypeRef kText{VT_BSTR};
  constexpr TypeRef kBool{VT_BOOL};
  constexpr TypeRef kVariant{VT_VARIANT};
  constexpr TypeRef kVoid{VT_VOID};
  constexpr USHORT kOptIn = PARAMFLAG_FIN | PARAMFLAG_FOPT;
  std::vector<ParamDecl> open_params = {{kText}, {kText}, {kVariant, kOptIn}};
  if (server_form) {
    open_params.push_back({kVariant, kOptIn});  // user
    open_params.push_back({kVariant, kOptIn});  // password
  }
  auto optional = static_cast<SHORT>(open_params.size() - 2);
  return ClassDecl{
      std::move(name),
      clsid,
      {
          {u"Open", kOpen, INVOKE_FUNC, kVoid, open_params, optional, &open},
          {u"Send", kSend, INVOKE_FUNC, kVoid, {{kVariant, kOptIn}}, 1, &send},
          {u"SetRequestHeader",
           kSetRequestHeader,
           INVOKE_FUNC,
           kVoid,
           {{kText}, {kText}},
           0,
           &set_request_header},
          {u"GetResponseHeader", kGetResponseHeader, INVOKE_FUNC, kText, {{kText}}, 0, &get_response_header},
          {u"GetAllResponseHeaders",
           kGetAllResponseHeaders,
           INVOKE_FUNC,
           kText,
           {},
           0,
           &get_all_response_headers},
          {u"SetTimeouts",
           kSetTimeouts,
           INVOKE_FUNC,
           kVoid,
           {{kLong}, {kLong}, {kLong}, {kLong}},
           0,
           &set_timeouts},
          {u"WaitForResponse",
           kWaitForResponse,
           INVOKE_FUNC,
           kBool,
           {{kVariant, kOptIn}},
           1,
           &wait_for_response},
          {u"Status", kStatus, INVOKE_PROPERTYGET, kLong, {}, 0, &status},
          {u"StatusText", kStatusText, INVOKE_PROPERTYGET, kText, {}, 0, &status_text},
          {u"ResponseBody", kResponseBody, INVOKE_PROPERTYGET, kVariant, {}, 0, &response_body},
          {u"ResponseText", kResponseText, INVOKE_PROPERTYGET, kText, {}, 0, &response_text},
      },
      {},
  };
}

template <int Which>
HRESULT create_request(DWORD, REFIID iid, void** object) {
  // Each class builds its table once and keeps it for the process.
  static const ClassType type(Which == 0   ? request_decl(u"WinHttpRequest", CLSID_WinHttpRequest, false)
                              : Which == 1 ? request_decl(u"ServerXMLHTTP60", CLSID_ServerXMLHTTP60, true)
                                           : request_decl(u"ServerXMLHTTP50", CLSID_ServerXMLHTTP50, true));
  auto* r = new (std::nothrow) Request(type);
  if (r == nullptr) return E_OUTOFMEMORY;
  HRESULT hr = r->QueryInterface(iid, object);
  r->Release();
  return hr;
}

}  // namespace

std::vector<ClassEntry> http_request_class_entries() {
  return {
      {u"WinHttp.WinHttpRequest.5.1", CLSID_WinHttpRequest, &create_request<0>},
      {u"MSXML2.ServerXMLHTTP.6.0", CLSID_ServerXMLHTTP60, &create_request<1>},
      {u"MSXML2.ServerXMLHTTP.5.0", CLSID_ServerXMLHTTP50, &create_request<2>},
  };
}

}  // namespace platform::com
