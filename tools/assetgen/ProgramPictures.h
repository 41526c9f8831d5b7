#pragma once
// The calendar program's own small pictures: its icon, the tool buttons, the reminder dialog's
// category pictures, the all-day icon, the "more" marker, the icon picker's folder and the
// attach dialog's links picture. All but the links picture lie on the key-coloured background.

#include "platform/gfx/Surface.h"

namespace assetgen {

class ProgramPictures {
public:
    static gfx::Surface programIcon(); // 32 × 32
    // QoLog Config's program icon, 32 × 32: a log sheet with its lines and a switch.
    static gfx::Surface logConfigIcon();
    static gfx::Surface previousButton();
    static gfx::Surface nextButton();
    static gfx::Surface todayButton();
    static gfx::Surface attachedButton();
    static gfx::Surface aboutButton();
    static gfx::Surface switchToVarnowButton();
    static gfx::Surface reminderToDo();
    static gfx::Surface reminderCall();
    static gfx::Surface reminderMeeting();
    static gfx::Surface reminderOther();
    static gfx::Surface allDayIcon();
    static gfx::Surface moreMarker(); // 9 × 4
    static gfx::Surface folder();
    // 144 × 36 on white, three equal parts: the calendar directory, sports, concerts.
    static gfx::Surface links();
};

} // namespace assetgen
