#pragma once
// The colour chooser that the colour picker's "其它颜色..." opens, behind an interface so
// tests can answer it.

#include <optional>

#include "canvas/colour_value.h"

class QWidget;

class ColourChooser {
 public:
  virtual ~ColourChooser() = default;
  // The colour the user confirmed, starting from current; nothing when cancelled.
  virtual std::optional<ColourValue> Choose(ColourValue current, QWidget* owner) = 0;
};

// Qt's colour dialog, without an alpha channel: every answer is a real colour.
class QtColourChooser final : public ColourChooser {
 public:
  std::optional<ColourValue> Choose(ColourValue current, QWidget* owner) override;
};
