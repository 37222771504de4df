// The lyric service port of the test image: a free loopback port chosen once per process and
// handed on to child processes through the environment, so that a child copy of the program
// reaches its parent's service.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

constexpr char kPortVariable[] = "LYRICS_TEST_SERVICE_PORT";

int free_loopback_port() {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return 47631;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  int port = 47631;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    port = ntohs(address.sin_port);
  }
  close(fd);
  return port;
}

}  // namespace

int app_test_service_port() {
  if (const char* given = std::getenv(kPortVariable)) return std::atoi(given);
  const int port = free_loopback_port();
  setenv(kPortVariable, std::to_string(port).c_str(), 1);
  return port;
}
