// HttpOpenRequestA, HttpSendRequestA, HttpQueryInfoA and InternetReadFile.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/inet/inet_handles.h"
#include "platform/inet/inet_text.h"
#include "platform/inet/request_plan.h"
#include "platform/inet/wininet.h"
#include "platform/net/transfer.h"

using namespace platform::inet;

namespace {

BOOL fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

bool is_token(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c <= 0x20 || c >= 0x7F || std::strchr("()<>@,;:\\\"/[]?={}", c) != nullptr) return false;
  }
  return true;
}

// "Name: value" lines separated by CRLF (or LF); blank lines are skipped. False on a line that
// is not a header.
bool parse_header_lines(std::string_view text, std::vector<std::string>* lines) {
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.empty()) continue;
    std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || !is_token(trim(line.substr(0, colon))) ||
        line.find('\r') != std::string_view::npos)
      return false;
    lines->emplace_back(line);
  }
  return true;
}

// The value a query level asks for; false when the response has none.
bool query_value(const platform::net::Transfer& transfer, DWORD level, DWORD* index, std::string* value,
                 DWORD* error) {
  *error = ERROR_HTTP_HEADER_NOT_FOUND;
  DWORD wanted = index != nullptr ? *index : 0;
  const char* name = nullptr;
  switch (level) {
    case HTTP_QUERY_STATUS_CODE:
      if (transfer.status() == 0 || wanted != 0) return false;
      *value = std::to_string(transfer.status());
      return true;
    case HTTP_QUERY_STATUS_TEXT:
      if (transfer.status() == 0 || wanted != 0) return false;
      *value = transfer.status_text();
      return true;
    case HTTP_QUERY_RAW_HEADERS_CRLF:
      if (wanted != 0) return false;
      *value = transfer.raw_headers();
      return true;
    case HTTP_QUERY_CONTENT_TYPE:
      name = "Content-Type";
      break;
    case HTTP_QUERY_CONTENT_LENGTH:
      name = "Content-Length";
      break;
    case HTTP_QUERY_LOCATION:
      name = "Location";
      break;
    default:
      *error = ERROR_INVALID_PARAMETER;
      return false;
  }
  DWORD seen = 0;
  for (const platform::net::ResponseHeader& header : transfer.headers()) {
    if (!equal_nocase(header.name, name)) continue;
    if (seen++ == wanted) {
      *value = header.value;
      if (index != nullptr) ++*index;
      return true;
    }
  }
  return false;
}

}  // namespace

extern "C" HINTERNET HttpOpenRequestA(HINTERNET connect, LPCSTR verb, LPCSTR object, LPCSTR version,
                                      LPCSTR referrer, LPCSTR* accept_types, DWORD flags,
                                      DWORD_PTR /*context*/) {
  std::shared_ptr<Connection> connection = find_connection(connect);
  if (!connection) return nullptr;
  auto request = std::make_shared<Request>();
  request->connection = connection;
  request->verb = verb != nullptr && *verb != '\0' ? verb : "GET";
  request->object = object != nullptr ? object : "";
  request->version = version != nullptr && *version != '\0' ? version : "HTTP/1.1";
  request->referrer = referrer != nullptr ? std::string(trim(referrer)) : std::string();
  request->flags = flags;
  bool valid = is_token(request->verb) &&
               (request->version == "HTTP/1.0" || request->version == "HTTP/1.1") &&
               single_line(request->referrer);
  for (LPCSTR* type = accept_types; valid && type != nullptr && *type != nullptr; ++type) {
    std::string_view entry = trim(*type);
    if (entry.empty()) continue;
    valid = single_line(entry);
    if (!request->accept.empty()) request->accept += ", ";
    request->accept += entry;
  }
  if (!valid) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  {
    std::lock_guard lock(connection->mutex);
    request->timeouts = connection->timeouts;
  }
  return issue_handle(request);
}

extern "C" BOOL HttpSendRequestA(HINTERNET handle, LPCSTR headers, DWORD headers_length, LPVOID optional,
                                 DWORD optional_length) {
  std::shared_ptr<Request> request = find_request(handle);
  if (!request) return FALSE;
  std::vector<std::string> given;
  if (headers != nullptr) {
    std::size_t length = headers_length == static_cast<DWORD>(-1) ? std::strlen(headers) : headers_length;
    if (!parse_header_lines(std::string_view(headers, length), &given))
      return fail(ERROR_HTTP_INVALID_HEADER);
  }
  if (optional == nullptr && optional_length != 0) return fail(ERROR_INVALID_PARAMETER);
  std::lock_guard lock(request->mutex);
  platform::net::Request plan = plan_transfer(*request, std::move(given));
  if (optional != nullptr) plan.body.assign(static_cast<const char*>(optional), optional_length);
  // Sending again starts over: the previous response is dropped.
  request->transfer.reset();
  platform::net::Failure failure = platform::net::Failure::none;
  std::unique_ptr<platform::net::Transfer> transfer = platform::net::Transfer::create(plan, &failure);
  if (transfer) failure = transfer->start();
  if (failure != platform::net::Failure::none) return fail(error_of(failure));
  request->transfer = std::move(transfer);
  return TRUE;
}

extern "C" BOOL HttpQueryInfoA(HINTERNET handle, DWORD info_level, LPVOID buffer, LPDWORD length,
                               LPDWORD index) {
  std::shared_ptr<Request> request = find_request(handle);
  if (!request) return FALSE;
  if (length == nullptr) return fail(ERROR_INVALID_PARAMETER);
  DWORD modifiers = info_level & 0xFFFF0000u;
  if ((modifiers & ~HTTP_QUERY_FLAG_NUMBER) != 0) return fail(ERROR_INVALID_PARAMETER);
  std::lock_guard lock(request->mutex);
  if (!request->transfer) return fail(ERROR_INTERNET_INCORRECT_HANDLE_STATE);
  std::string value;
  DWORD error = 0;
  DWORD probe = index != nullptr ? *index : 0;
  if (!query_value(*request->transfer, info_level & 0xFFFF, &probe, &value, &error)) return fail(error);
  if (modifiers & HTTP_QUERY_FLAG_NUMBER) {
    std::string_view digits = trim(value);
    std::uint64_t number = 0;
    std::size_t i = 0;
    for (; i < digits.size() && digits[i] >= '0' && digits[i] <= '9'; ++i) {
      number = number * 10 + static_cast<std::uint64_t>(digits[i] - '0');
      if (number > 0xFFFFFFFFu) return fail(ERROR_HTTP_INVALID_HEADER);  // no DWORD holds it
    }
    if (i == 0) return fail(ERROR_HTTP_INVALID_HEADER);
    if (buffer == nullptr || *length < sizeof(DWORD)) {
      *length = sizeof(DWORD);
      return fail(ERROR_INSUFFICIENT_BUFFER);
    }
    const DWORD word = static_cast<DWORD>(number);
    std::memcpy(buffer, &word, sizeof word);
    *length = sizeof(DWORD);
  } else {
    if (buffer == nullptr || *length < value.size() + 1) {
      *length = static_cast<DWORD>(value.size() + 1);
      return fail(ERROR_INSUFFICIENT_BUFFER);
    }
    std::memcpy(buffer, value.c_str(), value.size() + 1);
    *length = static_cast<DWORD>(value.size());
  }
  if (index != nullptr) *index = probe;
  return TRUE;
}

extern "C" BOOL InternetReadFile(HINTERNET file, LPVOID buffer, DWORD to_read, LPDWORD read) {
  if (read == nullptr) return fail(ERROR_INVALID_PARAMETER);
  *read = 0;
  std::shared_ptr<Request> request = find_request(file);
  if (!request) return FALSE;
  if (buffer == nullptr && to_read != 0) return fail(ERROR_INVALID_PARAMETER);
  std::lock_guard lock(request->mutex);
  if (!request->transfer) return fail(ERROR_INTERNET_INCORRECT_HANDLE_STATE);
  std::size_t got = 0;
  DWORD error = error_of(request->transfer->read(static_cast<char*>(buffer), to_read, &got));
  *read = static_cast<DWORD>(got);
  return error == 0 ? TRUE : fail(error);
}
