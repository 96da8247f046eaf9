// The canvas widget: what it paints and which mouse events it reports, where.

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <gmock/gmock.h>
#include <optional>
#include <tuple>
#include <vector>

#include "tests/support/case_names.h"
#include "app/draw_panel.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

using Report = std::tuple<const char*, int, int, int>;  // event, x, y, key state

class RecordingPanel {
 public:
  RecordingPanel() {
    QObject::connect(&panel, &DrawPanel::LeftButtonPressed,
                     [this](auto x, auto y, int keys) { reports.emplace_back("down", x, y, keys); });
    QObject::connect(&panel, &DrawPanel::MouseMoved,
                     [this](auto x, auto y, int keys) { reports.emplace_back("move", x, y, keys); });
    QObject::connect(&panel, &DrawPanel::LeftButtonReleased,
                     [this](auto x, auto y, int keys) { reports.emplace_back("up", x, y, keys); });
    panel.resize(800, 600);
  }

  void Send(QEvent::Type type, QPointF at, Qt::MouseButton button = Qt::LeftButton,
            Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, at, panel.mapToGlobal(at), button, held, modifiers);
    QApplication::sendEvent(&panel, &event);
  }

  DrawPanel panel;
  std::vector<Report> reports;
};

struct PointCase {
  const char* label;
  QPointF atPanel;  // in the panel's own coordinates, edge included
  std::optional<std::pair<int, int>> reported;
};

void PrintTo(const PointCase& point, std::ostream* out) { *out << point.label; }

class DrawPanelPointTest : public ::testing::TestWithParam<PointCase> {};

}  // namespace

TEST_P(DrawPanelPointTest, ReportsOnlyPointsOfTheDrawingArea) {
  const PointCase& point = GetParam();
  RecordingPanel recorder;
  recorder.Send(QEvent::MouseButtonPress, point.atPanel);
  recorder.Send(QEvent::MouseMove, point.atPanel, Qt::NoButton);
  recorder.Send(QEvent::MouseButtonRelease, point.atPanel);
  if (!point.reported) {
    EXPECT_THAT(recorder.reports, IsEmpty());
    return;
  }
  const auto [x, y] = *point.reported;
  EXPECT_THAT(recorder.reports,
              ElementsAre(Report{"down", x, y, 0}, Report{"move", x, y, 0}, Report{"up", x, y, 0}));
}

INSTANTIATE_TEST_SUITE_P(
    Points, DrawPanelPointTest,
    ::testing::Values(PointCase{"FirstPixel", {1, 1}, std::pair{0, 0}},
                      PointCase{"LastPixel", {798, 598}, std::pair{797, 597}},
                      PointCase{"FractionalPosition", {10.7, 20.2}, std::pair{9, 19}},
                      PointCase{"LeftEdge", {0, 300}, std::nullopt},
                      PointCase{"TopEdge", {300, 0}, std::nullopt},
                      PointCase{"RightEdge", {799, 300}, std::nullopt},
                      PointCase{"BottomEdge", {300, 599}, std::nullopt},
                      PointCase{"OutsideWhileHeld", {850, 300}, std::nullopt},
                      PointCase{"AboveAndLeft", {-5, -5}, std::nullopt}),
    CaseLabel());

TEST(DrawPanelTest, ReportsOnlyTheLeftButton) {
  RecordingPanel recorder;
  recorder.Send(QEvent::MouseButtonPress, {50, 50}, Qt::RightButton);
  recorder.Send(QEvent::MouseButtonRelease, {50, 50}, Qt::RightButton);
  recorder.Send(QEvent::MouseButtonPress, {50, 50}, Qt::MiddleButton);
  EXPECT_THAT(recorder.reports, IsEmpty());
}

TEST(DrawPanelTest, KeyStateAddsCtrlShiftAndAlt) {
  const std::pair<Qt::KeyboardModifiers, int> cases[] = {
      {Qt::NoModifier, 0},
      {Qt::ControlModifier, 1},
      {Qt::ShiftModifier, 2},
      {Qt::AltModifier, 4},
      {Qt::ControlModifier | Qt::AltModifier, 5},
      {Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier, 7},
      {Qt::MetaModifier | Qt::KeypadModifier, 0}};
  for (const auto& [modifiers, state] : cases) {
    RecordingPanel recorder;
    recorder.Send(QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, modifiers);
    EXPECT_THAT(recorder.reports, ElementsAre(Report{"down", 4, 4, state})) << state;
  }
}

TEST(DrawPanelTest, PaintsWhiteInsideASunkenEdgeWithoutAnImage) {
  DrawPanel panel;
  panel.resize(800, 600);
  const QImage shown = panel.grab().toImage();
  for (const QPoint inside : {QPoint(1, 1), QPoint(798, 598), QPoint(400, 300)})
    EXPECT_EQ(shown.pixelColor(inside), QColor(Qt::white)) << inside.x() << "," << inside.y();
  // Shadow on the top and left, light on the bottom and right, one pixel wide.
  const QRgb shadow = panel.palette().color(QPalette::Dark).rgb();
  const QRgb light = panel.palette().color(QPalette::Light).rgb();
  ASSERT_NE(shadow, light);
  EXPECT_EQ(shown.pixel(0, 300), shadow);
  EXPECT_EQ(shown.pixel(300, 0), shadow);
  EXPECT_EQ(shown.pixel(799, 300), light);
  EXPECT_EQ(shown.pixel(300, 599), light);
}

TEST(DrawPanelTest, PaintsTheGivenImageFromTheDrawingAreasCorner) {
  DrawPanel panel;
  panel.resize(800, 600);
  // A 3 × 2 picture:   red   green  blue
  //                    black grey   yellow
  QImage picture(3, 2, QImage::Format_RGB32);
  const QColor colours[2][3] = {{Qt::red, Qt::green, Qt::blue}, {Qt::black, Qt::gray, Qt::yellow}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) picture.setPixelColor(x, y, colours[y][x]);
  panel.SetDisplayedImage(&picture);

  const QImage shown = panel.grab().toImage();
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(shown.pixelColor(1 + x, 1 + y), colours[y][x]);
  EXPECT_EQ(shown.pixelColor(4, 1), QColor(Qt::white)) << "beyond the picture: white";
  EXPECT_EQ(shown.pixelColor(1, 3), QColor(Qt::white));

  panel.SetDisplayedImage(nullptr);
  EXPECT_EQ(panel.grab().toImage().pixelColor(1, 1), QColor(Qt::white));
}

TEST(DrawPanelTest, APictureNeverPaintsOverTheEdge) {
  DrawPanel panel;
  panel.resize(800, 600);
  QImage tooLarge(900, 700, QImage::Format_RGB32);
  tooLarge.fill(Qt::red);
  panel.SetDisplayedImage(&tooLarge);
  const QImage shown = panel.grab().toImage();
  EXPECT_EQ(shown.pixelColor(798, 598), QColor(Qt::red));
  EXPECT_EQ(shown.pixel(799, 599), panel.palette().color(QPalette::Light).rgb());
}
