// The colour button: its drop-down, the colour chooser behind "其它颜色...", and that the
// colour changes only on a confirmed choice.

#include <QFrame>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QToolButton>
#include <gmock/gmock.h>

#include "app/color_picker.h"
#include "tests/support/qt_printers.h"
#include "tests/support/scripted_dialogs.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class ColorPickerTest : public ::testing::Test {
 protected:
  ColorPickerTest() {
    picker.resize(43, 24);
    picker.show();
  }

  void OpenDropDown() {
    QTest::mouseClick(&picker, Qt::LeftButton);
    ASSERT_TRUE(picker.DropDown()->isVisible());
  }

  QToolButton* Swatch(ColourValue colour) const {
    for (auto* swatch : picker.DropDown()->findChildren<QToolButton*>())
      if (swatch->property("colourValue").value<ColourValue>() == colour) return swatch;
    return nullptr;
  }

  QPushButton* OtherColours() const {
    return picker.DropDown()->findChild<QPushButton*>(QStringLiteral("otherColours"));
  }

  ScriptedColourChooser chooser;
  ColorPicker picker{chooser};
};

}  // namespace

TEST(PresetColoursTest, AreThirtyTwoDistinctRealColours) {
  const QSet<ColourValue> distinct(kPresetColours.begin(), kPresetColours.end());
  EXPECT_EQ(distinct.size(), 32);
  for (const ColourValue colour : kPresetColours) EXPECT_EQ(colour >> 24, 0u) << colour;
  EXPECT_TRUE(distinct.contains(MakeColourValue(0, 0, 0)));
  EXPECT_TRUE(distinct.contains(MakeColourValue(255, 255, 255)));
}

TEST_F(ColorPickerTest, DropDownOffersEveryPresetAndOtherColours) {
  OpenDropDown();
  const auto swatches = picker.DropDown()->findChildren<QToolButton*>();
  ASSERT_EQ(swatches.size(), 32);
  for (std::size_t i = 0; i < kPresetColours.size(); ++i)
    EXPECT_NE(Swatch(kPresetColours[i]), nullptr) << i;
  ASSERT_NE(OtherColours(), nullptr);
  EXPECT_EQ(OtherColours()->text(), QStringLiteral("其它颜色..."));
}

TEST_F(ColorPickerTest, ChoosingAPresetSetsTheColourAndCloses) {
  const ColourValue orange = MakeColourValue(255, 128, 0);
  OpenDropDown();
  QTest::mouseClick(Swatch(orange), Qt::LeftButton);
  EXPECT_EQ(picker.Colour(), orange);
  EXPECT_FALSE(picker.DropDown()->isVisible());
  EXPECT_EQ(picker.Colour(), 0x000080FFu) << "red in the low byte";
}

TEST_F(ColorPickerTest, ClosingTheDropDownKeepsTheColour) {
  OpenDropDown();
  QTest::keyClick(picker.DropDown()->focusWidget(), Qt::Key_Escape);
  EXPECT_FALSE(picker.DropDown()->isVisible());
  EXPECT_EQ(picker.Colour(), 0u);
  EXPECT_THAT(chooser.Asked(), IsEmpty());
}

TEST_F(ColorPickerTest, OtherColoursTakesTheChoosersConfirmedColour) {
  const ColourValue teal = MakeColourValue(12, 200, 180);
  chooser.ConfirmWith(teal);
  OpenDropDown();
  QTest::mouseClick(OtherColours(), Qt::LeftButton);
  EXPECT_EQ(picker.Colour(), teal);
  EXPECT_FALSE(picker.DropDown()->isVisible());

  chooser.Cancel();
  OpenDropDown();
  QTest::mouseClick(OtherColours(), Qt::LeftButton);
  EXPECT_EQ(picker.Colour(), teal) << "a cancelled chooser keeps the colour";
  EXPECT_THAT(chooser.Asked(), ElementsAre(0u, teal)) << "the chooser starts from the colour";
}

TEST_F(ColorPickerTest, ShowsItsColourAsASwatch) {
  const ColourValue blue = MakeColourValue(0, 0, 255);
  OpenDropDown();
  QTest::mouseClick(Swatch(blue), Qt::LeftButton);
  const QImage shown = picker.grab().toImage();
  EXPECT_EQ(shown.pixelColor(12, 12), QColor(0, 0, 255));
}
