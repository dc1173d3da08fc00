#pragma once

#include <memory>
#include <optional>

#include "core/colour.h"

class QWidget;

namespace huecode {

// One colour pick, modal to the owner window.
class ColourPicker {
 public:
  virtual ~ColourPicker() = default;
  // The accepted colour as 0x00BBGGRR; nothing when the user cancels.
  virtual std::optional<ColourValue> Pick(QWidget* owner) = 0;
};

// Qt's own colour dialog, opening on black with 16 black custom colours every
// time, so nothing from one pick shows in the next.
std::unique_ptr<ColourPicker> MakeColourDialogPicker();

}  // namespace huecode
