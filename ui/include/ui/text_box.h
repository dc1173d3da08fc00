#pragma once

#include <QString>

class QLineEdit;
class QPlainTextEdit;
class QTextCursor;
class QTextDocument;

namespace huecode {

// A multi-line box keeps every line end as it came (see line_breaks.h): each
// block of its document records the kind of line end in front of it, and a
// block without a record follows a line break typed in the box, a CR LF.
// Editing keeps the records, because a block's format goes with the line end
// in front of it when blocks are split, joined and restored by undo.

// The box's text, or the characters from..to of its document, with every line
// end as recorded.
QString BoxText(const QPlainTextEdit& box);
QString DocumentText(const QTextDocument& document, int from, int to);

// Replaces the whole content without an undo step and puts the caret at the start.
void SetBoxText(QPlainTextEdit& box, const QString& text);

// Inserts text at the cursor, in place of its selection, as one undo step.
void InsertText(QTextCursor& cursor, const QString& text);

// A line break typed in the box.
void InsertTypedLineBreak(QTextCursor& cursor);

// Replaces a single-line box's text and puts the caret at the start.
void SetLineText(QLineEdit& box, const QString& text);

}  // namespace huecode
