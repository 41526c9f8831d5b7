#pragma once
// One activity as a control application describes it in "AddActivity" and "UpdateActivity". The
// icon argument is not kept: activities get their icon from the icon rules when shown.

#include "common/QoString.h"
#include "platform/device/OleDateTime.h"

struct CTavrelActivity {
    CQoString id;
    CQoString category;
    CQoString name;
    device::OleDateTime start;
    device::OleDateTime end;
    bool changeable = false;
    bool extraFlag = false;
};
