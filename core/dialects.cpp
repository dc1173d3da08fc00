#include "core/dialects.h"

namespace huecode {

MarkupTemplate InitialTemplate() {
  return *FindDialect("bbcode");
}

const Dialect* DialectOf(const MarkupTemplate& markup) {
  for (const Dialect& dialect : kDialects) {
    const bool same = markup.format.empty()
                          ? dialect.format.empty() && dialect.prefix == markup.prefix &&
                                dialect.middle == markup.middle && dialect.suffix == markup.suffix
                          : dialect.format == markup.format;
    if (same) {
      return &dialect;
    }
  }
  return nullptr;
}

bool AllowsEntities(const MarkupTemplate& markup) {
  const Dialect* dialect = DialectOf(markup);
  return dialect == nullptr || dialect->entities != Entities::Never;
}

const Dialect* DialectByKey(std::string_view key) {
  for (const Dialect& dialect : kDialects) {
    if (dialect.key == key) {
      return &dialect;
    }
  }
  return nullptr;
}

std::optional<StyleMarkup> ComposeStyles(const MarkupTemplate& markup, Styles styles) {
  if (!styles.any()) {
    return StyleMarkup{};
  }
  const Dialect* dialect = DialectOf(markup);
  if (dialect == nullptr || dialect->styles.placement == StylePlacement::NoCodes) {
    return std::nullopt;
  }
  const DialectStyles& codes = dialect->styles;
  const auto asked = styles.asked();
  for (std::size_t k = 0; k < asked.size(); ++k) {
    if (asked[k] && codes.open[k].empty()) {
      return std::nullopt;
    }
  }
  StyleMarkup composed;
  std::u16string& opening =
      codes.placement == StylePlacement::AroundText ? composed.open : composed.inTag;
  bool headWritten = false;
  for (std::size_t k = 0; k < asked.size(); ++k) {
    if (!asked[k]) {
      continue;
    }
    std::u16string_view code = codes.open[k];
    const bool shared = !codes.sharedHead.empty() && code.starts_with(codes.sharedHead);
    if (shared && headWritten) {
      opening += u' ';
      code.remove_prefix(codes.sharedHead.size());
    }
    headWritten = headWritten || shared;
    opening += code;
    composed.close.insert(0, codes.close[k]);
  }
  return composed;
}

std::optional<MarkupTemplate> FindDialect(std::string_view key) {
  if (const Dialect* dialect = DialectByKey(key)) {
    return dialect->markup();
  }
  return std::nullopt;
}

}  // namespace huecode
