// The pictures compiled into the program: the icon's eleven images with their exact bit
// depths, and the two 45 × 45 24-bit button pictures.

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QSet>
#include <gmock/gmock.h>

#include "app/program_pictures.h"
#include "tests/support/qt_printers.h"

using ::testing::ElementsAre;

void PrintTo(const IconEntry& entry, std::ostream* out) {
  *out << entry.width << " x " << entry.height << " at " << entry.bitsPerPixel << " bits";
}

TEST(ProgramPicturesTest, IconFileHoldsItsElevenImages) {
  const std::vector<IconEntry> entries = ReadIconDirectory(QString::fromUtf8(kProgramIconPath));
  EXPECT_THAT(entries, ElementsAre(IconEntry{32, 32, 1},                       // 2 colours
                                   IconEntry{48, 48, 4}, IconEntry{32, 32, 4},  // 16 colours
                                   IconEntry{16, 16, 4},                        //
                                   IconEntry{48, 48, 8}, IconEntry{32, 32, 8},  // 256 colours
                                   IconEntry{16, 16, 8},                        //
                                   IconEntry{128, 128, 32}, IconEntry{48, 48, 32},
                                   IconEntry{32, 32, 32}, IconEntry{16, 16, 32}));

  // And every one of them decodes at its size.
  QImageReader reader(QString::fromUtf8(kProgramIconPath));
  ASSERT_EQ(reader.imageCount(), static_cast<int>(entries.size()));
  for (int i = 0; i < reader.imageCount(); ++i) {
    ASSERT_TRUE(reader.jumpToImage(i));
    const QImage image = reader.read();
    ASSERT_FALSE(image.isNull()) << "image " << i;
    EXPECT_EQ(image.size(), QSize(entries[i].width, entries[i].height)) << "image " << i;
  }
}

TEST(ProgramPicturesTest, ReadingAnythingElseGivesNoImages) {
  EXPECT_TRUE(ReadIconDirectory(QString::fromUtf8(kOpenButtonPicturePath)).empty());
  EXPECT_TRUE(ReadIconDirectory(QStringLiteral(":/no/such/file.ico")).empty());
}

TEST(ProgramPicturesTest, WindowIconUsesTheTrueColourImages) {
  const QIcon icon = ProgramIcon();
  EXPECT_THAT(icon.availableSizes(),
              ::testing::UnorderedElementsAre(QSize(16, 16), QSize(32, 32), QSize(48, 48),
                                              QSize(128, 128)));
  const QImage image = icon.pixmap(QSize(32, 32)).toImage();
  QSet<QRgb> colours;
  bool partlyTransparent = false;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = image.pixel(x, y);
      colours.insert(pixel);
      partlyTransparent |= qAlpha(pixel) > 0 && qAlpha(pixel) < 255;
    }
  EXPECT_GT(colours.size(), 16) << "not the 2- or 16-colour image";
  EXPECT_TRUE(partlyTransparent) << "the alpha channel's soft edge";
}

namespace {

// Width, height and bits per pixel from a Windows bitmap file's header.
struct BitmapHeader {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
};

BitmapHeader ReadBitmapHeader(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.read(30);
  if (bytes.size() < 30 || !bytes.startsWith("BM")) return {};
  const auto u32 = [&bytes](int at) {
    return static_cast<int>(static_cast<unsigned char>(bytes[at]) |
                            static_cast<unsigned char>(bytes[at + 1]) << 8 |
                            static_cast<unsigned char>(bytes[at + 2]) << 16 |
                            static_cast<unsigned char>(bytes[at + 3]) << 24);
  };
  return {u32(18), u32(22), static_cast<unsigned char>(bytes[28]) |
                                static_cast<unsigned char>(bytes[29]) << 8};
}

}  // namespace

TEST(ProgramPicturesTest, ButtonPicturesAre45By45In24BitColour) {
  for (const char* path : {kOpenButtonPicturePath, kMakeButtonPicturePath}) {
    const BitmapHeader header = ReadBitmapHeader(QString::fromUtf8(path));
    EXPECT_EQ(header.width, 45) << path;
    EXPECT_EQ(header.height, 45) << path;
    EXPECT_EQ(header.bitsPerPixel, 24) << path;
    EXPECT_FALSE(QImage(QString::fromUtf8(path)).isNull()) << path;
  }
}
