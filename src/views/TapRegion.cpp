#include "views/TapRegion.h"

#include "platform/ui/Desktop.h"

TapRegion::TapRegion(ui::WindowHandle target, std::uint32_t message, ui::WParam wParam, ui::LParam lParam,
                     const gfx::Rect& rect)
    : m_target(target), m_message(message), m_lParam(lParam), m_wParam(wParam), m_rect(rect)
{
}

ui::WParam TapRegion::ParameterFor(gfx::Point point) const
{
    if (m_wParam != TapPoint)
        return m_wParam;
    return ui::MAKEWPARAM(unsigned(point.x), unsigned(point.y));
}

bool TapRegion::HitTest(gfx::Point point, bool send) const
{
    if (!Contains(point))
        return false;
    ui::Desktop* desktop = ui::Desktop::instance();
    if (!desktop)
        return true;
    if (send)
        desktop->send(m_target, m_message, ParameterFor(point), m_lParam);
    else
        desktop->post(m_target, m_message, ParameterFor(point), m_lParam);
    return true;
}
