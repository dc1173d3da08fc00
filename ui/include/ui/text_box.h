#pragma once

#include <QString>

class QPlainTextEdit;

namespace huecode {

// The text of a multi-line box with CR LF line breaks (see line_breaks.h).
QString BoxText(const QPlainTextEdit& box);

// Replaces the whole content; CR LF, CR and LF each start a new line.
void SetBoxText(QPlainTextEdit& box, const QString& text);

// The box stores CR, LF and CR LF alike as one line break, so markup holding a
// lone CR or LF (a step that cuts a CR LF in two) would come back changed.
// OutputText returns the text exactly as SetOutputText put it, for as long as
// nobody edits the box; after an edit it is BoxText.
void SetOutputText(QPlainTextEdit& box, const QString& text);
QString OutputText(const QPlainTextEdit& box);

}  // namespace huecode
