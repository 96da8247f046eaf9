#include "canvas/read_file_bytes.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace {

// Owns an open file descriptor and closes it on every way out.
struct FileDescriptor {
  explicit FileDescriptor(int descriptor) : fd(descriptor) {}
  FileDescriptor(FileDescriptor&& other) noexcept : fd(std::exchange(other.fd, -1)) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd >= 0) ::close(fd);
  }
  int fd;
};

// Opens `path` for reading if it names a regular file. O_NONBLOCK keeps the open of a
// named pipe from waiting for a writer; it changes nothing for a regular file, the only
// kind that is read.
FileDescriptor OpenRegularFile(const std::string& path, struct stat& info) {
  if (path.empty()) return FileDescriptor{-1};
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (file.fd >= 0 && (::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode))) {
    return FileDescriptor{-1};
  }
  return file;
}

ssize_t ReadSome(int fd, std::uint8_t* into, std::size_t size) {
  for (;;) {
    const ssize_t got = ::read(fd, into, size);
    if (got >= 0 || errno != EINTR) return got;
  }
}

}  // namespace

Bytes ReadFileBytes(const std::string& path) {
  struct stat info{};
  FileDescriptor file = OpenRegularFile(path, info);
  if (file.fd < 0 || std::uint64_t(info.st_size) > kLargestPictureFile) return {};

  Bytes bytes(static_cast<std::size_t>(info.st_size));
  std::size_t filled = 0;
  for (;;) {
    if (filled == bytes.size()) {  // the file grew
      if (filled >= kLargestPictureFile) return {};
      bytes.resize(bytes.size() + 65536);
    }
    const ssize_t got = ReadSome(file.fd, bytes.data() + filled, bytes.size() - filled);
    if (got < 0) return {};
    if (got == 0) break;
    filled += static_cast<std::size_t>(got);
  }
  bytes.resize(filled);
  return bytes;
}

bool FileHoldsBytes(const std::string& path, std::span<const std::uint8_t> bytes) {
  struct stat info{};
  FileDescriptor file = OpenRegularFile(path, info);
  if (file.fd < 0 || std::uint64_t(info.st_size) != bytes.size()) return false;
  std::uint8_t piece[65536];
  std::size_t compared = 0;
  for (;;) {
    const ssize_t got = ReadSome(file.fd, piece, sizeof piece);
    if (got < 0) return false;
    if (got == 0) return compared == bytes.size();
    const std::size_t size = std::size_t(got);
    if (size > bytes.size() - compared) return false;  // the file grew
    if (std::memcmp(piece, bytes.data() + compared, size) != 0) return false;
    compared += size;
  }
}
