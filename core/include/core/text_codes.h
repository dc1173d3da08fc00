#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/dialects.h"
#include "core/markup_template.h"

namespace huecode {

// How a dialect can show its readers' codes in a text as typed (what
// "HTML-safe text", --escape, writes), if at all.
enum class LiteralMeans : std::uint8_t {
  Entities,     // &amp; &lt; &gt;: HTML, and the boards that turn BBCode into HTML
  CodeBetween,  // the chunk's colour code again between & and the code character
  Backslash,    // MiniMessage's \< and \\ (a backslash before < or another one)
  Nothing,      // § in a Minecraft client, ESC in a Discord code block
};

LiteralMeans LiteralMeansOf(TextCodes codes);
// A template of one's own takes entities: it is the user's to judge.
LiteralMeans LiteralMeansOf(const MarkupTemplate& markup);

// Why a dialect without literal means refuses --escape, and what to do
// instead; empty for the others.
std::u16string_view WithoutLiteralMeans(TextCodes codes);

// A sequence of a text that the destination reads as a code.
struct TextCode {
  std::size_t offset = 0;  // code units into the text
  std::size_t length = 0;
  std::u16string_view effect;  // what the destination makes of it
  bool escapable = false;      // the dialect's literal means shows it as typed
};

// The first code in one chunk's text, as the chunk is written (a § that
// ends it is a code too: the reader drops it with whatever follows); with
// escaped, only one that the literal means cannot show.
std::optional<TextCode> FirstTextCode(TextCodes codes, std::u16string_view text,
                                      bool escaped = false);

// What the destination shows of the markup of a dialect whose readers take
// codes from anywhere in it (the & and § forms and MiniMessage), the
// colour codes included: every code gone, escapes decoded. The text of a
// json component goes through it as Section.
std::u16string ReadAsDestination(TextCodes codes, std::u16string_view markup);

// The dialects whose readers are a game server or a chat, where a chunk
// never ends between CR and LF (a code between them would make two breaks).
constexpr bool KeepsLineBreaksWhole(TextCodes codes) {
  return codes != TextCodes::None && codes != TextCodes::Html;
}

namespace detail {

// What & or § and this character make, as Minecraft reads them, or nothing
// for a character that is no code: 0-9, a-f, k-o, r and x in either case.
std::u16string_view LegacyCodeEffect(char16_t c);

// Discord drops a code block's blank first and last lines; a zero-width
// space keeps them. Blank: white space up to a line break before the text's
// first other character (or after its last), zero-width spaces at that end
// set aside, so that reading back can tell the one added from the text's own.
bool BlankFirstLine(std::u16string_view text);
bool BlankLastLine(std::u16string_view text);

// Where & at k starts a pair that --escape breaks: & with a code character
// after it, or with # in the dialects that read &#RRGGBB.
inline bool StartsCodePair(std::u16string_view text, std::size_t k, bool hexCodes) {
  return text[k] == u'&' && k + 1 < text.size() &&
         (!LegacyCodeEffect(text[k + 1]).empty() || (hexCodes && text[k + 1] == u'#'));
}

// The chunk's text with its head written again after each & that starts a
// code pair, so that the reader takes the head as the code and shows the &.
template <typename Sink, typename PutHead>
void PutCodePairsBroken(Sink& sink, std::u16string_view text, bool hexCodes,
                        const PutHead& putHead) {
  std::size_t from = 0;
  for (std::size_t k = text.find(u'&'); k != std::u16string_view::npos;
       k = text.find(u'&', k + 1)) {
    if (StartsCodePair(text, k, hexCodes)) {
      sink.put(text.substr(from, k + 1 - from));
      putHead();
      from = k + 1;
    }
  }
  sink.put(text.substr(from));
}

// MiniMessage text: a backslash before every < and every backslash (all),
// or only before a backslash that ends the chunk, which the next tag would
// otherwise take as its escape.
template <typename Sink>
void PutMiniMessageText(Sink& sink, std::u16string_view text, bool all) {
  static constexpr char16_t kBackslash = u'\\';
  std::size_t from = 0;
  for (std::size_t k = all ? text.find_first_of(u"<\\") : std::u16string_view::npos;
       k != std::u16string_view::npos; k = text.find_first_of(u"<\\", k + 1)) {
    sink.put(text.substr(from, k - from));
    sink.put(std::u16string_view(&kBackslash, 1));
    from = k;
  }
  sink.put(text.substr(from));
  if (!all && text.ends_with(kBackslash)) {
    sink.put(std::u16string_view(&kBackslash, 1));
  }
}

}  // namespace detail

}  // namespace huecode
