#include "ui/text_box.h"

#include <QPlainTextEdit>
#include <QTextDocument>
#include <QVariant>

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

namespace {
constexpr char kExactText[] = "huecodeExactText";
constexpr char kExactRevision[] = "huecodeExactRevision";
}  // namespace

void SetOutputText(QPlainTextEdit& box, const QString& text) {
  SetBoxText(box, text);
  box.setProperty(kExactText, text);
  box.setProperty(kExactRevision, box.document()->revision());
}

QString OutputText(const QPlainTextEdit& box) {
  const QVariant revision = box.property(kExactRevision);
  if (revision.isValid() && revision.toInt() == box.document()->revision()) {
    return box.property(kExactText).toString();
  }
  return BoxText(box);
}

}  // namespace huecode
