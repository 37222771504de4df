#include "platform/inet/url_download.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/kernel/codepage.h"
#include "platform/kernel/paths.h"
#include "platform/kernel/virtual_store.h"
#include "platform/net/transfer.h"
#include "platform/net/url_text.h"

namespace {

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

HRESULT result_of(platform::net::Failure failure) {
  using platform::net::Failure;
  switch (failure) {
    case Failure::unsupported_scheme:
      return INET_E_UNKNOWN_PROTOCOL;
    case Failure::malformed_url:
      return INET_E_INVALID_URL;
    case Failure::name_not_resolved:
      return INET_E_RESOURCE_NOT_FOUND;
    case Failure::cannot_connect:
      return INET_E_CANNOT_CONNECT;
    case Failure::timed_out:
      return INET_E_CONNECTION_TIMEOUT;
    case Failure::out_of_memory:
      return E_OUTOFMEMORY;
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
  if (!platform::net::is_http_url(address)) return INET_E_UNKNOWN_PROTOCOL;
  std::string target = platform::paths::to_system(file);
  if (target.empty() || target.back() == '/') return E_INVALIDARG;
  // Into a read-only program folder's per-user mirror; the partial file goes beside the target
  // there, so the rename stays within one folder and atomic.
  target = platform::kernel::virtual_store::for_write(target);

  PartialFile partial(target);
  if (!partial.ok()) {
    int e = partial.open_error();
    return e == EACCES || e == EPERM || e == EROFS || e == ENOENT || e == ENOTDIR ? E_ACCESSDENIED
                                                                                  : INET_E_DOWNLOAD_FAILURE;
  }

  platform::net::Request request;
  request.url = platform::net::percent_encode_url(platform::codepage::ansi_to_utf8(address));
  request.decode_content = true;
  // A stalled transfer ends after a minute without data rather than hanging forever.
  request.timeouts = {30000, 60000};
  platform::net::Failure failure = platform::net::Failure::none;
  std::unique_ptr<platform::net::Transfer> transfer = platform::net::Transfer::create(request, &failure);
  if (transfer) failure = transfer->start();
  if (failure != platform::net::Failure::none) return result_of(failure);
  // The status decides before any byte is written: an error page is never the file.
  int status = transfer->status();
  if (status == 404 || status == 410) return INET_E_RESOURCE_NOT_FOUND;
  if (status < 200 || status >= 300) return INET_E_DOWNLOAD_FAILURE;
  failure = transfer->receive(
      [&partial](std::string_view bytes) { return partial.write(bytes.data(), bytes.size()); });
  if (failure != platform::net::Failure::none) return result_of(failure);
  return partial.commit(target) ? S_OK : E_ACCESSDENIED;
}
