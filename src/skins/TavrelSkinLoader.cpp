#include "skins/TavrelSkinLoader.h"

#include "data/TavrelCalendarAppearance.h"
#include "data/TavrelSettings.h"
#include "platform/device/FileSystem.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Messages.h"
#include "skins/IniFile.h"
#include "skins/TavrelSkinTarget.h"

#include <climits>

namespace {

void Tell(const CTavrelSkinLoader::MessageHandler& messages, const CQoString& text)
{
    if (messages)
        messages(text);
    else
        CTavrelSkinLoader::ShowMessageBox(text);
}

// The folder of the skin file with its trailing backslash; empty for a bare file name.
CQoString SkinFolder(const CQoString& path)
{
    const int slash = path.ReverseFind(u"\\");
    return slash < 0 ? CQoString() : path.Left(slash + 1);
}

} // namespace

void CTavrelSkinLoader::ShowMessageBox(const CQoString& text)
{
    ui::messageBox(nullptr, text.View(), MessageCaption, ui::MB_OK);
}

bool CTavrelSkinLoader::LoadSkin(CTavrelSkinTarget& target, const char16_t* path, const MessageHandler& messages)
{
    const CQoString skinPath(path ? path : u"");
    const CIniFile file(skinPath.GetString());

    // "[Skin]" marks the file as a skin; its "Name" is for people choosing skins and is not used.
    if (!file.FindSection(u"Skin")) {
        if (target.GetMainWindow())
            Tell(messages, SkinSectionMissing);
        return false;
    }
    const CQoString folder = SkinFolder(skinPath);

    const CIniSection* backgrounds = file.FindSection(u"Backgrounds");
    if (!backgrounds) {
        Tell(messages, BackgroundsSectionMissing);
        return false;
    }
    CTavrelCalendarAppearance& appearance = target.GetAppearance();
    ApplyBackgrounds(appearance, *backgrounds, folder, messages);

    if (const CIniSection* dayBars = file.FindSection(u"DayBar"))
        ApplyPictures(appearance, *dayBars, true, folder, &CTavrelCalendarAppearance::SetDayBar, messages);
    if (const CIniSection* titles = file.FindSection(u"Month Titles"))
        ApplyPictures(appearance, *titles, false, folder, &CTavrelCalendarAppearance::SetMonthTitle, messages);
    return true;
}

bool CTavrelSkinLoader::LoadDefaultSkinOnFirstRun(CTavrelSkinTarget& target, const MessageHandler& messages)
{
    CTavrelSettings& settings = target.GetSettings();
    if (!settings.GetInitialized())
        return false;
    // Cleared before loading: a default skin that fails is not tried again on every start.
    settings.SetInitialized(false);
    return LoadSkin(target, DefaultSkinPath, messages);
}

void CTavrelSkinLoader::ApplyBackgrounds(CTavrelCalendarAppearance& appearance, const CIniSection& section,
                                         const CQoString& folder, const MessageHandler& messages)
{
    const CQoString fallback = section.GetValue(u"Default");
    for (int month = 1; month <= 12; ++month) {
        CQoString entry = section.GetValue(MonthKey(month).GetString());
        if (entry.IsEmpty())
            entry = fallback;
        if (entry.IsEmpty())
            continue;

        CQoString picture = entry;
        int level = DefaultFadeLevel;
        const int comma = entry.Find(u',');
        if (comma >= 0) {
            picture = entry.Left(comma);
            level = ParseFadeLevel(entry.Mid(comma + 1));
        }
        CQoString path = folder;
        path += picture.GetString();
        if (!PictureExists(path, messages))
            continue;
        appearance.SetBackground(month, path);
        appearance.SetTransparency(month, level);
    }
}

void CTavrelSkinLoader::ApplyPictures(CTavrelCalendarAppearance& appearance, const CIniSection& section,
                                      bool hasDefault, const CQoString& folder,
                                      bool (CTavrelCalendarAppearance::*setter)(int, const CQoString&),
                                      const MessageHandler& messages)
{
    const CQoString fallback = hasDefault ? section.GetValue(u"Default") : CQoString();
    for (int month = 1; month <= 12; ++month) {
        CQoString picture = section.GetValue(MonthKey(month).GetString());
        if (picture.IsEmpty())
            picture = fallback;
        if (picture.IsEmpty())
            continue;
        CQoString path = folder;
        path += picture.GetString();
        if (!PictureExists(path, messages))
            continue;
        (appearance.*setter)(month, path);
    }
}

bool CTavrelSkinLoader::PictureExists(const CQoString& path, const MessageHandler& messages)
{
    if (device::FileSystem::exists(path.View()))
        return true;
    CQoString text;
    text.Format(FileNotFoundFormat, path.GetString());
    Tell(messages, text);
    return false;
}

CQoString CTavrelSkinLoader::MonthKey(int month)
{
    CQoString key;
    key.Format(u"%02d", month);
    return key;
}

int CTavrelSkinLoader::ParseFadeLevel(const CQoString& text)
{
    const char16_t* c = text.GetString();
    while (*c == u' ')
        ++c;
    bool negative = false;
    if (*c == u'+' || *c == u'-') {
        negative = *c == u'-';
        ++c;
    }
    long long value = 0;
    for (; *c >= u'0' && *c <= u'9'; ++c) {
        if (value <= INT_MAX)
            value = value * 10 + (*c - u'0');
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return int(value);
}
