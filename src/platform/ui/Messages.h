#pragma once
// Window messages, key codes, dialog results and notification codes with the numbers and names of
// the handheld's headers, so that program code written against the handheld reads the same here.
// Parameters travel as the handheld packs them: points as (x, y) in the low and high 16 bits of
// the lParam (signed), command ids and notification codes in the low and high words of wParam.

#include <cstdint>

namespace ui {

using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

// Window messages.
inline constexpr std::uint32_t WM_NULL = 0x0000;
inline constexpr std::uint32_t WM_CREATE = 0x0001;
inline constexpr std::uint32_t WM_DESTROY = 0x0002;
inline constexpr std::uint32_t WM_MOVE = 0x0003;
inline constexpr std::uint32_t WM_SIZE = 0x0005;
inline constexpr std::uint32_t WM_ACTIVATE = 0x0006;     // wParam WA_ACTIVE or WA_INACTIVE
inline constexpr std::uint32_t WM_SETFOCUS = 0x0007;
inline constexpr std::uint32_t WM_KILLFOCUS = 0x0008;
inline constexpr std::uint32_t WM_ENABLE = 0x000A;
inline constexpr std::uint32_t WM_PAINT = 0x000F;        // lParam: the gfx::Painter* to draw with
inline constexpr std::uint32_t WM_CLOSE = 0x0010;
inline constexpr std::uint32_t WM_QUIT = 0x0012;         // wParam: exit code
inline constexpr std::uint32_t WM_SHOWWINDOW = 0x0018;   // wParam: shown (1) or hidden (0)
inline constexpr std::uint32_t WM_CANCELMODE = 0x001F;   // the pen interaction was taken away
inline constexpr std::uint32_t WM_NOTIFY = 0x004E;       // lParam: NotifyHeader*
inline constexpr std::uint32_t WM_HELP = 0x0053;
inline constexpr std::uint32_t WM_CONTEXTMENU = 0x007B;  // wParam: handle value; lParam: screen point
inline constexpr std::uint32_t WM_SETICON = 0x0080;      // wParam: ICON_SMALL or ICON_BIG; lParam: const gfx::Surface*
inline constexpr std::uint32_t WM_KEYDOWN = 0x0100;      // wParam: virtual key code
inline constexpr std::uint32_t WM_KEYUP = 0x0101;
inline constexpr std::uint32_t WM_CHAR = 0x0102;         // wParam: UTF-16 code unit
inline constexpr std::uint32_t WM_INITDIALOG = 0x0110;
inline constexpr std::uint32_t WM_COMMAND = 0x0111;      // wParam: MAKEWPARAM(id, code); lParam: source handle
inline constexpr std::uint32_t WM_TIMER = 0x0113;        // wParam: timer id
inline constexpr std::uint32_t WM_HSCROLL = 0x0114;      // wParam: MAKEWPARAM(code, position); lParam: source
inline constexpr std::uint32_t WM_VSCROLL = 0x0115;
inline constexpr std::uint32_t WM_INITMENUPOPUP = 0x0117; // wParam: Menu*; lParam: 0
inline constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;    // lParam: client point
inline constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
// The command-update query of the application framework: lParam is a CommandUpdate* that the
// receiver fills with the enabled and checked state of one command.
inline constexpr std::uint32_t WM_IDLEUPDATECMDUI = 0x0363;
inline constexpr std::uint32_t WM_USER = 0x0400;
inline constexpr std::uint32_t WM_APP = 0x8000;

// The tap-and-hold gesture as the handheld's shell names it; delivered here as WM_CONTEXTMENU.
inline constexpr std::uint32_t GN_CONTEXTMENU = 1000;

inline constexpr WParam WA_INACTIVE = 0;
inline constexpr WParam WA_ACTIVE = 1;

// Virtual key codes.
inline constexpr int VK_BACK = 0x08;
inline constexpr int VK_TAB = 0x09;
inline constexpr int VK_RETURN = 0x0D;
inline constexpr int VK_SHIFT = 0x10;
inline constexpr int VK_CONTROL = 0x11;
inline constexpr int VK_ESCAPE = 0x1B;
inline constexpr int VK_SPACE = 0x20;
inline constexpr int VK_PRIOR = 0x21; // Page Up
inline constexpr int VK_NEXT = 0x22;  // Page Down
inline constexpr int VK_END = 0x23;
inline constexpr int VK_HOME = 0x24;
inline constexpr int VK_LEFT = 0x25;
inline constexpr int VK_UP = 0x26;
inline constexpr int VK_RIGHT = 0x27;
inline constexpr int VK_DOWN = 0x28;
inline constexpr int VK_DELETE = 0x2E;
inline constexpr int VK_F1 = 0x70;

// Dialog and message-box results.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
// WM_SETICON's sizes.
inline constexpr int ICON_SMALL = 0;
inline constexpr int ICON_BIG = 1;

inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;
inline constexpr int IDSTATIC = -1; // labels that nobody looks up

// Message-box styles.
inline constexpr unsigned MB_OK = 0x0;
inline constexpr unsigned MB_OKCANCEL = 0x1;
inline constexpr unsigned MB_YESNOCANCEL = 0x3;
inline constexpr unsigned MB_YESNO = 0x4;
inline constexpr unsigned MB_TYPEMASK = 0xF;
inline constexpr unsigned MB_ICONHAND = 0x10;
inline constexpr unsigned MB_ICONERROR = MB_ICONHAND;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x30;
inline constexpr unsigned MB_ICONWARNING = MB_ICONEXCLAMATION;
inline constexpr unsigned MB_ICONASTERISK = 0x40;
inline constexpr unsigned MB_ICONINFORMATION = MB_ICONASTERISK;
inline constexpr unsigned MB_ICONMASK = 0xF0;
inline constexpr unsigned MB_DEFBUTTON1 = 0x000;
inline constexpr unsigned MB_DEFBUTTON2 = 0x100;
inline constexpr unsigned MB_DEFBUTTON3 = 0x200;
inline constexpr unsigned MB_DEFMASK = 0xF00;
inline constexpr unsigned MB_APPLMODAL = 0x0;
inline constexpr unsigned MB_SETFOREGROUND = 0x10000;
inline constexpr unsigned MB_TOPMOST = 0x40000;

// Menu flags.
inline constexpr unsigned MF_STRING = 0x0;
inline constexpr unsigned MF_ENABLED = 0x0;
inline constexpr unsigned MF_UNCHECKED = 0x0;
inline constexpr unsigned MF_BYCOMMAND = 0x0;
inline constexpr unsigned MF_GRAYED = 0x1;
inline constexpr unsigned MF_DISABLED = 0x2;
inline constexpr unsigned MF_CHECKED = 0x8;
inline constexpr unsigned MF_POPUP = 0x10;
inline constexpr unsigned MF_BYPOSITION = 0x400;
inline constexpr unsigned MF_SEPARATOR = 0x800;

// TrackPopupMenu flags.
inline constexpr unsigned TPM_LEFTALIGN = 0x0;
inline constexpr unsigned TPM_CENTERALIGN = 0x4;
inline constexpr unsigned TPM_RIGHTALIGN = 0x8;
inline constexpr unsigned TPM_TOPALIGN = 0x0;
inline constexpr unsigned TPM_VCENTERALIGN = 0x10;
inline constexpr unsigned TPM_BOTTOMALIGN = 0x20;
inline constexpr unsigned TPM_NONOTIFY = 0x80;
inline constexpr unsigned TPM_RETURNCMD = 0x100;

// Notification codes that controls send to their parent in WM_COMMAND.
inline constexpr int BN_CLICKED = 0;
inline constexpr int LBN_SELCHANGE = 1;
inline constexpr int LBN_DBLCLK = 2;
inline constexpr int CBN_SELCHANGE = 1;
inline constexpr int CBN_EDITCHANGE = 5;
inline constexpr int CBN_DROPDOWN = 7;
inline constexpr int CBN_CLOSEUP = 8;
inline constexpr int EN_CHANGE = 0x0300;
inline constexpr int STN_CLICKED = 0;

// Slider (trackbar) codes in WM_HSCROLL.
inline constexpr int TB_LINEUP = 0;
inline constexpr int TB_LINEDOWN = 1;
inline constexpr int TB_PAGEUP = 2;
inline constexpr int TB_PAGEDOWN = 3;
inline constexpr int TB_THUMBPOSITION = 4;
inline constexpr int TB_THUMBTRACK = 5;
inline constexpr int TB_TOP = 6;
inline constexpr int TB_BOTTOM = 7;
inline constexpr int TB_ENDTRACK = 8;

// WM_NOTIFY codes of the tree and list views.
inline constexpr int NM_CLICK = -2;
inline constexpr int NM_DBLCLK = -3;
inline constexpr int TVN_SELCHANGED = -402;
inline constexpr int TVN_ITEMEXPANDED = -406;
inline constexpr int TVN_CHECKCHANGED = -490; // a check box of an item was toggled (NotifyHeader::item)
inline constexpr int LVN_ITEMCHANGED = -101;

// Packing helpers.
constexpr std::uint16_t LOWORD(std::uintptr_t value) { return std::uint16_t(value & 0xFFFF); }
constexpr std::uint16_t HIWORD(std::uintptr_t value) { return std::uint16_t((value >> 16) & 0xFFFF); }
constexpr WParam MAKEWPARAM(unsigned low, unsigned high) { return WParam((low & 0xFFFF) | ((high & 0xFFFF) << 16)); }
constexpr LParam MAKELPARAM(int low, int high)
{
    return LParam(std::int32_t(std::uint32_t(low & 0xFFFF) | (std::uint32_t(high & 0xFFFF) << 16)));
}
// The signed coordinates of a packed point.
constexpr int GET_X_LPARAM(LParam value) { return std::int16_t(std::uint16_t(value & 0xFFFF)); }
constexpr int GET_Y_LPARAM(LParam value) { return std::int16_t(std::uint16_t((value >> 16) & 0xFFFF)); }

} // namespace ui
