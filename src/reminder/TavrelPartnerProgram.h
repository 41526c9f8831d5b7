#pragma once
// CTavrelPartnerProgram: the partner task program Varnow, whose activities the reminders belong to.
// Its folder is "InstallDir" of the local machine's key "Software\Apps\Brelle tools Varnow" (the
// key is created when missing); the program is "Varnow.EXE" there. It is started to open an
// activity ("/openactivity=ID") or to tell it, if it runs, that an activity's alarm was dismissed
// ("/ifrunning /dismissactivity=ID"). A partner that is not installed is simply not started.

#include "common/QoString.h"

class CTavrelPartnerProgram {
public:
    static constexpr const char16_t* InstallKey = u"Software\\Apps\\Brelle tools Varnow";
    static constexpr const char16_t* InstallDirValue = u"InstallDir";
    static constexpr const char16_t* ProgramName = u"Varnow.EXE";

    virtual ~CTavrelPartnerProgram() = default;

    bool OpenActivity(const CQoString& id);
    bool DismissActivity(const CQoString& id);

    // The partner program's device path.
    static CQoString ProgramPath();

private:
    static bool Start(const CQoString& parameters);
};
