#include "render/engine/zip_container.h"

#include <zip.h>

#include <climits>
#include <ctime>

namespace {

// minizip reaches the file only through these, so every byte goes through ReplacingFile and
// a failed write is remembered there with its reason.
ReplacingFile& FileOf(voidpf opaque) { return *static_cast<ReplacingFile*>(opaque); }

voidpf ZCALLBACK OpenFile(voidpf opaque, const void*, int) {
  return FileOf(opaque).ok() ? opaque : nullptr;
}
uLong ZCALLBACK ReadFile(voidpf, voidpf, void*, uLong) { return 0; }
uLong ZCALLBACK WriteFile(voidpf opaque, voidpf, const void* data, uLong size) {
  return FileOf(opaque).Write(data, size) ? size : 0;
}
ZPOS64_T ZCALLBACK TellFile(voidpf opaque, voidpf) {
  return static_cast<ZPOS64_T>(FileOf(opaque).Tell());
}
long ZCALLBACK SeekFile(voidpf opaque, voidpf, ZPOS64_T offset, int origin) {
  const int whence = origin == ZLIB_FILEFUNC_SEEK_SET   ? SEEK_SET
                     : origin == ZLIB_FILEFUNC_SEEK_CUR ? SEEK_CUR
                                                        : SEEK_END;
  return FileOf(opaque).Seek(static_cast<std::int64_t>(offset), whence) ? 0 : -1;
}
// Closing, syncing and renaming belong to ReplacingFile::Commit.
int ZCALLBACK CloseFile(voidpf opaque, voidpf) { return FileOf(opaque).ok() ? 0 : -1; }
int ZCALLBACK TestError(voidpf opaque, voidpf) { return FileOf(opaque).ok() ? 0 : 1; }

zip_fileinfo Now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  zip_fileinfo info{};
  info.tmz_date.tm_sec = static_cast<uInt>(local.tm_sec);
  info.tmz_date.tm_min = static_cast<uInt>(local.tm_min);
  info.tmz_date.tm_hour = static_cast<uInt>(local.tm_hour);
  info.tmz_date.tm_mday = static_cast<uInt>(local.tm_mday);
  info.tmz_date.tm_mon = static_cast<uInt>(local.tm_mon);
  info.tmz_date.tm_year = static_cast<uInt>(local.tm_year + 1900);
  return info;
}

bool StoreEntry(zipFile zip, const DeflatedPart& part, const zip_fileinfo& info) {
  if (part.size > UINT_MAX) return false;
  constexpr int kRaw = 1;
  if (zipOpenNewFileInZip2(zip, part.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                           Z_DEFLATED, Z_DEFAULT_COMPRESSION, kRaw) != ZIP_OK) {
    return false;
  }
  const bool written =
      zipWriteInFileInZip(zip, part.data.get(), static_cast<unsigned>(part.size)) == ZIP_OK;
  const bool closed = zipCloseFileInZipRaw(zip, part.originalSize, part.crc32) == ZIP_OK;
  return written && closed;
}

}  // namespace

bool WriteZipContainer(ReplacingFile& file, std::span<const DeflatedPart> parts) {
  zlib_filefunc64_def functions{OpenFile, ReadFile,  WriteFile, TellFile,
                                SeekFile, CloseFile, TestError, &file};
  zipFile zip = zipOpen2_64("", APPEND_STATUS_CREATE, nullptr, &functions);
  if (zip == nullptr) return false;
  const zip_fileinfo info = Now();
  bool stored = true;
  for (const DeflatedPart& part : parts) {
    stored = stored && StoreEntry(zip, part, info);
  }
  const bool closed = zipClose(zip, nullptr) == ZIP_OK;
  return stored && closed && file.ok();
}
