// The dialect table in UTF-8, made once, for huecode_dialect_at.
#include <deque>
#include <vector>

#include "library.h"
#include "options/utf8.h"

namespace huecode::library {

namespace {

constexpr huecode_style_placement PlacementOf(StylePlacement placement) {
  switch (placement) {
    case StylePlacement::AroundText:
      return HUECODE_STYLES_AROUND;
    case StylePlacement::InEveryTag:
      return HUECODE_STYLES_IN_TAG;
    case StylePlacement::NoCodes:
      break;
  }
  return HUECODE_STYLES_NONE;
}

constexpr huecode_entities EntitiesOf(Entities entities) {
  switch (entities) {
    case Entities::Decoded:
      return HUECODE_ENTITIES_DECODED;
    case Entities::Never:
      return HUECODE_ENTITIES_NEVER;
    case Entities::OnRequest:
      break;
  }
  return HUECODE_ENTITIES_ON_REQUEST;
}

// The chunk "a" in the default start colour, with the dialect's frame.
std::u16string Example(const Dialect& dialect) {
  StyledSettings settings;
  settings.text = std::u16string(1, u'a');
  settings.gradient.stops = {kDefaultStart, kDefaultStart};
  settings.markup = dialect.markup();
  return GenerateStyledCode(settings);
}

class Table {
 public:
  Table() {
    for (const Dialect& dialect : Dialects()) {
      huecode_dialect row{};
      row.key = keep(std::string(dialect.key));
      row.label = keep(EncodeUtf8(dialect.label));
      row.english_label = keep(EncodeUtf8(dialect.englishLabel));
      row.prefix = keep(EncodeUtf8(dialect.prefix));
      row.middle = keep(EncodeUtf8(dialect.middle));
      row.suffix = keep(EncodeUtf8(dialect.suffix));
      row.format = keep(EncodeUtf8(dialect.format));
      row.example = keep(EncodeUtf8(Example(dialect)));
      row.entities = EntitiesOf(dialect.entities);
      row.styles = PlacementOf(dialect.styles.placement);
      for (std::size_t k = 0; k < 4; ++k) {
        row.codes[k] = keep(EncodeUtf8(dialect.styles.open[k]));
      }
      m_rows.push_back(row);
    }
  }

  const huecode_dialect* at(std::size_t index) const {
    return index < m_rows.size() ? &m_rows[index] : nullptr;
  }

 private:
  // A deque never moves what it holds, so the rows' pointers stay good.
  const char* keep(std::string text) { return m_texts.emplace_back(std::move(text)).c_str(); }

  std::deque<std::string> m_texts;
  std::vector<huecode_dialect> m_rows;
};

}  // namespace

}  // namespace huecode::library

extern "C" const huecode_dialect* huecode_dialect_at(size_t index) {
  try {
    static const huecode::library::Table table;
    return table.at(index);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
