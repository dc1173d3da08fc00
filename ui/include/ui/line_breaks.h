#pragma once

#include <string>
#include <string_view>

namespace huecode {

// The text with every line break written as CR LF. A CR LF pair, a lone CR, a
// lone LF, the paragraph separator U+2029 (what a text document puts between
// its blocks) and the line separator U+2028 (what Shift+Enter types) each
// count as one line break: whatever a box shows as a new line is one. The multi-line boxes hand
// their text out this way, so a multi-line text is cut and coloured the same whether its line
// breaks came from the keyboard or from the clipboard.
std::u16string WithCrLfLineBreaks(std::u16string_view text);

}  // namespace huecode
