// The finder's two web routines, written with the commands exactly as the finder writes them:
// fetch_url (a request object by ProgID with two fall-backs, Open, Send, ResponseBody into a byte
// set) and decode_bytes (the stream turning bytes in a charset into GB18030 text).
#pragma once

#include <string>
#include <string_view>

namespace lyr::test {

extern const char* const kRequestProgIds[3];

// fetch_url handing back the runtime byte set (null when nothing came), the caller's to free.
void* fetch_byte_set(std::string address, std::string* served_by = nullptr);
// The body, or "" when nothing came; `served_by` receives the ProgID that was created.
std::string fetch_url(std::string address, std::string* served_by = nullptr);
// decode_bytes on a byte set of the runtime; the new text value (null for the empty text)
// belongs to the caller.
char* decode_byte_set(const void* byte_set, const char* charset);
// The text in GB18030 ("" for the empty text, which the command hands back as null).
std::string decode_bytes(std::string_view bytes, const char* charset = "UTF-8");

}  // namespace lyr::test
