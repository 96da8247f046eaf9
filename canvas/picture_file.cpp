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

// The last bytes measured and their size. Compared whole, so no two files can share an
// answer; a file's read costs about as much as the comparison.
class LastMeasurement {
 public:
  PictureSize SizeOf(Bytes bytes) {
    std::lock_guard lock(mutex_);
    if (!known_ || bytes != bytes_) {
      size_ = MeasureBytes(bytes);
      bytes_ = std::move(bytes);
      known_ = true;
    }
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
  return last.SizeOf(ReadFileBytes(path));
}

}  // namespace

int PictureWidth(const std::string& path) { return MeasureFile(path).width; }

int PictureHeight(const std::string& path) { return MeasureFile(path).height; }
