#include "app/colour_chooser.h"

#include <QColorDialog>

std::optional<ColourValue> QtColourChooser::Choose(ColourValue current, QWidget* owner) {
  QColorDialog dialog(QColor(RedOf(current), GreenOf(current), BlueOf(current)), owner);
  dialog.setWindowModality(Qt::ApplicationModal);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QColor chosen = dialog.selectedColor();
  return MakeColourValue(static_cast<std::uint8_t>(chosen.red()),
                         static_cast<std::uint8_t>(chosen.green()),
                         static_cast<std::uint8_t>(chosen.blue()));
}
