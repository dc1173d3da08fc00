#include <gtest/gtest.h>

#include <string>

#include "core/json_writer.h"

namespace huecode {
namespace {

// Commas fall between members and elements at every depth, never after an
// opening bracket or a key; strings are escaped as JSON needs, a lone
// surrogate included, while a whole pair stays as it is.
TEST(JsonWriterTest, WritesNestedValuesWithEscapedStrings) {
  std::u16string out;
  JsonWriter json(out);
  json.open(u'{').key(u"a").number(-3).key(u"list").open(u'[');
  json.number(1).open(u'[').close(u']').open(u'{').close(u'}').text(u"x").close(u']');
  json.key(u"say \"hi\"").text(u"a\\b\n\t\x01\xD800 \U0001F600").close(u'}');
  EXPECT_EQ(out,
            u"{\"a\":-3,\"list\":[1,[],{},\"x\"],"
            u"\"say \\\"hi\\\"\":\"a\\\\b\\n\\t\\u0001\\uD800 \U0001F600\"}");
}

}  // namespace
}  // namespace huecode
