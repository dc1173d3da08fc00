#include "ui/text_box.h"

#include <QPlainTextEdit>
#include <QTextDocument>

#include "ui/line_breaks.h"

namespace huecode {

QString BoxText(const QPlainTextEdit& box) {
  // toPlainText() would turn no-break spaces into spaces; the raw text keeps them.
  const QString raw = box.document()->toRawText();
  return QString::fromStdU16String(WithCrLfLineBreaks(raw.toStdU16String()));
}

void SetBoxText(QPlainTextEdit& box, const QString& text) {
  box.setPlainText(text);
}

}  // namespace huecode
