#pragma once
// What a canvas shows, read back pixel by pixel through GetCanvasPixel, and the ways the
// canvas tests compare two such readings.

#include <QImage>
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "canvas/canvas_surface.h"
#include "tests/support/bmp_writer.h"

inline constexpr ColourValue kWhite = MakeColourValue(255, 255, 255);
inline constexpr ColourValue kBlack = MakeColourValue(0, 0, 0);

struct CanvasPoint {
  int x;
  int y;
  bool operator==(const CanvasPoint&) const = default;
};

inline void PrintTo(const CanvasPoint& point, std::ostream* out) {
  *out << '(' << point.x << ", " << point.y << ')';
}

// The colour of every point of the drawing area.
class CanvasReading {
 public:
  // What the canvas shows, through GetCanvasPixel.
  explicit CanvasReading(const CanvasSurface& canvas)
      : CanvasReading([&](int x, int y) { return canvas.GetCanvasPixel(x, y); }) {}

  // The top-left 798 × 598 pixels of an image drawn for comparison, white where the image
  // is smaller.
  explicit CanvasReading(const QImage& image)
      : CanvasReading([&](int x, int y) {
          if (x >= image.width() || y >= image.height()) return kWhite;
          const QRgb shown = image.pixel(x, y);
          return MakeColourValue(qRed(shown), qGreen(shown), qBlue(shown));
        }) {}

  // The colour `colourAt` gives each point.
  explicit CanvasReading(const std::function<ColourValue(int, int)>& colourAt)
      : colours_(std::size_t(kDrawingAreaWidth) * kDrawingAreaHeight) {
    for (int y = 0; y < kDrawingAreaHeight; ++y)
      for (int x = 0; x < kDrawingAreaWidth; ++x) colours_[Index(x, y)] = colourAt(x, y);
  }

  ColourValue At(int x, int y) const { return colours_[Index(x, y)]; }

  // Every point of the drawing area where `keep` holds, row by row.
  std::vector<CanvasPoint> PointsWhere(const std::function<bool(int, int)>& keep) const {
    std::vector<CanvasPoint> points;
    for (int y = 0; y < kDrawingAreaHeight; ++y)
      for (int x = 0; x < kDrawingAreaWidth; ++x)
        if (keep(x, y)) points.push_back({x, y});
    return points;
  }

  std::vector<CanvasPoint> PointsDifferingFrom(const CanvasReading& other) const {
    return PointsWhere([&](int x, int y) { return At(x, y) != other.At(x, y); });
  }

 private:
  static std::size_t Index(int x, int y) { return std::size_t(y) * kDrawingAreaWidth + x; }
  std::vector<ColourValue> colours_;
};

// A picture of width × height pixels in PatternColour at the top-left corner, white around.
inline CanvasReading PatternOnWhite(int width, int height) {
  return CanvasReading(
      [=](int x, int y) { return x < width && y < height ? PatternColour(x, y) : kWhite; });
}

// "n points: (x, y), ..." for a failure message.
inline std::string DescribePoints(const std::vector<CanvasPoint>& points) {
  std::ostringstream text;
  text << points.size() << " points";
  for (std::size_t i = 0; i < points.size() && i < 5; ++i)
    text << (i == 0 ? ": " : ", ") << '(' << points[i].x << ", " << points[i].y << ')';
  if (points.size() > 5) text << ", ...";
  return text.str();
}

// Success when two readings agree everywhere; else names the points where they differ.
// Use as EXPECT_TRUE(ShowTheSame(CanvasReading(actual), expected)).
inline ::testing::AssertionResult ShowTheSame(const CanvasReading& actual,
                                              const CanvasReading& expected) {
  const auto differing = actual.PointsDifferingFrom(expected);
  if (differing.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "the canvases differ at " << DescribePoints(differing);
}

// Gives the canvas a picture and repaints it, as the panel's next paint does.
inline void ShowPicture(CanvasSurface& canvas, Bytes bytes) {
  canvas.SetCanvasPicture(std::move(bytes));
  canvas.RepaintIfRequested();
}
