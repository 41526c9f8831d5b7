#include "control/TavrelControlLog.h"

#include "common/QoLog.h"
#include "platform/device/DebugOutput.h"
#include "shell/TavrelSettings.h"

void CTavrelControlLog::Write(const CQoString& line)
{
    device::debugOutput(line.View());
    if (CTavrelSettings::IsLoggingEnabled())
        CQoLog::GetLog().Trace(u"%s", line.GetString());
}
