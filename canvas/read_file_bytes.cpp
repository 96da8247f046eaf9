#include "canvas/read_file_bytes.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Closes the descriptor on every way out of ReadFileBytes.
struct FileDescriptor {
  int fd;
  ~FileDescriptor() {
    if (fd >= 0) ::close(fd);
  }
};

}  // namespace

Bytes ReadFileBytes(const std::string& path) {
  if (path.empty()) return {};
  // O_NONBLOCK keeps the open of a named pipe from waiting for a writer; it changes
  // nothing for a regular file, the only kind that is read.
  FileDescriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)};
  if (file.fd < 0) return {};
  struct stat info{};
  if (::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode)) return {};

  Bytes bytes(static_cast<std::size_t>(info.st_size));
  std::size_t filled = 0;
  for (;;) {
    if (filled == bytes.size()) bytes.resize(bytes.size() + 65536);  // the file grew
    const ssize_t got = ::read(file.fd, bytes.data() + filled, bytes.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return {};
    if (got == 0) break;
    filled += static_cast<std::size_t>(got);
  }
  bytes.resize(filled);
  return bytes;
}
