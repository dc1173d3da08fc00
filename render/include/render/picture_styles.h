#pragma once

#include "render/picture_surface.h"

namespace huecode {

// The effect preview box: 7575 x 2175 twips, sunken 3D border, the default font.
PictureStyle Picture1Style();

// The gradient bar box: 3255 x 375 twips, single flat border.
PictureStyle Picture2Style();

}  // namespace huecode
