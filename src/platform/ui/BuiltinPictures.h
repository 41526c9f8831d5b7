#pragma once
// Small pictures the platform draws for itself (the file dialog's folder and document icons), so
// it needs no program resources.

#include "platform/gfx/Surface.h"

namespace ui {

struct BuiltinPictures {
    // 16 × 16 with a white background, meant to be drawn with white as the colour key.
    static gfx::Surface folder();
    static gfx::Surface document();
};

} // namespace ui
