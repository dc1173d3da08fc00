#pragma once

#include <QColor>
#include <QString>

class QLabel;
class QWidget;

namespace huecode {

// Both windows and their frames are dark green.
inline const QColor kWindowGreen{0, 128, 0};

// The green background and the interface font (interface_font.h), which every
// control without a font of its own inherits.
void ApplyWindowLook(QWidget& window);

// A plain-text caption sized to its text, the green showing through, in the
// colour of button text.
void ConfigureLabel(QLabel& label, const QString& caption);

}  // namespace huecode
