#include "ui/form1_layout.h"

#include <QCoreApplication>

#include "core/colour.h"
#include "core/dialects.h"
#include "core/gradient_stops.h"

namespace huecode {
namespace {

std::string Utf8(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())).toStdString();
}

// The template row reads as one chunk of the initial template in the start
// colour, and the list shows an item over it: the core decides all of them.
const MarkupTemplate kInitial = InitialTemplate();

}  // namespace

using C = Form1Control;
using In = Form1Container;

const std::array<Form1ControlLayout, 24> kForm1Layout{{
    {C::Frame1,
     -1,
     In::Window,
     {120, 120, 7815, 2535},
     QT_TRANSLATE_NOOP("huecode::Form1", "效果预览(不显示回车)")},
    {C::Picture1, -1, In::Frame1, {120, 240, 7575, 2175}, ""},
    {C::Frame2,
     -1,
     In::Window,
     {120, 2760, 2415, 2415},
     QT_TRANSLATE_NOOP("huecode::Form1", "输入待转换文本")},
    {C::Text1, -1, In::Frame2, {120, 240, 2175, 2055}, ""},
    {C::Label1,
     0,
     In::Window,
     {2640, 3000, 810, 180},
     QT_TRANSLATE_NOOP("huecode::Form1", "渐色预览:")},
    {C::Picture2, -1, In::Window, {3480, 2880, 3255, 375}, ""},
    {C::Command1,
     0,
     In::Window,
     {6840, 2760, 1215, 255},
     QT_TRANSLATE_NOOP("huecode::Form1", "起始颜色(&B)")},
    {C::Command1,
     1,
     In::Window,
     {6840, 3120, 1215, 255},
     QT_TRANSLATE_NOOP("huecode::Form1", "结束颜色(&E)")},
    {C::Label1,
     1,
     In::Window,
     {2640, 3480, 450, 180},
     QT_TRANSLATE_NOOP("huecode::Form1", "格式:")},
    {C::Text2, 0, In::Window, {3120, 3480, 1095, 270}, Utf8(kInitial.prefix)},
    {C::Label1, 2, In::Window, {4220, 3525, 540, 180}, Utf8(ColourDigits(kDefaultStart))},
    {C::Text2, 1, In::Window, {4800, 3480, 375, 270}, Utf8(kInitial.middle)},
    {C::Label1, 3, In::Window, {5180, 3525, 390, 180}, QT_TRANSLATE_NOOP("huecode::Form1", "文字")},
    {C::Text2, 2, In::Window, {5640, 3480, 855, 270}, Utf8(kInitial.suffix)},
    {C::Label1,
     4,
     In::Window,
     {2640, 3840, 450, 180},
     QT_TRANSLATE_NOOP("huecode::Form1", "代码:")},
    {C::Combo1, -1, In::Window, {6600, 3480, 1455, 300}, Utf8(kDialects[kInitialDialect].label)},
    {C::Text3, -1, In::Window, {3120, 3960, 4815, 1215}, ""},
    {C::Command2,
     0,
     In::Window,
     {3240, 5280, 855, 255},
     QT_TRANSLATE_NOOP("huecode::Form1", "转换(&T)")},
    {C::Command2,
     1,
     In::Window,
     {4200, 5280, 1695, 255},
     QT_TRANSLATE_NOOP("huecode::Form1", "复制到剪贴板(&C)")},
    {C::Command2,
     2,
     In::Window,
     {240, 5280, 1575, 255},
     QT_TRANSLATE_NOOP("huecode::Form1", "从剪贴板粘贴(&V)")},
    {C::Command3,
     0,
     In::Window,
     {6120, 5280, 855, 255},
     QT_TRANSLATE_NOOP("huecode::Form1", "关于(&A)")},
    {C::Command3,
     1,
     In::Window,
     {7080, 5280, 855, 255},
     QT_TRANSLATE_NOOP("huecode::Form1", "退出(&X)")},
    {C::Text4, -1, In::Window, {2640, 5280, 495, 270}, "1"},
    {C::Label1,
     5,
     In::Window,
     {2040, 5280, 540, 180},
     QT_TRANSLATE_NOOP("huecode::Form1", "字步长")},
}};

QString ControlName(Form1Control control, int index) {
  static constexpr std::array<const char*, 13> kNames{
      "Frame1", "Picture1", "Frame2", "Text1",    "Label1",   "Picture2", "Command1",
      "Text2",  "Combo1",   "Text3",  "Command2", "Command3", "Text4"};
  const QString name = QString::fromLatin1(kNames[static_cast<std::size_t>(control)]);
  return index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(index);
}

}  // namespace huecode
