// What the npm package's JavaScript reads once from the module: where each
// option lies in huecode_options, and the dialects with their facts, as JSON,
// so that the JavaScript keeps no list of either.
#include <emscripten.h>

#include <cstddef>
#include <string>

#include "library.h"

namespace {

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      constexpr char kHex[] = "0123456789abcdef";
      out += "\\u00";
      out += kHex[(c >> 4) & 0xF];
      out += kHex[c & 0xF];
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string OptionsJson() {
  std::string fields;
  huecode::library::ForEachOptionField([&](std::string_view name, std::size_t offset, bool flag) {
    fields += (fields.empty() ? "" : ",") + std::string("{\"name\":") + Quoted(name) +
              ",\"offset\":" + std::to_string(offset) + ",\"flag\":" + (flag ? "true" : "false") +
              "}";
  });
  return "{\"size\":" + std::to_string(sizeof(huecode_options)) +
         ",\"via\":" + std::to_string(offsetof(huecode_options, via)) +
         ",\"viaCount\":" + std::to_string(offsetof(huecode_options, via_count)) + ",\"fields\":[" +
         fields + "]}";
}

std::string DialectJson(const huecode_dialect& dialect) {
  constexpr const char* kEntities[] = {"decoded", "on-request", "never"};
  constexpr const char* kStyles[] = {"none", "around", "in-tag"};
  constexpr const char* kCodes[] = {"bold", "italic", "underline", "strike"};
  std::string codes;
  for (std::size_t k = 0; k < 4; ++k) {
    codes += (k == 0 ? "" : ",") + Quoted(kCodes[k]) + ":" + Quoted(dialect.codes[k]);
  }
  return "{\"key\":" + Quoted(dialect.key) + ",\"label\":" + Quoted(dialect.label) +
         ",\"englishLabel\":" + Quoted(dialect.english_label) +
         ",\"prefix\":" + Quoted(dialect.prefix) + ",\"middle\":" + Quoted(dialect.middle) +
         ",\"suffix\":" + Quoted(dialect.suffix) + ",\"format\":" + Quoted(dialect.format) +
         ",\"example\":" + Quoted(dialect.example) +
         ",\"entities\":" + Quoted(kEntities[dialect.entities]) +
         ",\"styles\":" + Quoted(kStyles[dialect.styles]) + ",\"codes\":{" + codes + "}}";
}

}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE const char* huecode_js_describe() {
  static const std::string json = [] {
    std::string dialects;
    for (std::size_t k = 0; const huecode_dialect* dialect = huecode_dialect_at(k); ++k) {
      dialects += (k == 0 ? "" : ",") + DialectJson(*dialect);
    }
    return "{\"options\":" + OptionsJson() + ",\"dialects\":[" + dialects + "]}";
  }();
  return json.c_str();
}
