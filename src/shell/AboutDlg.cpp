#include "shell/AboutDlg.h"

#include "assets/ResourceIds.h"
#include "platform/gfx/ImageResource.h"
#include "platform/ui/Label.h"
#include "platform/ui/Picture.h"
#include "platform/ui/PushButton.h"
#include "shell/TavrelCommands.h"

CAboutDlg::CAboutDlg() : Dialog(Caption)
{
    setId(IDD_ABOUTBOX);
    auto& icon = add<ui::Picture>(IconId, 7, 8, 20, 20);
    if (std::optional<gfx::Surface> picture = gfx::loadImageResource(IDI_TAVREL)) {
        icon.setTransparentColour(picture->pixel(0, 0));
        icon.setPicture(std::move(*picture));
    }
    add<ui::Label>(VersionId, 34, 12, 100, 10, VersionText).setBold(true);
    add<ui::Label>(NoticeId, 34, 26, 100, 40, NoticeText);
    add<ui::PushButton>(ui::IDOK, 50, 72, 40, 14, u"OK").setDefault(true);
}
