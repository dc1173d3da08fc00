#pragma once

#include <QString>

class QPlainTextEdit;

namespace huecode {

// The text of a multi-line box with CR LF line breaks (see line_breaks.h).
QString BoxText(const QPlainTextEdit& box);

// Replaces the whole content; CR LF, CR and LF each start a new line.
void SetBoxText(QPlainTextEdit& box, const QString& text);

}  // namespace huecode
