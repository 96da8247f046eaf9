#include "canvas/picture_file.h"

#include <mutex>

#include "canvas/bitmap_loader.h"
#include "canvas/picture_decoder.h"
#include "canvas/read_file_bytes.h"

namespace {

struct PictureSize {
  int width = 0;
  int height = 0;
};

PictureSize MeasureBytes(const Bytes& bytes) {
  if (const auto picture = DecodePicture(bytes)) return {picture->width, picture->height};
  if (const auto bitmap = LoadBitmapSize(bytes)) return {bitmap->width, bitmap->height};
  return {};
}

// The last bytes measured and their size. The file is compared whole with those bytes,
// so no two files can share an answer; the comparison reads the file piece by piece and
// costs far less than a decode.
class LastMeasurement {
 public:
  PictureSize SizeOfFile(const std::string& path) {
    std::lock_guard lock(mutex_);
    if (known_ && FileHoldsBytes(path, bytes_)) return size_;
    bytes_ = ReadFileBytes(path);
    size_ = MeasureBytes(bytes_);
    known_ = true;
    return size_;
  }

 private:
  std::mutex mutex_;
  bool known_ = false;
  Bytes bytes_;
  PictureSize size_;
};

PictureSize MeasureFile(const std::string& path) {
  static LastMeasurement last;
  return last.SizeOfFile(path);
}

}  // namespace

int PictureWidth(const std::string& path) { return MeasureFile(path).width; }

int PictureHeight(const std::string& path) { return MeasureFile(path).height; }
