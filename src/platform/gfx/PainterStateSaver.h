#pragma once
// Saves a painter's state (selected objects, colours, modes, origin, clip and current position)
// for the life of a scope and brings it back when the scope ends, however it ends:
//
//     {
//         gfx::PainterStateSaver saved(painter);
//         painter.selectPen(gfx::Pen::solid(divider));
//         painter.intersectClipRect(row);
//         ...
//     } // the pen and the clip are as they were
//
// Savers nest: each brings back the state it found.

#include "platform/gfx/Painter.h"

namespace gfx {

class PainterStateSaver {
public:
    explicit PainterStateSaver(Painter& painter) : m_painter(painter) { m_painter.save(); }
    ~PainterStateSaver() { m_painter.restore(); }

    PainterStateSaver(const PainterStateSaver&) = delete;
    PainterStateSaver& operator=(const PainterStateSaver&) = delete;

private:
    Painter& m_painter;
};

} // namespace gfx
