#include "reminder/TavrelPartnerProgram.h"

#include "common/QoRegistry.h"
#include "platform/device/ShellExecute.h"

CQoString CTavrelPartnerProgram::ProgramPath()
{
    CQoRegistry key(HKEY_LOCAL_MACHINE, InstallKey, true);
    CQoString path = key.GetString(InstallDirValue, nullptr);
    path += u"\\";
    path += ProgramName;
    return path;
}

bool CTavrelPartnerProgram::Start(const CQoString& parameters)
{
    return device::ShellExecute::open(ProgramPath().View(), parameters.View());
}

bool CTavrelPartnerProgram::OpenActivity(const CQoString& id)
{
    CQoString parameters;
    parameters.Format(u"/openactivity=%s", id.GetString());
    return Start(parameters);
}

bool CTavrelPartnerProgram::DismissActivity(const CQoString& id)
{
    CQoString parameters;
    parameters.Format(u"/ifrunning /dismissactivity=%s", id.GetString());
    return Start(parameters);
}
