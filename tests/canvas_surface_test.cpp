// The canvas surface: what it keeps, what it shows and when, what reading a point gives,
// and the mark the pen leaves.

#include "canvas/canvas_surface.h"

#include <gmock/gmock.h>

#include <climits>
#include <string>
#include <vector>

#include "tests/support/bmp_writer.h"
#include "tests/support/canvas_pixels.h"
#include "tests/support/case_names.h"


namespace {

constexpr ColourValue kInk = MakeColourValue(0x11, 0x22, 0x33);

TEST(CanvasSurfaceTest, StartsWhite) {
  const CanvasSurface canvas;
  EXPECT_TRUE(ShowTheSame(CanvasReading(canvas), CanvasReading([](int, int) { return kWhite; })));
}

TEST(CanvasSurfaceTest, ShowsANewPictureAtTheTopLeftOnWhiteOnlyOnceRepainted) {
  CanvasSurface canvas;
  ShowPicture(canvas, BmpBytes(30, 20, [](int, int) { return MakeColourValue(200, 10, 10); }));
  const CanvasReading earlier(canvas);

  canvas.SetCanvasPicture(BmpBytes(5, 3));
  EXPECT_TRUE(canvas.RepaintRequested());
  EXPECT_TRUE(ShowTheSame(CanvasReading(canvas), earlier)) << "before the repaint";

  canvas.RepaintIfRequested();
  EXPECT_FALSE(canvas.RepaintRequested());
  EXPECT_TRUE(ShowTheSame(CanvasReading(canvas), PatternOnWhite(5, 3)));
}

TEST(CanvasSurfaceTest, AFullSizePictureLosesItsLastTwoColumnsAndRowsToTheEdge) {
  CanvasSurface canvas;
  ShowPicture(canvas, BmpBytes(800, 600));
  EXPECT_TRUE(ShowTheSame(CanvasReading(canvas), PatternOnWhite(800, 600)));
}

TEST(CanvasSurfaceTest, ReadsNoColourOutsideTheDrawingArea) {
  CanvasSurface canvas;
  ShowPicture(canvas, BmpBytes(800, 600));
  const CanvasPoint outside[] = {{798, 0},    {799, 0},       {0, 598},       {0, 599},
                                 {798, 598},  {799, 599},     {-1, 0},        {0, -1},
                                 {-1, -1},    {-798, 5},      {5, 65535},     {65535, 65535},
                                 {INT_MIN, 0}, {0, INT_MAX}, {INT_MAX, INT_MIN}};
  for (const CanvasPoint point : outside)
    EXPECT_EQ(canvas.GetCanvasPixel(point.x, point.y), kNoColour) << ::testing::PrintToString(point);
  // The corners just inside read what the picture shows there.
  for (const CanvasPoint point : {CanvasPoint{0, 0}, {797, 0}, {0, 597}, {797, 597}})
    EXPECT_EQ(canvas.GetCanvasPixel(point.x, point.y), PatternColour(point.x, point.y))
        << ::testing::PrintToString(point);
}

// Bytes that give the canvas nothing to show: it is white after the repaint, whatever it
// showed before, and stays so at every later repaint.
struct NothingToShowCase {
  std::string label;
  Bytes bytes;
};
void PrintTo(const NothingToShowCase& test, std::ostream* out) { *out << test.label; }

class CanvasWithoutPictureTest : public ::testing::TestWithParam<NothingToShowCase> {};

TEST_P(CanvasWithoutPictureTest, ShowsWhite) {
  CanvasSurface canvas;
  ShowPicture(canvas, BmpBytes(40, 30));
  canvas.SetPenWidth(15);
  canvas.DrawCanvasPoint(100, 100, kInk);

  ShowPicture(canvas, GetParam().bytes);
  const CanvasReading allWhite([](int, int) { return kWhite; });
  EXPECT_TRUE(ShowTheSame(CanvasReading(canvas), allWhite));
  canvas.SetCanvasPicture({});
  canvas.RepaintIfRequested();
  EXPECT_TRUE(ShowTheSame(CanvasReading(canvas), allWhite));
}

Bytes TextBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes CutShort(Bytes bytes, std::size_t size) {
  bytes.resize(size);
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, CanvasWithoutPictureTest,
    ::testing::Values(NothingToShowCase{"NoBytes", {}},
                      NothingToShowCase{"Text", TextBytes("width=20\nheight=10\n")},
                      NothingToShowCase{"BitmapHeaderOnly", CutShort(BmpBytes(20, 10), 54)},
                      // Measured so that opening can refuse it, never shown.
                      NothingToShowCase{"WiderThan800", BmpBytes(801, 1)},
                      NothingToShowCase{"HigherThan600", BmpBytes(2, 601)}),
    CaseLabel());

TEST(CanvasSurfaceTest, OnlyARequestedRepaintErasesWhatWasDrawn) {
  CanvasSurface canvas;
  const Bytes picture = BmpBytes(60, 40);
  ShowPicture(canvas, picture);
  canvas.SetPenWidth(15);
  canvas.DrawCanvasPoint(20, 20, kInk);
  canvas.DrawCanvasPoint(300, 200, kInk);
  canvas.SetCanvasWritePosition(10, 30);
  canvas.WriteCanvasText("Ink");
  const CanvasReading drawn(canvas);
  ASSERT_EQ(drawn.At(300, 200), kInk);

  // A paint nobody asked a repaint for (the window uncovered, say) keeps every drawing.
  canvas.RepaintIfRequested();
  EXPECT_TRUE(ShowTheSame(CanvasReading(canvas), drawn));

  // Setting the picture again repaints the whole canvas from what it keeps.
  canvas.SetCanvasPicture(picture);
  canvas.RepaintIfRequested();
  EXPECT_TRUE(ShowTheSame(CanvasReading(canvas), PatternOnWhite(60, 40)));
}

// The pen's mark, 15 pixels wide, centred on the middle cell of this grid.
const std::vector<std::string> kPenMark = {
    "     #####     ",  //
    "   #########   ",  //
    "  ###########  ",  //
    " ############# ",  //
    " ############# ",  //
    "###############",  //
    "###############",  //
    "###############",  //  <- the point itself is the middle of this row
    "###############",  //
    "###############",  //
    " ############# ",  //
    " ############# ",  //
    "  ###########  ",  //
    "   #########   ",  //
    "     #####     ",  //
};

bool InPenMark(int dx, int dy) {
  const int reach = int(kPenMark.size()) / 2;
  if (dx < -reach || dx > reach || dy < -reach || dy > reach) return false;
  return kPenMark[std::size_t(dy + reach)][std::size_t(dx + reach)] == '#';
}

struct PenPointCase {
  std::string label;
  CanvasPoint centre;
};
void PrintTo(const PenPointCase& test, std::ostream* out) { *out << test.label; }

class PenPointTest : public ::testing::TestWithParam<PenPointCase> {};

TEST_P(PenPointTest, MarksTheRoundShapeClippedToTheDrawingArea) {
  const CanvasPoint centre = GetParam().centre;
  CanvasSurface canvas;
  canvas.SetPenWidth(15);
  canvas.DrawCanvasPoint(centre.x, centre.y, kInk);
  const CanvasReading expected([&](int x, int y) {
    return InPenMark(x - centre.x, y - centre.y) ? kInk : kWhite;
  });
  EXPECT_TRUE(ShowTheSame(CanvasReading(canvas), expected));
}

INSTANTIATE_TEST_SUITE_P(
    Centres, PenPointTest,
    ::testing::Values(PenPointCase{"Middle", {400, 300}},
                      PenPointCase{"TopLeftCorner", {0, 0}},
                      PenPointCase{"BottomRightCorner", {797, 597}},
                      PenPointCase{"JustLeftOfTheArea", {-7, 300}},
                      PenPointCase{"JustBelowTheArea", {400, 604}},
                      PenPointCase{"NextToTheRightEdge", {795, 3}},
                      PenPointCase{"FarOutside", {65535, 65535}}),
    CaseLabel());

TEST(CanvasSurfaceTest, APenOfWidthZeroOrOneMarksOnePixel) {
  for (const int width : {0, 1}) {
    CanvasSurface canvas;
    canvas.SetPenWidth(width);
    canvas.DrawCanvasPoint(100, 50, kInk);
    const CanvasReading shown(canvas);
    EXPECT_THAT(shown.PointsWhere([&](int x, int y) { return shown.At(x, y) != kWhite; }),
                ::testing::ElementsAre(CanvasPoint{100, 50}))
        << "width " << width;
    EXPECT_EQ(shown.At(100, 50), kInk) << "width " << width;
  }
}

TEST(CanvasSurfaceTest, APointKeepsItsColourExactlyOverAPicture) {
  CanvasSurface canvas;
  ShowPicture(canvas, BmpBytes(200, 200));
  const CanvasReading before(canvas);
  canvas.SetPenWidth(15);
  for (const ColourValue colour : {MakeColourValue(255, 0, 0), MakeColourValue(0, 0, 255),
                                   MakeColourValue(1, 2, 3), kBlack, kWhite}) {
    canvas.DrawCanvasPoint(50, 60, colour);
    EXPECT_EQ(canvas.GetCanvasPixel(50, 60), colour);
    EXPECT_EQ(canvas.GetCanvasPixel(57, 60), colour) << "the mark's right end";
  }
  EXPECT_EQ(canvas.GetCanvasPixel(58, 60), before.At(58, 60)) << "past the mark";
}

}  // namespace
