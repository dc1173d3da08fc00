#pragma once

#include <string_view>
#include <utility>

namespace huecode::test {

// What each dialect writes for the text "a" in FF00FF, in table order.
inline constexpr std::pair<std::string_view, std::u16string_view> kDialectChunks[] = {
    {"html", u"<font color=FF00FF>a</font>"},
    {"ubb", u"[color=FF00FF]a[/color]"},
    {"brelvin", u"[ftc=FF00FF]a[/ft]"},
    {"bbcode", u"[color=#FF00FF]a[/color]"},
    {"span", u"<span style=\"color:#FF00FF\">a</span>"},
    {"minimessage", u"<#FF00FF>a"},
    {"ampersand", u"&#FF00FFa"},
};

}  // namespace huecode::test
