#pragma once

#include <QString>
#include <array>
#include <string>

#include "ui/form_layout.h"

namespace huecode {

enum class Form1Control {
  Frame1,
  Picture1,
  Frame2,
  Text1,
  Label1,
  Picture2,
  Command1,
  Text2,
  Combo1,
  Text3,
  Command2,
  Command3,
  Text4,
};

enum class Form1Container { Window, Frame1, Frame2 };

struct Form1ControlLayout {
  Form1Control control;
  int index;  // element of a control array; -1 for a single control
  Form1Container container;
  TwipsRect rect;       // Left and Top from the container's outer top-left corner
  std::string caption;  // caption or initial text, UTF-8, untranslated; empty for none
};

inline constexpr TwipsRect kForm1ClientTwips{0, 0, 8085, 5625};

// Every control of the main window, in tab order.
extern const std::array<Form1ControlLayout, 24> kForm1Layout;

// "Text2(1)" for an array element, "Combo1" for a single control.
QString ControlName(Form1Control control, int index);

}  // namespace huecode
