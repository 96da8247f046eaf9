// Stamping text on the canvas: where each line goes, how line breaks count, where the
// write position ends, and what the stamp does to the pixels under it.

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <gmock/gmock.h>

#include <string>

#include "canvas/canvas_surface.h"
#include "tests/support/bmp_writer.h"
#include "tests/support/canvas_pixels.h"
#include "tests/support/case_names.h"

namespace {

QFont LatinFont() {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(15);
  return font;
}

QFont ChineseFont() {
  QFont font(QStringLiteral("WenQuanYi Zen Hei"));
  font.setPixelSize(16);
  return font;
}

// The canvas draws text without anti-aliasing; so does every reference drawing here.
QFont Sharp(QFont font) {
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

int LineHeight(const QFont& font) { return QFontMetrics(font).height(); }
int WidthOf(const QString& line, const QFont& font) {
  return QFontMetrics(font).horizontalAdvance(line);
}

struct Placed {
  QString line;
  int x;
  int y;
};

// The lines drawn in black on white by Qt's own layout, each with the top-left corner of its
// character cell at the point given: the independent reference for the canvas's stamps.
QImage ReferenceDrawing(const std::vector<Placed>& lines, const QFont& font,
                        QSize size = QSize(kDrawingAreaWidth, kDrawingAreaHeight)) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setFont(Sharp(font));
  painter.setPen(Qt::black);
  for (const Placed& placed : lines) {
    const QRect cell(placed.x, placed.y, WidthOf(placed.line, font), LineHeight(font));
    painter.drawText(cell, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, placed.line);
  }
  return image;
}

std::size_t InkPoints(const CanvasReading& shown) {
  return shown.PointsWhere([&](int x, int y) { return shown.At(x, y) == kBlack; }).size();
}

class CanvasTextTest : public ::testing::Test {
 protected:
  CanvasTextTest() { canvas.SetTextFont(font); }

  void Stamp(int x, int y, const std::string& text) {
    canvas.SetCanvasWritePosition(x, y);
    canvas.WriteCanvasText(text);
  }
  CanvasPoint WritePosition() const { return {canvas.WritePositionX(), canvas.WritePositionY()}; }

  const QFont font = LatinFont();
  const int h = LineHeight(font);
  CanvasSurface canvas;
};

TEST_F(CanvasTextTest, ALineSitsWithItsCellsTopLeftCornerAtTheWritePosition) {
  Stamp(10, 20, "Tg|W");
  const CanvasReading expected(ReferenceDrawing({{QStringLiteral("Tg|W"), 10, 20}}, font));
  ASSERT_GT(InkPoints(expected), 20u);
  EXPECT_TRUE(ShowTheSame(CanvasReading(canvas), expected));
  EXPECT_EQ(WritePosition(), (CanvasPoint{10 + WidthOf(QStringLiteral("Tg|W"), font), 20}));
}

// "L1", some line breaks, "L2": L2 starts at the same x, h + 2 lower for every break.
struct BreakCase {
  std::string label;
  std::string text;
  QString firstLine;
  QString secondLine;
  int breaks;
};
void PrintTo(const BreakCase& test, std::ostream* out) { *out << test.label; }

class LineBreakTest : public CanvasTextTest, public ::testing::WithParamInterface<BreakCase> {};

TEST_P(LineBreakTest, EveryBreakMovesDownByTheLineHeightPlusTwo) {
  const BreakCase& test = GetParam();
  Stamp(10, 20, test.text);
  const int secondTop = 20 + test.breaks * (h + 2);
  const CanvasReading expected(
      ReferenceDrawing({{test.firstLine, 10, 20}, {test.secondLine, 10, secondTop}}, font));
  EXPECT_TRUE(ShowTheSame(CanvasReading(canvas), expected));
  EXPECT_EQ(WritePosition(), (CanvasPoint{10 + WidthOf(test.secondLine, font), secondTop}));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LineBreakTest,
    ::testing::Values(BreakCase{"CrLf", "L1\r\nL2", "L1", "L2", 1},
                      BreakCase{"CrAlone", "L1\rL2", "L1", "L2", 1},
                      BreakCase{"LfAlone", "L1\nL2", "L1", "L2", 1},
                      BreakCase{"CrLfCrLfLeavesOneEmptyLine", "L1\r\n\r\nL2", "L1", "L2", 2},
                      BreakCase{"LfCrIsTwoBreaks", "L1\n\rL2", "L1", "L2", 2},
                      BreakCase{"CrCr", "L1\r\rL2", "L1", "L2", 2},
                      BreakCase{"TrailingBreak", "L1\r\n", "L1", "", 1},
                      BreakCase{"LeadingBreak", "\r\nL2", "", "L2", 1},
                      BreakCase{"OnlyABreak", "\r\n", "", "", 1}),
    CaseLabel());

TEST_F(CanvasTextTest, EmptyTextDrawsNothingAndKeepsTheWritePosition) {
  ShowPicture(canvas, BmpBytes(100, 100));
  const CanvasReading before(canvas);
  Stamp(10, 20, "");
  EXPECT_TRUE(ShowTheSame(CanvasReading(canvas), before));
  EXPECT_EQ(WritePosition(), (CanvasPoint{10, 20}));
}

TEST_F(CanvasTextTest, TextPastTheEdgeIsCutOff) {
  const std::string text = "WWWWWWWW\r\nWWWWWWWW";
  Stamp(760, 585, text);
  // The same lines on a larger sheet, cut to the drawing area.
  const QImage larger = ReferenceDrawing(
      {{QStringLiteral("WWWWWWWW"), 760, 585}, {QStringLiteral("WWWWWWWW"), 760, 587 + h}}, font,
      QSize(1000, 700));
  const CanvasReading expected(larger);
  ASSERT_GT(InkPoints(expected), 10u) << "part of the text lies inside the area";
  EXPECT_TRUE(ShowTheSame(CanvasReading(canvas), expected));
}

TEST_F(CanvasTextTest, LeavesEveryPixelBlackOrAsItWas) {
  ShowPicture(canvas, BmpBytes(400, 100));
  const CanvasReading picture(canvas);
  canvas.SetTextFont(ChineseFont());
  Stamp(5, 5, "Tessarin 像素画 @#%&");
  const CanvasReading stamped(canvas);
  const auto changed = stamped.PointsDifferingFrom(picture);
  EXPECT_GT(changed.size(), 50u);
  for (const CanvasPoint point : changed)
    ASSERT_EQ(stamped.At(point.x, point.y), kBlack) << ::testing::PrintToString(point);
}

TEST_F(CanvasTextTest, WritesChineseCharactersAsTheirOwnGlyphs) {
  const QFont chinese = ChineseFont();
  canvas.SetTextFont(chinese);
  Stamp(10, 10, "中");
  Stamp(10, 60, "文");
  Stamp(10, 110, "中文");
  const CanvasReading shown(canvas);
  const auto inkIn = [&](int top) {
    std::vector<ColourValue> ink;
    for (int y = top; y < top + 40; ++y)
      for (int x = 10; x < 60; ++x) ink.push_back(shown.At(x, y));
    return ink;
  };
  EXPECT_NE(inkIn(10), inkIn(60)) << "two characters drawn alike: a missing-glyph box?";
  EXPECT_TRUE(ShowTheSame(shown, CanvasReading(ReferenceDrawing({{QStringLiteral("中"), 10, 10},
                                                                 {QStringLiteral("文"), 10, 60},
                                                                 {QStringLiteral("中文"), 10, 110}},
                                                                chinese))));
  EXPECT_EQ(WritePosition(), (CanvasPoint{10 + WidthOf(QStringLiteral("中文"), chinese), 110}));
}

TEST(CanvasTextFontTest, WritesInTheApplicationFontUntilGivenOne) {
  const QFont applicationFont = QGuiApplication::font();
  CanvasSurface byDefault;
  byDefault.SetCanvasWritePosition(10, 20);
  byDefault.WriteCanvasText("Default\r\nfont");
  EXPECT_TRUE(ShowTheSame(
      CanvasReading(byDefault),
      CanvasReading(ReferenceDrawing({{QStringLiteral("Default"), 10, 20},
                                      {QStringLiteral("font"), 10, 22 + LineHeight(applicationFont)}},
                                     applicationFont))));
}

}  // namespace
