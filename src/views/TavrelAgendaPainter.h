#pragma once
// CTavrelAgendaPainter: the agenda in the fourth quarter of the quarterly mode — "Agenda for"
// the date, a rule under it, and one line per event of that day in snapshot order, each wrapped
// to the width and each a tap region that opens its event. Lines stop at the first one that
// would start below the area.

#include "views/TavrelRenderContext.h"

class CTavrelAgendaPainter {
public:
    static constexpr gfx::Colour RuleColour = 0x404040;

    explicit CTavrelAgendaPainter(CTavrelRenderContext& context) : m_context(context) {}

    void Paint(const gfx::Rect& area, const CTavrelDay& date);

private:
    CTavrelRenderContext& m_context;
};
