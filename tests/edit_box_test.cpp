// The text box: its text read with CR LF line breaks, and its CJK font.

#include <QFontInfo>
#include <QFontMetrics>
#include <QTest>
#include <gmock/gmock.h>

#include "tests/support/case_names.h"
#include "app/edit_box.h"

struct TextCase {
  const char* label;
  QString content;  // as set, typed or pasted
  QString read;
};

void PrintTo(const TextCase& text, std::ostream* out) { *out << text.label; }

class EditBoxTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(EditBoxTextTest, ReadsLineBreaksAsCrLf) {
  EditBox box;
  box.setPlainText(GetParam().content);
  EXPECT_EQ(box.Text(), GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, EditBoxTextTest,
    ::testing::Values(TextCase{"Empty", "", ""},
                      TextCase{"OneLine", "画笔 pen", "画笔 pen"},
                      TextCase{"LineFeed", "a\nb", "a\r\nb"},
                      TextCase{"CrLfNotDoubled", "a\r\nb", "a\r\nb"},
                      TextCase{"TwoBreaksInARow", "a\n\nb", "a\r\n\r\nb"},
                      TextCase{"TrailingBreak", "a\n", "a\r\n"}),
    CaseLabel());

TEST(EditBoxTest, EveryTypedLineBreakReadsAsCrLf) {
  EditBox box;
  box.show();
  box.setFocus();
  QTest::keyClicks(&box, QStringLiteral("a"));
  QTest::keyClick(&box, Qt::Key_Return);
  QTest::keyClicks(&box, QStringLiteral("b"));
  QTest::keyClick(&box, Qt::Key_Return, Qt::ShiftModifier);  // a line break within a paragraph
  QTest::keyClicks(&box, QStringLiteral("c"));
  EXPECT_EQ(box.Text(), QStringLiteral("a\r\nb\r\nc"));
}

TEST(EditBoxTest, WritesInACjkFaceFourteenPixelsHigh) {
  EditBox box;
  const QFontInfo shown(box.font());
  EXPECT_EQ(shown.pixelSize(), 14);
  const QFontMetrics metrics(box.font());
  for (const char32_t glyph : {U'画', U'笔', U'字'})
    EXPECT_TRUE(metrics.inFontUcs4(glyph)) << shown.family().toStdString() << " lacks a glyph";
}
