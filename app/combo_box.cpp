#include "app/combo_box.h"

#include <QAbstractItemView>
#include <QItemDelegate>
#include <QProxyStyle>
#include <algorithm>

namespace {

// A list that drops down under the control instead of a menu laid over it.
class DropDownListStyle final : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == QStyle::SH_ComboBox_Popup) return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

class TallerRowDelegate final : public QItemDelegate {
 public:
  using QItemDelegate::QItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return QItemDelegate::sizeHint(option, index) + QSize(0, 1);
  }
};

// Opened, the control and its list together reach this height.
constexpr int kOpenedHeight = 160;

}  // namespace

ComboBox::ComboBox(QWidget* parent) : QComboBox(parent) {
  auto* listStyle = new DropDownListStyle;
  listStyle->setParent(this);
  setStyle(listStyle);
  setEditable(false);
  setInsertPolicy(QComboBox::InsertAtBottom);
  setItemDelegate(new TallerRowDelegate(this));

  QPalette colours = palette();
  colours.setColor(QPalette::Base, Qt::white);
  colours.setColor(QPalette::Text, Qt::black);
  setPalette(colours);
}

void ComboBox::showPopup() {
  // The list's frame takes a pixel above and below its rows.
  view()->setMinimumHeight(std::max(0, kOpenedHeight - height() - 2));
  QComboBox::showPopup();
}

void ComboBox::AddItem(const QString& text, int value) { addItem(text, value); }

QString ComboBox::ItemText(int index) const {
  if (index < 0 || index >= count()) return {};
  return itemText(index);
}

int ComboBox::ItemValue(int index) const {
  if (index < 0 || index >= count()) return -1;
  return itemData(index).toInt();
}
