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
    {"legacy", u"&x&F&F&0&0&F&Fa"},
    {"section", u"§x§F§F§0§0§F§Fa"},
    {"json", u"[{\"text\":\"a\",\"color\":\"#FF00FF\"}]"},
    {"rgb", u"[COLOR=rgb(255, 0, 255)]a[/COLOR]"},
    {"ansi", u"```ansi\n\x1b[0;35ma\n```"},
};

}  // namespace huecode::test
