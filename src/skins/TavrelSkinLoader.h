#pragma once
// CTavrelSkinLoader: applies a skin file ("*.TavrelSkin") to the current calendar. A skin names,
// relative to its own folder, a background picture with a fade level, a day bar and a month
// title for each month:
//
//   [Skin]            Name=...            required section; the name is for people only
//   [Backgrounds]     Default=, 01=..12=  required; "picture[,fade level]", fade 50 without one
//   [DayBar]          Default=, 01=..12=  optional
//   [Month Titles]    01=..12=            optional; no default
//
// Applying copies the picture paths and fade levels into the appearance of the current calendar
// through the application's setters (the settings for "<Personal>", "<Combined>" and registered
// calendars); nothing of the skin file is kept. A month or picture the skin does not name keeps
// what it had. A picture that does not exist is reported ("File not found: PATH") and skipped,
// and the rest is still applied.
//
// Messages go to a handler, so the caller decides where the user hears of them; the default is a
// message box captioned "Tavrel" with an OK button. The missing "[Skin]" section is only reported
// while the program has its main window: the default skin is applied on the first start before
// the frame exists, and then that failure is silent.
//
// The calendar view calls LoadSkin (and, once at its creation, LoadDefaultSkinOnFirstRun) and
// reloads its appearance after a success.

#include "common/QoString.h"

#include <functional>

class CTavrelCalendarAppearance;
class CTavrelSkinTarget;
class CIniSection;

class CTavrelSkinLoader {
public:
    using MessageHandler = std::function<void(const CQoString& text)>;

    static constexpr const char16_t* DefaultSkinPath = u"\\My Documents\\CalendarSkinDefault\\Default.TavrelSkin";
    static constexpr const char16_t* MessageCaption = u"Tavrel";
    static constexpr const char16_t* SkinSectionMissing = u"Invalid Skin File.  [Skin] section not found";
    static constexpr const char16_t* BackgroundsSectionMissing = u"Invalid Skin File.  [Backgrounds] section not found";
    static constexpr const char16_t* FileNotFoundFormat = u"File not found: %s";
    // The fade level of a background entry that gives none.
    static constexpr int DefaultFadeLevel = 50;

    // Applies the skin file of that device path. False, with nothing changed, when the file has no
    // "[Skin]" or no "[Backgrounds]" section (a missing or unreadable file has none). An empty
    // handler shows message boxes.
    static bool LoadSkin(CTavrelSkinTarget& target, const char16_t* path, const MessageHandler& messages = {});

    // On the program's first start ("Initialized" non-zero): clears "Initialized" first, so the
    // default skin is tried once only, and applies DefaultSkinPath. True when a skin was applied.
    static bool LoadDefaultSkinOnFirstRun(CTavrelSkinTarget& target, const MessageHandler& messages = {});

    // The default handler: a message box with the text, caption "Tavrel" and an OK button.
    static void ShowMessageBox(const CQoString& text);

    // The fade level written after a background entry's comma: an optional sign and decimal
    // digits after leading blanks, up to the first other character; 0 when there are no digits.
    // Values beyond the int range stop at its ends (the settings refuse anything outside 0..100).
    static int ParseFadeLevel(const CQoString& text);

private:
    static void ApplyBackgrounds(CTavrelCalendarAppearance& appearance, const CIniSection& section,
                                 const CQoString& folder, const MessageHandler& messages);
    static void ApplyPictures(CTavrelCalendarAppearance& appearance, const CIniSection& section, bool hasDefault,
                              const CQoString& folder, bool (CTavrelCalendarAppearance::*setter)(int, const CQoString&),
                              const MessageHandler& messages);
    // True when the picture path names an existing file or folder; otherwise says so.
    static bool PictureExists(const CQoString& path, const MessageHandler& messages);
    static CQoString MonthKey(int month);
};
