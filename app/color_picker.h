#pragma once
// The drop-down colour button: shows the current colour as a swatch; its drop-down offers
// preset colours and "其它颜色..." for the colour chooser. The colour changes only when the
// user confirms a choice; closing the drop-down or cancelling the chooser keeps it.

#include <QPushButton>
#include <array>

#include "app/colour_chooser.h"
#include "canvas/colour_value.h"

class QFrame;

// The drop-down's colours, row by row, eight to a row.
inline constexpr std::array<ColourValue, 32> kPresetColours = {
    MakeColourValue(0, 0, 0),       MakeColourValue(128, 128, 128), MakeColourValue(128, 0, 0),
    MakeColourValue(128, 128, 0),   MakeColourValue(0, 128, 0),     MakeColourValue(0, 128, 128),
    MakeColourValue(0, 0, 128),     MakeColourValue(128, 0, 128),   //
    MakeColourValue(255, 255, 255), MakeColourValue(192, 192, 192), MakeColourValue(255, 0, 0),
    MakeColourValue(255, 255, 0),   MakeColourValue(0, 255, 0),     MakeColourValue(0, 255, 255),
    MakeColourValue(0, 0, 255),     MakeColourValue(255, 0, 255),   //
    MakeColourValue(64, 64, 64),    MakeColourValue(128, 64, 0),    MakeColourValue(255, 128, 0),
    MakeColourValue(128, 128, 64),  MakeColourValue(0, 64, 64),     MakeColourValue(0, 128, 255),
    MakeColourValue(0, 64, 128),    MakeColourValue(128, 0, 255),   //
    MakeColourValue(224, 224, 224), MakeColourValue(255, 192, 192), MakeColourValue(255, 224, 192),
    MakeColourValue(255, 255, 192), MakeColourValue(192, 255, 192), MakeColourValue(192, 255, 255),
    MakeColourValue(192, 192, 255), MakeColourValue(255, 192, 255),
};

class ColorPicker final : public QPushButton {
  Q_OBJECT

 public:
  explicit ColorPicker(ColourChooser& chooser, QWidget* parent = nullptr);

  // The current colour, 0x00BBGGRR; black at start.
  ColourValue Colour() const { return colour_; }

  // The drop-down a click opens: one button per preset colour, in kPresetColours order,
  // each with the property "colourValue", then the "其它颜色..." button.
  QFrame* DropDown() const { return dropDown_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void BuildDropDown();
  void ShowDropDown();
  void ConfirmColour(ColourValue colour);
  void ChooseOtherColour();

  ColourChooser& chooser_;
  ColourValue colour_ = MakeColourValue(0, 0, 0);
  QFrame* dropDown_ = nullptr;
};
