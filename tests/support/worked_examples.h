#pragma once

#include <string_view>

namespace huecode::test {

// One conversion from the gradient the window opens with, (255, 0, 255) to (0, 255, 0).
struct WorkedExample {
  std::u16string_view text;      // untrimmed, as typed
  std::u16string_view stepText;  // as typed into the step box
  std::string_view preset;       // "html", "ubb", "brelvin", or empty for the opening template
  std::u16string_view markup;
};

// Shared by the core tests and the command-line tests, so both front ends are
// held to the same results. No text ends in a line break, since the command
// line drops one trailing break from standard input.
inline constexpr WorkedExample kWorkedExamples[] = {
    {u"ab", u"1", "", u"[color=#808080]a[/color][color=#00FF00]b[/color]"},
    {u"a b", u"1", "", u"[color=#AA55AA]a[/color] [color=#00FF00]b[/color]"},
    {u"abcde", u"2", "",
     u"[color=#CC33CC]ab[/color][color=#669966]cd[/color][color=#00FF00]e[/color]"},
    {u"abc", u"3", "", u"[color=#AA55AA]a[/color][color=#55AA55]b[/color][color=#00FF00]c[/color]"},
    {u"", u"1", "", u""},
    {u"   ", u"2", "", u""},
    {u"  ab  ", u"1", "", u"[color=#808080]a[/color][color=#00FF00]b[/color]"},
    {u"ab", u"1", "html", u"<font color=808080>a</font><font color=00FF00>b</font>"},
    {u"ab", u"1", "ubb", u"[color=808080]a[/color][color=00FF00]b[/color]"},
    {u"ab", u"1", "brelvin", u"[ftc=808080]a[/ft][ftc=00FF00]b[/ft]"},
    {u"彩色文字", u"1", "",
     u"[color=#BF40BF]彩[/color][color=#808080]色[/color][color=#40BF40]文[/"
     u"color][color=#00FF00]字[/color]"},
    {u"彩色 文字", u"2", "",
     u"[color=#CC33CC]彩色[/color][color=#669966] 文[/color][color=#00FF00]字[/color]"},
    {u"ab\r\ncd", u"1", "",
     u"[color=#D42AD4]a[/color][color=#AA55AA]b[/color]\r\n[color=#2AD42A]c[/"
     u"color][color=#00FF00]d[/color]"},
    {u"ab\r\ncd", u"2", "",
     u"[color=#D42AD4]ab[/color][color=#808080]\r\n[/color][color=#2AD42A]cd[/color]"},
    {u"a\tb", u"1", "", u"[color=#AA55AA]a[/color]\t[color=#00FF00]b[/color]"},
    {u"abcdef", u"2.5", "",
     u"[color=#D42AD4]ab[/color][color=#808080]cd[/color][color=#2AD42A]ef[/color]"},
    {u"abcdefgh", u"3.5", "", u"[color=#DF20DF]abcd[/color][color=#609F60]efgh[/color]"},
    {u"abcdefghijklmn", u" 1 2", "",
     u"[color=#ED12ED]abcdefghijkl[/color][color=#12ED12]mn[/color]"},
    {u"abcdefghijklmn", u"12abc", "",
     u"[color=#ED12ED]abcdefghijkl[/color][color=#12ED12]mn[/color]"},
    {u"abcdefghijklmnopqr", u"&H10", "",
     u"[color=#F10EF1]abcdefghijklmnop[/color][color=#0EF10E]qr[/color]"},
    {u"abcdefghijklmnop", u"&O17", "",
     u"[color=#EF10EF]abcdefghijklmno[/color][color=#00FF00]p[/color]"},
    {u"abcdefghijkl", u"1e1", "", u"[color=#EA15EA]abcdefghij[/color][color=#15EA15]kl[/color]"},
    {u"abcd", u"", "",
     u"[color=#BF40BF]a[/color][color=#808080]b[/color][color=#40BF40]c[/color][color=#00FF00]d[/"
     u"color]"},
    {u"abcd", u"0", "",
     u"[color=#BF40BF]a[/color][color=#808080]b[/color][color=#40BF40]c[/color][color=#00FF00]d[/"
     u"color]"},
    {u"abcd", u"-3", "",
     u"[color=#BF40BF]a[/color][color=#808080]b[/color][color=#40BF40]c[/color][color=#00FF00]d[/"
     u"color]"},
    {u"abcd", u"99999999999", "",
     u"[color=#BF40BF]a[/color][color=#808080]b[/color][color=#40BF40]c[/color][color=#00FF00]d[/"
     u"color]"},
    {u"abcd", u"1e400", "",
     u"[color=#BF40BF]a[/color][color=#808080]b[/color][color=#40BF40]c[/color][color=#00FF00]d[/"
     u"color]"},
    {u"abcd", u"4", "",
     u"[color=#BF40BF]a[/color][color=#808080]b[/color][color=#40BF40]c[/color][color=#00FF00]d[/"
     u"color]"},
    {u"abcd", u"3", "", u"[color=#BF40BF]abc[/color][color=#00FF00]d[/color]"},
    {u"abcd", u"xyz", "",
     u"[color=#BF40BF]a[/color][color=#808080]b[/color][color=#40BF40]c[/color][color=#00FF00]d[/"
     u"color]"},
    {u"abcdef", u"\uFF11\uFF12", "",
     u"[color=#D42AD4]a[/color][color=#AA55AA]b[/color][color=#808080]c[/color][color=#55AA55]d[/"
     u"color][color=#2AD42A]e[/color][color=#00FF00]f[/color]"},
    {u"a\U0001F600b", u"1", "",
     u"[color=#AA55AA]a[/color][color=#55AA55]\U0001F600[/color][color=#00FF00]b[/color]"},
    {u"\U0001F600\U0001F600\U0001F600\U0001F600", u"3", "",
     u"[color=#BF40BF]\U0001F600\U0001F600\U0001F600[/color][color=#00FF00]\U0001F600[/color]"},
    {u"\u3000\u3000段落", u"1", "",
     u"[color=#BF40BF]\u3000[/color][color=#808080]\u3000[/color][color=#40BF40]段[/"
     u"color][color=#00FF00]落[/color]"},
    {u"<i>\"x\"</i> & [b]", u"1", "html",
     u"<font color=EF10EF><</font><font color=DF20DF>i</font><font color=CF30CF>></font><font "
     u"color=BF40BF>\"</font><font color=AF50AF>x</font><font color=9F609F>\"</font><font "
     u"color=8F708F><</font><font color=808080>/</font><font color=708F70>i</font><font "
     u"color=609F60>></font> <font color=40BF40>&</font> <font color=20DF20>[</font><font "
     u"color=10EF10>b</font><font color=00FF00>]</font>"},
};

}  // namespace huecode::test
