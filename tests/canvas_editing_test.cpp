// The canvas's three mouse handlers: when they draw a pen point, when they stamp the text,
// and what becomes of MousePressed, with the pixels read back through GetCanvasPixel.

#include "canvas/canvas_editing.h"

#include <gmock/gmock.h>

#include <string>

#include "canvas/canvas_surface.h"
#include "tests/support/bmp_writer.h"
#include "tests/support/canvas_pixels.h"
#include "tests/support/case_names.h"

using ::testing::IsEmpty;

namespace {

constexpr ColourValue kRed = MakeColourValue(230, 20, 20);
constexpr ColourValue kBlue = MakeColourValue(20, 20, 230);

enum class Mode { Pen, Text };

// The window as the handlers see it: each state as a plain value a test sets.
class FakeControls final : public EditingControls {
 public:
  FakeControls() { ShowPicture(canvas, BmpBytes(300, 200)); }

  bool PictureLoaded() const override { return loaded; }
  bool EditingEnabled() const override { return editing; }
  bool PenMode() const override { return mode == Mode::Pen; }
  bool TextMode() const override { return mode == Mode::Text; }
  ColourValue PenColour() const override { return colour; }
  std::string TextToStamp() const override { return text; }
  CanvasSurface& Canvas() override { return canvas; }

  bool loaded = true;
  bool editing = true;
  Mode mode = Mode::Pen;
  ColourValue colour = kRed;
  std::string text = "Stamp\r\nme";
  CanvasSurface canvas;
};

// The canvas `before` with the text stamped at (x, y) by the surface itself.
CanvasReading WithStamp(CanvasSurface before, int x, int y, const std::string& text) {
  before.SetCanvasWritePosition(x, y);
  before.WriteCanvasText(text);
  return CanvasReading(before);
}

class CanvasEditingTest : public ::testing::Test {
 protected:
  CanvasReading Shown() const { return CanvasReading(controls.canvas); }
  std::vector<CanvasPoint> ChangedSince(const CanvasReading& before) const {
    return Shown().PointsDifferingFrom(before);
  }

  FakeControls controls;
  CanvasEditor editor{controls};
};

// One row of the decision table: the states at the time of the events, whether
// MousePressed was already 1, and what a move and then a press do.
struct DecisionCase {
  std::string label;
  bool loaded;
  bool editing;
  Mode mode;
  bool pressedBefore;
  bool moveDrawsPoint;
  bool pressStampsText;
  int pressedAfterPress;
};
void PrintTo(const DecisionCase& test, std::ostream* out) { *out << test.label; }

class EditingDecisionTest : public CanvasEditingTest,
                            public ::testing::WithParamInterface<DecisionCase> {};

TEST_P(EditingDecisionTest, DrawsStampsAndSetsTheFlagAsTheStatesSay) {
  const DecisionCase& test = GetParam();
  if (test.pressedBefore) {
    // A press with a picture loaded and editing off sets the flag and draws nothing.
    controls.editing = false;
    editor.CanvasMouseDown(5, 5, 0);
  }
  // Unticking, switching mode or losing the picture leaves the flag as it is.
  controls.loaded = test.loaded;
  controls.editing = test.editing;
  controls.mode = test.mode;
  ASSERT_EQ(editor.MousePressed, test.pressedBefore ? 1 : 0);
  const CanvasReading untouched = Shown();
  ASSERT_THAT(ChangedSince(untouched), IsEmpty());

  editor.CanvasMouseMove(100, 80, 0);
  if (test.moveDrawsPoint) {
    EXPECT_EQ(Shown().At(100, 80), kRed);
  } else {
    EXPECT_THAT(ChangedSince(untouched), IsEmpty()) << "the move drew";
  }

  const CanvasSurface beforePress = controls.canvas;
  editor.CanvasMouseDown(20, 130, 0);
  const CanvasReading expected =
      test.pressStampsText ? WithStamp(beforePress, 20, 130, controls.text) : CanvasReading(beforePress);
  EXPECT_TRUE(ShowTheSame(Shown(), expected));
  EXPECT_EQ(editor.MousePressed, test.pressedAfterPress);

  editor.CanvasMouseUp(20, 130, 0);
  EXPECT_EQ(editor.MousePressed, 0);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    States, EditingDecisionTest,
    ::testing::Values(
        //          label                        loaded editing mode        pressed  move   press  flag
        DecisionCase{"NoPicture_Off_Pen_Up",       false, false, Mode::Pen,  false,   false, false, 0},
        DecisionCase{"NoPicture_Off_Pen_Down",     false, false, Mode::Pen,  true,    false, false, 1},
        DecisionCase{"NoPicture_Off_Text_Up",      false, false, Mode::Text, false,   false, false, 0},
        DecisionCase{"NoPicture_Off_Text_Down",    false, false, Mode::Text, true,    false, false, 1},
        DecisionCase{"NoPicture_On_Pen_Up",        false, true,  Mode::Pen,  false,   false, false, 0},
        DecisionCase{"NoPicture_On_Pen_Down",      false, true,  Mode::Pen,  true,    false, false, 1},
        DecisionCase{"NoPicture_On_Text_Up",       false, true,  Mode::Text, false,   false, false, 0},
        DecisionCase{"NoPicture_On_Text_Down",     false, true,  Mode::Text, true,    false, false, 1},
        DecisionCase{"Picture_Off_Pen_Up",         true,  false, Mode::Pen,  false,   false, false, 1},
        DecisionCase{"Picture_Off_Pen_Down",       true,  false, Mode::Pen,  true,    false, false, 1},
        DecisionCase{"Picture_Off_Text_Up",        true,  false, Mode::Text, false,   false, false, 1},
        DecisionCase{"Picture_Off_Text_Down",      true,  false, Mode::Text, true,    false, false, 1},
        DecisionCase{"Picture_On_Pen_Up",          true,  true,  Mode::Pen,  false,   false, false, 1},
        DecisionCase{"Picture_On_Pen_Down",        true,  true,  Mode::Pen,  true,    true,  false, 1},
        DecisionCase{"Picture_On_Text_Up",         true,  true,  Mode::Text, false,   false, true,  1},
        DecisionCase{"Picture_On_Text_Down",       true,  true,  Mode::Text, true,    false, true,  1}),
    CaseLabel());
// clang-format on

TEST_F(CanvasEditingTest, APenStrokeMarksOnlyWhereThePointerMovedWithTheButtonDown) {
  const CanvasReading picture = Shown();
  editor.CanvasMouseDown(50, 50, 0);
  EXPECT_THAT(ChangedSince(picture), IsEmpty()) << "a press alone draws nothing";

  editor.CanvasMouseMove(60, 70, 0);
  const auto changed = ChangedSince(picture);
  EXPECT_FALSE(changed.empty());
  for (const CanvasPoint point : changed) {
    EXPECT_LE((point.x - 60) * (point.x - 60) + (point.y - 70) * (point.y - 70), 7 * 8)
        << "the first point lies where the first move was: " << ::testing::PrintToString(point);
  }

  // Successive points are not joined, and each takes the picker's colour at its move.
  controls.colour = kBlue;
  editor.CanvasMouseMove(100, 70, 0);
  const CanvasReading shown = Shown();
  EXPECT_EQ(shown.At(60, 70), kRed);
  EXPECT_EQ(shown.At(100, 70), kBlue);
  EXPECT_EQ(shown.At(80, 70), picture.At(80, 70)) << "a gap between the two points";
  EXPECT_EQ(shown.At(50, 50), picture.At(50, 50)) << "nothing where the button went down";

  editor.CanvasMouseUp(100, 70, 0);
  const CanvasReading afterRelease = Shown();
  editor.CanvasMouseMove(150, 70, 0);
  EXPECT_THAT(ChangedSince(afterRelease), IsEmpty()) << "a move after the release drew";
}

TEST_F(CanvasEditingTest, TextModeStampsTheWholeTextOncePerPressAndNeverDrawsPoints) {
  controls.mode = Mode::Text;
  const CanvasReading picture = Shown();
  CanvasSurface expected = controls.canvas;
  for (const CanvasPoint at : {CanvasPoint{20, 30}, CanvasPoint{120, 100}}) {
    expected.SetCanvasWritePosition(at.x, at.y);
    expected.WriteCanvasText(controls.text);
    editor.CanvasMouseDown(std::uint16_t(at.x), std::uint16_t(at.y), 0);
    for (int step = 1; step <= 5; ++step)
      editor.CanvasMouseMove(std::uint16_t(at.x + 10 * step), std::uint16_t(at.y + 40), 0);
    editor.CanvasMouseUp(std::uint16_t(at.x + 50), std::uint16_t(at.y + 40), 0);
  }
  EXPECT_TRUE(ShowTheSame(Shown(), CanvasReading(expected)));
  EXPECT_FALSE(ChangedSince(picture).empty()) << "the text drew nothing at all";
}

TEST_F(CanvasEditingTest, TextModeWithAnEmptyTextDrawsNothingButStillSetsTheFlag) {
  controls.mode = Mode::Text;
  controls.text.clear();
  const CanvasReading picture = Shown();
  editor.CanvasMouseDown(20, 30, 0);
  EXPECT_THAT(ChangedSince(picture), IsEmpty());
  EXPECT_EQ(editor.MousePressed, 1);
}

TEST_F(CanvasEditingTest, ALeftReleaseAwayFromTheCanvasEndsTheStroke) {
  editor.CanvasMouseDown(50, 50, 0);
  editor.LeftReleasedElsewhere();
  EXPECT_EQ(editor.MousePressed, 0);
  const CanvasReading afterRelease = Shown();
  editor.CanvasMouseMove(60, 60, 0);
  EXPECT_THAT(ChangedSince(afterRelease), IsEmpty());
}

TEST_F(CanvasEditingTest, IgnoresTheKeyState) {
  // The same strokes and stamps with every combination of Ctrl, Shift and Alt held.
  const auto play = [](FakeControls& window, CanvasEditor& handlers, int keys) {
    window.mode = Mode::Pen;
    handlers.CanvasMouseDown(10, 10, keys);
    handlers.CanvasMouseMove(30, 40, keys);
    handlers.CanvasMouseMove(60, 40, keys);
    handlers.CanvasMouseUp(60, 40, keys);
    window.mode = Mode::Text;
    handlers.CanvasMouseDown(80, 90, keys);
  };
  play(controls, editor, 0);
  for (int keys = 1; keys <= 7; ++keys) {
    FakeControls withKeys;
    CanvasEditor handlers{withKeys};
    play(withKeys, handlers, keys);
    EXPECT_TRUE(ShowTheSame(CanvasReading(withKeys.canvas), Shown())) << "key state " << keys;
    EXPECT_EQ(handlers.MousePressed, 1) << "key state " << keys;
  }
}

}  // namespace
