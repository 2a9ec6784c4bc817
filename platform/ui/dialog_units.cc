#include "platform/ui/dialog_units.h"

#include <QStringList>

namespace vintrel::ui {

QFont DialogFont(int points) {
  QFont font;
  font.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP"),
                    QStringLiteral("Noto Sans JP"), QStringLiteral("sans-serif")});
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(points);
  return font;
}

}  // namespace vintrel::ui
