#include "render/engine/replacing_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <random>
#include <utility>

namespace {

constexpr int kMostNameTries = 64;
constexpr std::size_t kStreamBuffer = 1 << 18;

// The folder part of `path`, "." for a bare file name.
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Saving through a symbolic link replaces the file it points to, not the link.
std::string ResolveLink(const std::string& path) {
  struct stat status {};
  if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Why a file operation failed, in words a user can act on.
std::string Reason(int errorNumber, const std::string& folder) {
  switch (errorNumber) {
    case ENOENT: return "the folder " + Quoted(folder) + " does not exist";
    case ENOTDIR: return "part of the folder path " + Quoted(folder) + " is not a folder";
    case EACCES:
    case EPERM: return "there is no permission to write in the folder " + Quoted(folder);
    case EROFS: return "the folder " + Quoted(folder) + " is on a read-only disk";
    case ENOSPC:
    case EDQUOT: return "there is not enough space left on the disk";
    case EFBIG: return "the file would be larger than the disk or the system allows";
    case ENAMETOOLONG: return "the file name is too long";
    case EISDIR: return "that name belongs to a folder";
    case EIO: return "the disk reported an error while writing";
    default: return std::strerror(errorNumber);
  }
}

std::string TemporaryName(const std::string& folder, std::mt19937_64& random) {
  static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::string name = folder + "/.tessarin-";
  for (int i = 0; i < 10; ++i) name += kDigits[random() % 36];
  return name + ".tmp";
}

}  // namespace

ReplacingFile::ReplacingFile(const std::string& path)
    : target_(ResolveLink(path)), folder_(FolderOf(target_)) {
  if (path.empty()) {
    failed_errno_ = EINVAL;
    error_ = "The workbook could not be saved: no file name was given.";
    return;
  }
  struct stat existing {};
  const bool replaces = stat(target_.c_str(), &existing) == 0;
  if (path.back() == '/' || (replaces && S_ISDIR(existing.st_mode))) {
    Fail(EISDIR);
    return;
  }
  const int descriptor = CreateTemporary();
  if (descriptor < 0) return;
  // A file that is replaced keeps its permissions, as it would when overwritten in place.
  if (replaces && S_ISREG(existing.st_mode)) fchmod(descriptor, existing.st_mode & 07777);
  stream_ = fdopen(descriptor, "wb");
  if (stream_ == nullptr) {
    Fail(errno);
    close(descriptor);
    return;
  }
  std::setvbuf(stream_, nullptr, _IOFBF, kStreamBuffer);
}

int ReplacingFile::CreateTemporary() {
  std::mt19937_64 random(std::random_device{}());
  for (int attempt = 0; attempt < kMostNameTries; ++attempt) {
    temporary_ = TemporaryName(folder_, random);
    // 0666 like any newly created file: the umask then takes away what it should.
    const int descriptor = open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor >= 0) return descriptor;
    if (errno != EEXIST) break;
  }
  const int reason = errno;
  temporary_.clear();
  Fail(reason);
  return -1;
}

ReplacingFile::~ReplacingFile() { Discard(); }

bool ReplacingFile::Write(const void* data, std::size_t size) {
  if (!ok()) return false;
  if (std::fwrite(data, 1, size, stream_) != size) Fail(errno);
  return ok();
}

bool ReplacingFile::Seek(std::int64_t offset, int origin) {
  if (!ok()) return false;
  if (fseeko(stream_, static_cast<off_t>(offset), origin) != 0) Fail(errno);
  return ok();
}

std::int64_t ReplacingFile::Tell() {
  if (!ok()) return -1;
  const off_t position = ftello(stream_);
  if (position < 0) Fail(errno);
  return position;
}

bool ReplacingFile::Commit() {
  if (!ok()) {
    Discard();
    return false;
  }
  if (std::fflush(stream_) != 0 || fsync(fileno(stream_)) != 0) Fail(errno);
  const int closed = std::fclose(std::exchange(stream_, nullptr));
  if (closed != 0 && failed_errno_ == 0) Fail(errno);
  if (failed_errno_ == 0 && std::rename(temporary_.c_str(), target_.c_str()) != 0) Fail(errno);
  if (failed_errno_ != 0) {
    Discard();
    return false;
  }
  temporary_.clear();
  // The rename itself is on disk only once the folder is.
  const int folder = open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    fsync(folder);
    close(folder);
  }
  return true;
}

void ReplacingFile::Fail(int errorNumber) {
  if (failed_errno_ != 0) return;
  failed_errno_ = errorNumber != 0 ? errorNumber : EIO;
  error_ = "The workbook could not be saved as " + Quoted(target_) + ": " +
           Reason(failed_errno_, folder_) + ".";
}

void ReplacingFile::Discard() {
  if (stream_ != nullptr) std::fclose(std::exchange(stream_, nullptr));
  if (!temporary_.empty()) unlink(std::exchange(temporary_, std::string()).c_str());
}
