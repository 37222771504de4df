#include "platform/inet/url_download.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/inet/url_encoding.h"
#include "platform/kernel/paths.h"

namespace {

bool starts_with_nocase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

void init_curl_once() {
  static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  (void)initialised;
}

// The partial file beside the target; removed unless committed.
class PartialFile {
 public:
  explicit PartialFile(const std::string& target) {
    std::size_t slash = target.rfind('/');
    std::string dir = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    // A target whose name is near the file system's limit gets a short partial name, so the
    // longest name the target may have still downloads.
    constexpr std::size_t kNameMax = 255;
    const std::string suffix = ".part-XXXXXX";
    if (1 + base.size() + suffix.size() > kNameMax) base = "download";
    path_ = dir + "." + base + suffix;
    std::vector<char> name(path_.begin(), path_.end());
    name.push_back('\0');
    fd_ = mkstemp(name.data());
    if (fd_ >= 0) {
      created_ = true;
      path_.assign(name.data());
      fchmod(fd_, 0644);
    } else {
      error_ = errno;
    }
  }
  ~PartialFile() {
    if (fd_ >= 0) close(fd_);
    if (created_ && !committed_) unlink(path_.c_str());
  }
  PartialFile(const PartialFile&) = delete;
  PartialFile& operator=(const PartialFile&) = delete;

  bool ok() const { return fd_ >= 0; }
  int open_error() const { return error_; }
  bool write(const char* data, std::size_t n) {
    while (n > 0) {
      ssize_t w = ::write(fd_, data, n);
      if (w < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      data += w;
      n -= static_cast<std::size_t>(w);
    }
    return true;
  }
  bool commit(const std::string& target) {
    if (fsync(fd_) != 0 || close(fd_) != 0) {
      fd_ = -1;
      return false;
    }
    fd_ = -1;
    if (std::rename(path_.c_str(), target.c_str()) != 0) return false;
    committed_ = true;
    return true;
  }

 private:
  std::string path_;
  int fd_ = -1;
  int error_ = 0;
  bool created_ = false;
  bool committed_ = false;
};

struct Transfer {
  PartialFile* file;
  bool write_failed = false;
};

size_t write_body(char* data, size_t size, size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  std::size_t n = size * count;
  if (!t->file->write(data, n)) {
    t->write_failed = true;
    return 0;
  }
  return n;
}

HRESULT result_of(CURLcode code) {
  switch (code) {
    case CURLE_UNSUPPORTED_PROTOCOL:
      return INET_E_UNKNOWN_PROTOCOL;
    case CURLE_URL_MALFORMAT:
      return INET_E_INVALID_URL;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
      return INET_E_RESOURCE_NOT_FOUND;
    case CURLE_COULDNT_CONNECT:
      return INET_E_CANNOT_CONNECT;
    case CURLE_OPERATION_TIMEDOUT:
      return INET_E_CONNECTION_TIMEOUT;
    default:
      return INET_E_DOWNLOAD_FAILURE;
  }
}

}  // namespace

extern "C" HRESULT URLDownloadToFileA(void* /*caller*/, LPCSTR url, LPCSTR file, DWORD reserved,
                                      void* /*callback*/) {
  if (url == nullptr || *url == '\0' || file == nullptr || *file == '\0' || reserved != 0)
    return E_INVALIDARG;
  std::string_view address(url);
  if (!starts_with_nocase(address, "http://") && !starts_with_nocase(address, "https://")) {
    return INET_E_UNKNOWN_PROTOCOL;
  }
  std::string target = platform::paths::to_system(file);
  if (target.empty() || target.back() == '/') return E_INVALIDARG;

  PartialFile partial(target);
  if (!partial.ok()) {
    int e = partial.open_error();
    return e == EACCES || e == EPERM || e == EROFS || e == ENOENT || e == ENOTDIR ? E_ACCESSDENIED
                                                                                  : INET_E_DOWNLOAD_FAILURE;
  }

  init_curl_once();
  CURL* curl = curl_easy_init();
  if (curl == nullptr) return E_OUTOFMEMORY;
  std::string encoded = platform::inet::encode_for_wire(address);
  Transfer transfer{&partial};
  curl_easy_setopt(curl, CURLOPT_URL, encoded.c_str());
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 30L);
  // A stalled transfer ends after a minute without data rather than hanging forever.
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, 60L);
  curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "");
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, write_body);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
  CURLcode code = curl_easy_perform(curl);
  long status = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  curl_easy_cleanup(curl);

  if (transfer.write_failed) return INET_E_DOWNLOAD_FAILURE;
  if (code != CURLE_OK) return result_of(code);
  if (status == 404 || status == 410) return INET_E_RESOURCE_NOT_FOUND;
  if (status < 200 || status >= 300) return INET_E_DOWNLOAD_FAILURE;
  return partial.commit(target) ? S_OK : E_ACCESSDENIED;
}
