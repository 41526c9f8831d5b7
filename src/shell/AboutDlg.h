#pragma once
// CAboutDlg: the about box, dialog 100 "About Tavrel": the program's icon, the version line
// "Tavrel Version 3.41", the maker's notice and an OK button.

#include "platform/ui/Dialog.h"

class CAboutDlg : public ui::Dialog {
public:
    static constexpr int IconId = 1001;
    static constexpr int VersionId = 1002;
    static constexpr int NoticeId = 1003;
    static constexpr const char16_t* Caption = u"About Tavrel";
    static constexpr const char16_t* VersionText = u"Tavrel Version 3.41";
    static constexpr const char16_t* NoticeText =
        u"A calendar of your appointments, drawn over the skin of each month. Copyright (C) Orvix.";

    CAboutDlg();
};
