#include "ui/text_box.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "ui/line_breaks.h"

namespace huecode {
namespace {

constexpr int kLineEndProperty = QTextFormat::UserProperty;

QTextBlockFormat FormatAfter(LineEnd end) {
  QTextBlockFormat format;
  if (end != LineEnd::CrLf) {
    format.setProperty(kLineEndProperty, static_cast<int>(end));
  }
  return format;
}

std::u16string_view LineEndBefore(const QTextBlock& block) {
  const QVariant kind = block.blockFormat().property(kLineEndProperty);
  const int index = kind.isValid() ? kind.toInt() : 0;
  return index > 0 && static_cast<std::size_t>(index) < kLineEndTexts.size()
             ? kLineEndTexts[static_cast<std::size_t>(index)]
             : LineEndText(LineEnd::CrLf);
}

}  // namespace

QString DocumentText(const QTextDocument& document, int from, int to) {
  QString text;
  // A block's line end sits at the position just before the block.
  for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() <= to;
       block = block.next()) {
    const int start = block.position();
    if (start > from) {
      const std::u16string_view end = LineEndBefore(block);
      text.append(QStringView(end.data(), static_cast<qsizetype>(end.size())));
    }
    const QString line = block.text();
    const int first = std::max(from, start) - start;
    const int last = std::min(to, start + static_cast<int>(line.size())) - start;
    if (last > first) {
      text.append(QStringView(line).mid(first, last - first));
    }
  }
  return text;
}

QString BoxText(const QPlainTextEdit& box) {
  const QTextDocument& document = *box.document();
  return DocumentText(document, 0, document.characterCount() - 1);
}

void InsertText(QTextCursor& cursor, const QString& text) {
  const std::u16string_view all(reinterpret_cast<const char16_t*>(text.utf16()),
                                static_cast<std::size_t>(text.size()));
  cursor.beginEditBlock();
  cursor.removeSelectedText();
  bool first = true;
  for (const TextLine& line : SplitAtLineEnds(all)) {
    if (!first) {
      cursor.insertBlock(FormatAfter(line.before));
    }
    first = false;
    cursor.insertText(
        QString::fromUtf16(line.text.data(), static_cast<qsizetype>(line.text.size())));
  }
  cursor.endEditBlock();
}

void SetBoxText(QPlainTextEdit& box, const QString& text) {
  QTextDocument& document = *box.document();
  document.setUndoRedoEnabled(false);
  box.clear();
  QTextCursor cursor(&document);
  cursor.setBlockFormat(QTextBlockFormat());
  InsertText(cursor, text);
  document.setUndoRedoEnabled(true);
  box.moveCursor(QTextCursor::Start);
}

void InsertTypedLineBreak(QTextCursor& cursor) {
  cursor.insertBlock(FormatAfter(LineEnd::CrLf));
}

void SetLineText(QLineEdit& box, const QString& text) {
  box.setText(text);
  box.setCursorPosition(0);
}

}  // namespace huecode
