#include "ui/window_dialects.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace huecode {
namespace {

// The window's list: its item texts, and the template each index applies;
// no selection (-1) and indexes past the list apply nothing.
TEST(WindowPreset, ListRowsInOrderAndNothingElse) {
  const std::u16string labels[] = {u"Html(网页)", u"UBB(论坛)", u"Brelvin"};
  ASSERT_EQ(WindowDialects().size(), std::size(labels));
  for (std::size_t k = 0; k < std::size(labels); ++k) {
    EXPECT_EQ(WindowDialects()[k].label, labels[k]) << k;
  }
  const std::pair<int, std::optional<MarkupTemplate>> rows[] = {
      {0, MarkupTemplate{u"<font color=", u">", u"</font>"}},
      {1, MarkupTemplate{u"[color=", u"]", u"[/color]"}},
      {2, MarkupTemplate{u"[ftc=", u"]", u"[/ft]"}},
      {-1, std::nullopt},
      {3, std::nullopt},
      {100, std::nullopt},
  };
  for (const auto& [index, expected] : rows) {
    EXPECT_EQ(WindowPreset(index), expected) << index;
  }
}

}  // namespace
}  // namespace huecode
