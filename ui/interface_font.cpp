#include "ui/interface_font.h"

#include <QFontDatabase>
#include <QStringList>

namespace huecode {

QFont InterfaceFont() {
  QFont font;
  const QStringList installed = QFontDatabase::families();
  for (const char* face : kInterfaceFaces) {
    const QString name = QString::fromUtf8(face);
    if (installed.contains(name)) {
      font.setFamilies({name});
      break;
    }
  }
  font.setPointSize(9);
  return font;
}

}  // namespace huecode
