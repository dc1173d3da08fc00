#pragma once

#include <QIcon>
#include <QImage>

namespace huecode {

// The blue picture behind every command button's caption, 185 x 42 logical
// pixels, rendered sharp for the given device pixel ratio.
QImage ButtonPicture(qreal devicePixelRatio = 1.0);

// The 32 x 32 application icon of both windows.
QIcon ApplicationIcon();

}  // namespace huecode
