#include "reminder/TavrelDueReminder.h"

CQoString CTavrelDueReminder::WithoutSeconds(const CQoString& text)
{
    const int colon = text.ReverseFind(u":");
    if (colon < 0)
        return text;
    return text.Left(colon) + text.Mid(colon + 3);
}

CQoString CTavrelDueReminder::FirstLine() const
{
    CQoString line;
    if (!m_category.IsEmpty()) {
        line = m_category;
        line += u"  ";
    }
    // A start that is no date-time is shown as it is stored.
    if (m_start)
        line += WithoutSeconds(CQoString(m_start->Format().c_str()));
    else
        line += m_startText;
    return line;
}
