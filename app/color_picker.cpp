#include "app/color_picker.h"

#include <QFrame>
#include <QGridLayout>
#include <QPainter>
#include <QScreen>
#include <QStyleOption>
#include <QToolButton>

namespace {

constexpr int kColumns = 8;
constexpr int kSwatchSize = 14;

QColor QtColourOf(ColourValue colour) {
  return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

QIcon SwatchIcon(ColourValue colour) {
  QPixmap swatch(kSwatchSize, kSwatchSize);
  swatch.fill(QtColourOf(colour));
  QPainter painter(&swatch);
  painter.setPen(QColor(64, 64, 64));
  painter.drawRect(0, 0, kSwatchSize - 1, kSwatchSize - 1);
  return QIcon(swatch);
}

// Where the drop-down opens: under the button, or above it when the screen ends below.
QPoint DropDownPosition(const QWidget& button, QSize dropDownSize) {
  QPoint position = button.mapToGlobal(QPoint(0, button.height()));
  const QScreen* screen = button.screen();
  if (!screen) return position;
  const QRect available = screen->availableGeometry();
  if (position.y() + dropDownSize.height() > available.bottom() + 1)
    position.setY(button.mapToGlobal(QPoint(0, 0)).y() - dropDownSize.height());
  position.setX(qMin(position.x(), available.right() + 1 - dropDownSize.width()));
  return position;
}

}  // namespace

ColorPicker::ColorPicker(ColourChooser& chooser, QWidget* parent)
    : QPushButton(parent), chooser_(chooser) {
  BuildDropDown();
  connect(this, &QPushButton::clicked, this, &ColorPicker::ShowDropDown);
}

void ColorPicker::BuildDropDown() {
  dropDown_ = new QFrame(this, Qt::Popup);
  dropDown_->setFrameStyle(QFrame::Panel | QFrame::Raised);
  auto* grid = new QGridLayout(dropDown_);
  grid->setContentsMargins(4, 4, 4, 4);
  grid->setSpacing(2);
  for (std::size_t i = 0; i < kPresetColours.size(); ++i) {
    const ColourValue colour = kPresetColours[i];
    auto* swatch = new QToolButton(dropDown_);
    swatch->setAutoRaise(true);
    swatch->setIcon(SwatchIcon(colour));
    swatch->setIconSize(QSize(kSwatchSize, kSwatchSize));
    swatch->setProperty("colourValue", QVariant::fromValue(colour));
    connect(swatch, &QToolButton::clicked, this, [this, colour] {
      dropDown_->hide();
      ConfirmColour(colour);
    });
    const int index = static_cast<int>(i);
    grid->addWidget(swatch, index / kColumns, index % kColumns);
  }
  auto* other = new QPushButton(QStringLiteral("其它颜色..."), dropDown_);
  other->setObjectName(QStringLiteral("otherColours"));
  connect(other, &QPushButton::clicked, this, [this] {
    dropDown_->hide();
    ChooseOtherColour();
  });
  grid->addWidget(other, static_cast<int>(kPresetColours.size()) / kColumns, 0, 1, kColumns);
}

void ColorPicker::ShowDropDown() {
  dropDown_->adjustSize();
  dropDown_->move(DropDownPosition(*this, dropDown_->size()));
  dropDown_->show();
  // Start the keyboard on the current colour when it is a preset.
  for (auto* swatch : dropDown_->findChildren<QToolButton*>()) {
    if (swatch->property("colourValue").value<ColourValue>() == colour_) {
      swatch->setFocus(Qt::PopupFocusReason);
      break;
    }
  }
}

void ColorPicker::ConfirmColour(ColourValue colour) {
  colour_ = colour;
  update();
}

void ColorPicker::ChooseOtherColour() {
  if (const std::optional<ColourValue> chosen = chooser_.Choose(colour_, window()))
    ConfirmColour(*chosen);
}

void ColorPicker::paintEvent(QPaintEvent* event) {
  QPushButton::paintEvent(event);  // the button face
  QPainter painter(this);
  constexpr int kArrowWidth = 12;
  const QRect swatch = rect().adjusted(5, 5, -(kArrowWidth + 6), -6);
  painter.fillRect(swatch, isEnabled() ? QtColourOf(colour_) : palette().color(QPalette::Button));
  painter.setPen(palette().color(QPalette::Dark));
  painter.drawRect(swatch);

  QStyleOption arrow;
  arrow.initFrom(this);
  arrow.rect = QRect(width() - kArrowWidth - 4, 0, kArrowWidth, height());
  style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &painter, this);
}
