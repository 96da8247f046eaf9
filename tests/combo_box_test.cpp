// The drop-down list with item values: reads outside the items, and the opened list.

#include <QAbstractItemView>
#include <QApplication>
#include <QTest>
#include <climits>
#include <gmock/gmock.h>

#include "app/combo_box.h"

namespace {

class ComboBoxTest : public ::testing::Test {
 protected:
  ComboBoxTest() {
    for (const auto& [text, value] : {std::pair{"1", 8}, {"2", 15}, {"3", 23}})
      list.AddItem(QString::fromUtf8(text), value);
  }
  ComboBox list;
};

}  // namespace

TEST_F(ComboBoxTest, ReadsOutsideTheItemsGiveEmptyTextAndMinusOne) {
  for (const int index : {-1, 3, 5, INT_MIN, INT_MAX}) {
    EXPECT_EQ(list.ItemText(index), QString()) << index;
    EXPECT_EQ(list.ItemValue(index), -1) << index;
  }
  EXPECT_EQ(list.ItemText(2), QStringLiteral("3"));
  EXPECT_EQ(list.ItemValue(2), 23);
}

TEST_F(ComboBoxTest, ItemsKeepTheirOrderUnsorted) {
  list.AddItem(QStringLiteral("0"), 99);
  EXPECT_EQ(list.ItemText(3), QStringLiteral("0"));
  EXPECT_EQ(list.ItemValue(3), 99);
}

TEST_F(ComboBoxTest, AlwaysKeepsASelection) {
  list.setCurrentIndex(2);
  EXPECT_EQ(list.SelectedIndex(), 2);
  list.setCurrentIndex(-1);  // what only code could try
  list.show();
  QTest::keyClick(&list, Qt::Key_Down);
  EXPECT_GE(list.SelectedIndex(), 0);
}

TEST_F(ComboBoxTest, OpensUnderItselfAboutOneHundredSixtyPixelsTall) {
  list.setGeometry(100, 100, 48, 20);
  list.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
  list.showPopup();
  QWidget* popup = list.view()->window();
  ASSERT_TRUE(popup->isVisible());
  const QRect control(list.mapToGlobal(QPoint(0, 0)), list.size());
  const QRect opened = popup->geometry();
  EXPECT_GE(opened.top(), control.bottom()) << "the list drops below the control";
  const int reach = opened.bottom() - control.top() + 1;
  EXPECT_GE(reach, 150);
  EXPECT_LE(reach, 170);
  list.hidePopup();
}

TEST_F(ComboBoxTest, RowsAreOnePixelTallerThanTheStyles) {
  QComboBox plain;
  plain.setStyle(list.style());
  plain.addItem(QStringLiteral("1"));
  EXPECT_EQ(list.view()->sizeHintForRow(0), plain.view()->sizeHintForRow(0) + 1);
}
