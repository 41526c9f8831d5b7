#pragma once
// The measures of a font at its size, in pixels (the handheld's text metrics).

namespace gfx {

struct FontMetrics {
    int height = 0;          // the cell height: ascent + descent; the step from one text line to the next
    int ascent = 0;          // from the cell's top to the baseline
    int descent = 0;         // from the baseline to the cell's bottom
    int internalLeading = 0; // room for accents inside the cell; 0 here, the em square fills the cell
    int externalLeading = 0; // extra room the face suggests between lines
    int averageCharWidth = 0;
    int maxCharWidth = 0;

    bool operator==(const FontMetrics&) const = default;
};

} // namespace gfx
