#include "app/ui_fonts.h"

#include <QStringList>

namespace {

QFont SimSunLike(const QStringList& fallbacks, int pixelSize) {
  QFont font;
  QStringList families{QStringLiteral("SimSun"), QStringLiteral("宋体")};
  families << fallbacks;
  font.setFamilies(families);
  font.setPixelSize(pixelSize);
  font.setWeight(QFont::Normal);
  return font;
}

}  // namespace

QFont WindowFont() {
  return SimSunLike({QStringLiteral("WenQuanYi Zen Hei Sharp"), QStringLiteral("WenQuanYi Zen Hei"),
                     QStringLiteral("Noto Sans CJK SC")},
                    12);
}

QFont EditBoxFont() {
  return SimSunLike({QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Noto Sans CJK SC")}, 14);
}
