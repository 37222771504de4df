#include "tests/libs/internet/recording_functions.h"

#include <mutex>

namespace inet_lib_test {
namespace {

std::mutex mutex;
std::vector<Call> calls;
bool refuse_open = false;

void record(Call call) {
  std::lock_guard lock(mutex);
  calls.push_back(std::move(call));
}

std::string text(LPCSTR s) {
  return s != nullptr ? s : "<null>";
}

HINTERNET open(LPCSTR agent, DWORD access, LPCSTR proxy, LPCSTR bypass, DWORD flags) {
  record({"open", text(agent), text(proxy) + "|" + text(bypass), access, flags});
  bool refuse;
  {
    std::lock_guard lock(mutex);
    refuse = refuse_open;
  }
  return refuse ? nullptr : InternetOpenA(agent, access, proxy, bypass, flags);
}

HINTERNET connect(HINTERNET root, LPCSTR server, INTERNET_PORT port, LPCSTR user, LPCSTR password,
                  DWORD service, DWORD flags, DWORD_PTR context) {
  record({"connect", text(server), text(user) + ":" + text(password), port, service | flags << 8});
  return InternetConnectA(root, server, port, user, password, service, flags, context);
}

BOOL set_option(HINTERNET h, DWORD option, LPVOID buffer, DWORD length) {
  std::string value;
  if (option == INTERNET_OPTION_PROXY) {
    const auto* info = static_cast<const INTERNET_PROXY_INFO*>(buffer);
    value = std::to_string(info->dwAccessType) + " " + text(info->lpszProxy);
  } else {
    value = static_cast<const char*>(buffer);
  }
  record({"set_option", value, "", option, length});
  return InternetSetOptionA(h, option, buffer, length);
}

HINTERNET open_request(HINTERNET c, LPCSTR verb, LPCSTR object, LPCSTR version, LPCSTR referrer,
                       LPCSTR* accept, DWORD flags, DWORD_PTR context) {
  std::string accepted;
  for (LPCSTR* a = accept; a != nullptr && *a != nullptr; ++a) accepted += std::string(*a) + "|";
  record({"open_request", text(verb) + " " + text(object) + " " + text(version) + " " + text(referrer),
          accepted, flags, 0});
  return HttpOpenRequestA(c, verb, object, version, referrer, accept, flags, context);
}

BOOL send_request(HINTERNET r, LPCSTR headers, DWORD length, LPVOID optional, DWORD optional_length) {
  record({"send_request", std::string(headers, length), "", length, optional_length});
  return HttpSendRequestA(r, headers, length, optional, optional_length);
}

BOOL query_info(HINTERNET r, DWORD level, LPVOID buffer, LPDWORD length, LPDWORD index) {
  record({"query_info", "", "", level, *length});
  return HttpQueryInfoA(r, level, buffer, length, index);
}

BOOL read_file(HINTERNET r, LPVOID buffer, DWORD to_read, LPDWORD read) {
  record({"read_file", "", "", to_read, 0});
  return InternetReadFile(r, buffer, to_read, read);
}

BOOL close_handle(HINTERNET h) {
  record({"close_handle", "", "", 0, 0});
  return InternetCloseHandle(h);
}

BOOL crack_url(LPCSTR url, DWORD length, DWORD flags, URL_COMPONENTSA* c) {
  record({"crack_url", std::string(url, length), "", flags, 0});
  return InternetCrackUrlA(url, length, flags, c);
}

}  // namespace

void start_recording(bool fail_open) {
  std::lock_guard lock(mutex);
  calls.clear();
  refuse_open = fail_open;
}

std::vector<Call> recorded_calls() {
  std::lock_guard lock(mutex);
  return calls;
}

std::vector<DWORD> recorded_read_sizes() {
  std::vector<DWORD> sizes;
  for (const Call& call : recorded_calls())
    if (call.name == "read_file") sizes.push_back(call.number);
  return sizes;
}

const libs::internet::InternetFunctions& recording_functions() {
  static constexpr libs::internet::InternetFunctions functions{
      &open,       &connect,   &set_option,   &open_request, &send_request,
      &query_info, &read_file, &close_handle, &crack_url,
  };
  return functions;
}

}  // namespace inet_lib_test
