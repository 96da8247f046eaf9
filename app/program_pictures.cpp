#include "app/program_pictures.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QMap>
#include <QPixmap>

namespace {

constexpr qsizetype kIconHeaderSize = 6;
constexpr qsizetype kIconEntrySize = 16;

int LittleEndian16(const QByteArray& bytes, qsizetype at) {
  return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

}  // namespace

std::vector<IconEntry> ReadIconDirectory(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.readAll();
  if (bytes.size() < kIconHeaderSize || LittleEndian16(bytes, 0) != 0 ||
      LittleEndian16(bytes, 2) != 1)
    return {};
  const int count = LittleEndian16(bytes, 4);
  if (bytes.size() < kIconHeaderSize + count * kIconEntrySize) return {};

  std::vector<IconEntry> entries;
  for (int i = 0; i < count; ++i) {
    const qsizetype at = kIconHeaderSize + i * kIconEntrySize;
    // A width or height byte of 0 stands for 256.
    const int width = static_cast<unsigned char>(bytes[at]);
    const int height = static_cast<unsigned char>(bytes[at + 1]);
    entries.push_back({width == 0 ? 256 : width, height == 0 ? 256 : height,
                       LittleEndian16(bytes, at + 6)});
  }
  return entries;
}

QIcon ProgramIcon() {
  const QString path = QString::fromUtf8(kProgramIconPath);
  const std::vector<IconEntry> entries = ReadIconDirectory(path);
  QMap<int, int> richestBySize;  // width -> index of its image with the most bits per pixel
  for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
    const auto kept = richestBySize.constFind(entries[i].width);
    if (kept == richestBySize.constEnd() || entries[i].bitsPerPixel > entries[*kept].bitsPerPixel)
      richestBySize[entries[i].width] = i;
  }
  QIcon icon;
  QImageReader reader(path);
  for (const int index : richestBySize) {
    if (!reader.jumpToImage(index)) continue;
    const QImage image = reader.read();
    if (!image.isNull()) icon.addPixmap(QPixmap::fromImage(image));
  }
  return icon;
}

QIcon OpenButtonPicture() { return QIcon(QString::fromUtf8(kOpenButtonPicturePath)); }
QIcon MakeButtonPicture() { return QIcon(QString::fromUtf8(kMakeButtonPicturePath)); }
