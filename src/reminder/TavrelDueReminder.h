#pragma once
// CTavrelDueReminder: one reminder whose time has come, as the reminder dialog lists it — its
// identifier (the partner program's activity), title, category, start, end and the effective time
// at which it fell due — and the two lines of text the dialog draws for it.

#include "common/QoString.h"
#include "platform/device/OleDateTime.h"

#include <optional>

class CTavrelDueReminder {
public:
    CQoString m_id;
    CQoString m_title;
    CQoString m_category;
    // The stored texts, kept for showing them when they are no date-time.
    CQoString m_startText;
    CQoString m_endText;
    std::optional<device::OleDateTime> m_start;
    std::optional<device::OleDateTime> m_end;
    device::OleDateTime m_due;

    // The category and two blanks (none without a category), then the start without its seconds.
    CQoString FirstLine() const;
    // The title.
    CQoString SecondLine() const { return m_title; }

    // A date-time as the locale writes it, with the seconds cut out: from the last ":" up to two
    // characters after it ("12/8/2026 9:00:00 AM" becomes "12/8/2026 9:00 AM").
    static CQoString WithoutSeconds(const CQoString& text);
};
