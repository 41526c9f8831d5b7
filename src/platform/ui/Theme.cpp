#include "platform/ui/Theme.h"

namespace ui::theme {

const gfx::Font& font()
{
    static const gfx::Font tahoma = gfx::Font::fromPoints(u"Tahoma", 8);
    return tahoma;
}

const gfx::Font& boldFont()
{
    static const gfx::Font tahomaBold = gfx::Font::fromPoints(u"Tahoma", 8, gfx::FW_BOLD);
    return tahomaBold;
}

} // namespace ui::theme
