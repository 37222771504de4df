// The HTTP request classes: "WinHttp.WinHttpRequest.5.1", "MSXML2.ServerXMLHTTP.6.0" and
// "MSXML2.ServerXMLHTTP.5.0", on libcurl (see http_transfer.h for the wire behaviour).
// Contract:
// - Members: Open, Send (optional body: text as UTF-8, or an array of bytes), SetRequestHeader,
//   GetResponseHeader, GetAllResponseHeaders, SetTimeouts, WaitForResponse, and the properties
//   Status, StatusText, ResponseBody (VT_ARRAY | VT_UI1), ResponseText (decoded by the reply's
//   charset, UTF-8 when it names none). Names bind without regard to case.
// - Send is synchronous whatever Open was told; WaitForResponse answers true once Send is done.
// - A failed request fails Send with its HRESULT (as an exception) and leaves the response
//   empty: ResponseBody is then VT_EMPTY. Status and friends before a response are errors.
#pragma once

#include <vector>

#include "platform/com/registry.h"

namespace platform::com {

// The object model's own class identifiers.
inline constexpr CLSID CLSID_WinHttpRequest = {
    0x6C1E0A01, 0x51D2, 0x4E7A, {0x9B, 0x10, 0x3A, 0x52, 0x7C, 0x01, 0x00, 0x01}};
inline constexpr CLSID CLSID_ServerXMLHTTP60 = {
    0x6C1E0A01, 0x51D2, 0x4E7A, {0x9B, 0x10, 0x3A, 0x52, 0x7C, 0x01, 0x00, 0x02}};
inline constexpr CLSID CLSID_ServerXMLHTTP50 = {
    0x6C1E0A01, 0x51D2, 0x4E7A, {0x9B, 0x10, 0x3A, 0x52, 0x7C, 0x01, 0x00, 0x03}};

std::vector<ClassEntry> http_request_class_entries();

}  // namespace platform::com
