#include "service/library/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace lyr::service {

namespace {

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

Result<std::string> read_file_bytes(const std::string& path, std::size_t limit) {
  Fd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return fail(std::strerror(errno));
  struct stat st {};
  if (fstat(fd.get(), &st) != 0) return fail(std::strerror(errno));
  if (!S_ISREG(st.st_mode)) return fail("not a regular file");
  if (static_cast<std::size_t>(st.st_size) > limit) return fail("file too large");
  // One spare byte lets the end of the file show without growing the buffer.
  std::string bytes(static_cast<std::size_t>(st.st_size) + 1, '\0');
  std::size_t done = 0;
  while (true) {
    if (done == bytes.size()) bytes.resize(done * 2);  // the file grew since fstat
    ssize_t n = read(fd.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(std::strerror(errno));
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
    if (done > limit) return fail("file too large");
  }
  bytes.resize(done);
  return bytes;
}

}  // namespace lyr::service
