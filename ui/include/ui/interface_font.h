#pragma once

#include <QFont>

namespace huecode {

// The font both windows use for everything without a font of its own: a
// 9-point Chinese face whose Latin letters and digits are half as wide as its
// ideographs (6 and 12 pixels at 96 dpi). The layouts were drawn for those
// metrics; a proportional Latin face makes "FF00FF" run into the box after it.
// The first installed face of kInterfaceFaces is taken; where none is
// installed, the application's default family at 9 points.
QFont InterfaceFont();

// In order of preference.
inline constexpr const char* kInterfaceFaces[] = {
    "宋体", "SimSun", "NSimSun", "Noto Sans Mono CJK SC", "WenQuanYi Zen Hei Mono",
};

}  // namespace huecode
