#pragma once
// The handheld's look in one place: the bars' sizes, the colours of the screen furniture and
// controls, and the fonts (Tahoma 8, its bold cut for titles).

#include "platform/gfx/Colour.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Rect.h"

namespace ui::theme {

inline constexpr int screenWidth = 240;
inline constexpr int screenHeight = 320;
inline constexpr int navigationBarHeight = 26;
inline constexpr int commandBarHeight = 26;
inline constexpr int dialogTitleHeight = 20;

// The area between the navigation bar and the command bar: a frame's view, a dialog.
inline constexpr gfx::Rect workArea{0, navigationBarHeight, screenWidth, screenHeight - commandBarHeight};
// Everything below the navigation bar: a frame with its command bar.
inline constexpr gfx::Rect frameArea{0, navigationBarHeight, screenWidth, screenHeight};

inline constexpr gfx::Colour navigationBar = gfx::rgb(0, 51, 153);
inline constexpr gfx::Colour navigationBarText = gfx::rgb(255, 255, 255);
inline constexpr gfx::Colour commandBar = gfx::rgb(214, 211, 206);
inline constexpr gfx::Colour commandBarLine = gfx::rgb(132, 130, 132);
inline constexpr gfx::Colour face = gfx::rgb(214, 211, 206);   // button and scroll bar faces
inline constexpr gfx::Colour shadow = gfx::rgb(132, 130, 132);
inline constexpr gfx::Colour window = gfx::rgb(255, 255, 255);
inline constexpr gfx::Colour text = gfx::rgb(0, 0, 0);
inline constexpr gfx::Colour grayText = gfx::rgb(148, 146, 148);
inline constexpr gfx::Colour highlight = gfx::rgb(0, 51, 153);
inline constexpr gfx::Colour highlightText = gfx::rgb(255, 255, 255);
inline constexpr gfx::Colour frameLine = gfx::rgb(0, 0, 0);
inline constexpr gfx::Colour titleText = gfx::rgb(0, 51, 153);
inline constexpr gfx::Colour titleLine = gfx::rgb(132, 130, 132);
inline constexpr gfx::Colour toolTip = gfx::rgb(255, 255, 225);
inline constexpr gfx::Colour caption = gfx::rgb(0, 51, 153); // a message box's caption bar

// Tahoma 8 and its bold cut; the fonts are made once and shared.
const gfx::Font& font();
const gfx::Font& boldFont();

} // namespace ui::theme
