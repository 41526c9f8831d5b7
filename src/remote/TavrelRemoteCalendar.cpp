#include "remote/TavrelRemoteCalendar.h"

#include "remote/TavrelRemoteHost.h"
#include "remote/XmlDocument.h"

#include "platform/device/DateConversion.h"
#include "platform/device/OleDateTime.h"
// For the logging switch snapshot only; it moves below this folder with the settings store.
#include "common/QoLog.h"

#include <climits>
#include <cstdint>
#include <string>
#include <unordered_map>

namespace {

bool isBlank(char16_t c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

// The digits after optional blanks and a sign, up to the first other character; 0 without any,
// the nearest end of the range when there are too many.
std::int64_t readDigits(device::WideView text, std::int64_t limit, bool& negative)
{
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i] - u'0');
        if (value > limit)
            value = limit;
    }
    return value;
}

// An unsigned decimal as the device's runtime reads one into 32 bits: a minus sign wraps round.
unsigned readUnsigned(const CQoString& text)
{
    bool negative = false;
    const std::int64_t value = readDigits(text.View(), 0xFFFFFFFF, negative);
    return negative ? unsigned(0u - std::uint32_t(value)) : unsigned(value);
}

int readInteger(device::WideView text)
{
    bool negative = false;
    const std::int64_t value = readDigits(text, std::int64_t(INT_MAX) + 1, negative);
    if (negative)
        return int(-value);
    return value > INT_MAX ? INT_MAX : int(value);
}

CQoString fileNameOf(const CQoString& path)
{
    const int slash = path.ReverseFind(u"\\");
    return slash < 0 ? path : path.Mid(slash + 1);
}

// The date of `date` at the time of day of `time`; invalid unless both are valid.
device::OleDateTime atTimeOfDay(const device::OleDateTime& date, const device::OleDateTime& time)
{
    device::SystemTime day, clock;
    device::OleDateTime result;
    if (!date.GetAsSystemTime(day) || !time.GetAsSystemTime(clock)
        || !result.SetDateTime(day.year, day.month, day.day, clock.hour, clock.minute, clock.second))
        result.SetStatus(device::DateTimeStatus::Invalid);
    return result;
}

device::OleDateTime parsed(device::WideView text, std::uint32_t flags)
{
    device::OleDateTime value;
    value.ParseDateTime(text, flags);
    return value;
}

// Makes picture names absolute and resolves each address once per load: a calendar names the
// same few icons for thousands of events. A name without ":" is relative: the location up to its
// last "/" (or, without one, its last "\") goes in front of it.
class PictureResolver {
public:
    PictureResolver(const CQoString& location, const CTavrelRemoteLoadOptions& options) : m_options(options)
    {
        int end = location.ReverseFind(u"/");
        if (end < 0)
            end = location.ReverseFind(u"\\");
        m_base = location.View().substr(0, std::size_t(end + 1));
    }

    const CCachedFile& Resolve(device::WideView name)
    {
        m_address.clear();
        if (name.find(u':') == device::WideView::npos)
            m_address = m_base;
        m_address += name;
        auto found = m_resolved.find(m_address);
        if (found == m_resolved.end()) {
            found = m_resolved.emplace(m_address, CCachedFile()).first;
            if (m_options.fetch)
                found->second.Resolve(m_address.c_str());
            else
                found->second.ResolveCached(m_address.c_str(), m_options.fallbackFolder);
        }
        return found->second;
    }

private:
    const CTavrelRemoteLoadOptions& m_options;
    device::WideView m_base;
    device::WideString m_address;
    std::unordered_map<device::WideString, CCachedFile> m_resolved;
};

std::uint32_t lowByteSum(device::WideView text)
{
    std::uint32_t sum = 0;
    for (char16_t c : text)
        sum += c & 0xFF;
    return sum;
}

// The document text, written line by line.
class DocumentWriter {
public:
    void Line(const char16_t* open, const CQoString& value, const char16_t* close)
    {
        m_text += open;
        m_text += value.View();
        m_text += close;
    }
    void Line(const char16_t* text) { m_text += text; }
    template <typename... Args>
    void Format(const char16_t* format, const Args&... args)
    {
        CQoString line;
        line.Format(format, args...);
        m_text += line.View();
    }
    CQoString Take() const { return CQoString(m_text.c_str()); }

private:
    device::WideString m_text;
};

} // namespace

CTavrelRemoteCalendar::CTavrelRemoteCalendar()
{
    CTavrelRemoteCalendar::Reset();
}

CTavrelRemoteCalendar::CTavrelRemoteCalendar(const CTavrelRemoteCalendar& other) = default;

CTavrelRemoteCalendar& CTavrelRemoteCalendar::operator=(const CTavrelRemoteCalendar& other) = default;

CTavrelRemoteCalendar::~CTavrelRemoteCalendar() = default;

bool CTavrelRemoteCalendar::IsSameAs(const CTavrelCalendar& other) const
{
    const auto* remote = dynamic_cast<const CTavrelRemoteCalendar*>(&other);
    return remote && CTavrelCalendar::IsSameAs(other) && m_location.View() == remote->m_location.View();
}

CQoString CTavrelRemoteCalendar::GetTypeName() const
{
    return u"Remote";
}

void CTavrelRemoteCalendar::Reset()
{
    for (MonthPictures& month : m_months)
        month = MonthPictures();
    ResetCommon();
    m_location = CQoString();
    m_documentText = CQoString();
    m_builtInIcon = CQoString();
    m_version = 0;
    m_checksum = 0;
}

std::unique_ptr<CTavrelCalendar> CTavrelRemoteCalendar::Clone() const
{
    return std::make_unique<CTavrelRemoteCalendar>(*this);
}

CQoString CTavrelRemoteCalendar::Picture(int month, CCachedFile MonthPictures::*slot) const
{
    return IsValidMonth(month) ? (m_months[month - 1].*slot).GetLocalFile() : CQoString();
}

bool CTavrelRemoteCalendar::SetPicture(int month, CCachedFile MonthPictures::*slot, const CQoString& address)
{
    if (!IsValidMonth(month))
        return false;
    CCachedFile picture;
    picture.Resolve(address);
    m_months[month - 1].*slot = picture;
    return true;
}

CQoString CTavrelRemoteCalendar::GetDayBarImage(int month) const
{
    return Picture(month, &MonthPictures::dayBar);
}

CQoString CTavrelRemoteCalendar::GetMonthTitleImage(int month) const
{
    return Picture(month, &MonthPictures::monthTitle);
}

CQoString CTavrelRemoteCalendar::GetBackgroundImage(int month) const
{
    return Picture(month, &MonthPictures::background);
}

bool CTavrelRemoteCalendar::SetBackgroundImage(int month, const CQoString& address)
{
    return SetPicture(month, &MonthPictures::background, address);
}

bool CTavrelRemoteCalendar::SetMonthTitleImage(int month, const CQoString& address)
{
    return SetPicture(month, &MonthPictures::monthTitle, address);
}

bool CTavrelRemoteCalendar::SetDayBarImage(int month, const CQoString& address)
{
    return SetPicture(month, &MonthPictures::dayBar, address);
}

bool CTavrelRemoteCalendar::Load(const CQoString& location, const CXmlDocument& document,
                                 const CTavrelRemoteLoadOptions& options)
{
    CXmlNode* root = document.GetRoot();
    if (!root)
        return false;
    Reset();
    SetName(root->GetText(u"Name"));
    AssignCopyright(root->GetText(u"Copyright"));
    m_version = readUnsigned(root->GetText(u"Version"));
    m_checksum = readUnsigned(root->GetText(u"Checksum"));
    if (m_version > SupportedVersion) {
        CQoString message;
        message.Format(u"The remote calendar '%s' uses a calendar format that is newer than this version of Tavrel "
                       u"supports.  Please upgrade to the latest version of Tavrel at\r%s",
                       GetName().GetString(), ProductAddress);
        CTavrelRemoteHost::Current().ShowMessage(message);
        Reset();
        return false;
    }
    m_location = location;

    PictureResolver pictures(m_location, options);
    std::uint32_t sum = 0;
    for (int month = 1; month <= 12; ++month) {
        CQoString path;
        path.Format(u"Backgrounds.BG%02d", month);
        const CXmlNode* node = root->FindPath(path);
        if (!node)
            return false;
        const device::WideView image = node->GetChildTextView(u"Image");
        const device::WideView fade = node->GetChildTextView(u"Fade");
        const device::WideView monthTitle = node->GetChildTextView(u"MonthTitle");
        const device::WideView dayBar = node->GetChildTextView(u"DayBar");
        if (image.empty() || fade.empty() || monthTitle.empty() || dayBar.empty())
            return false;
        sum += lowByteSum(image);
        MonthPictures& slots = m_months[month - 1];
        slots.background = pictures.Resolve(image);
        slots.monthTitle = pictures.Resolve(monthTitle);
        slots.dayBar = pictures.Resolve(dayBar);
        SetTransparency(month, readInteger(fade));
    }

    // Every event added asks the logging switch; one registry read for the whole load instead of
    // one per event.
    const CQoLog::SwitchSnapshot logging;
    for (CXmlNode* events = root->GetFirstChild(); events; events = root->GetNextChild()) {
        if (!device::equalsNoCase(events->GetNameView(), u"Events"))
            continue;
        // New categories are shown; the flags the user chose are applied by whoever keeps them.
        CTavrelEvents& category = AddCategory(events->GetText(u"Name"), true);
        for (CXmlNode* item = events->GetFirstChild(); item; item = events->GetNextChild()) {
            if (!device::equalsNoCase(item->GetNameView(), u"Event"))
                continue;
            const CXmlNode* nameNode = item->FindChild(u"Name");
            const device::WideView name = nameNode ? nameNode->GetTextView() : device::WideView();
            const device::WideView date = item->GetChildTextView(u"Date");
            device::WideView startTime = item->GetChildTextView(u"StartTime");
            device::WideView endTime = item->GetChildTextView(u"EndTime");
            const device::WideView icon = item->GetChildTextView(u"Icon");
            if (startTime.empty() && endTime.empty())
                startTime = endTime = u"00:00:00";
            if (name.empty() || date.empty() || startTime.empty() || endTime.empty() || icon.empty())
                continue;
            sum += lowByteSum(name) << 16;
            const device::OleDateTime day = parsed(date, device::VAR_DATEVALUEONLY);
            const device::OleDateTime start = atTimeOfDay(day, parsed(startTime, device::VAR_TIMEVALUEONLY));
            const device::OleDateTime end = atTimeOfDay(day, parsed(endTime, device::VAR_TIMEVALUEONLY));
            const CQoString& iconFile = pictures.Resolve(icon).GetLocalFile();
            // Events whose dates the locale cannot read still count in the sum; AddEvent refuses them.
            category.AddEvent(CTavrelEvent(start, end, CQoString(), nameNode->GetText(), iconFile));
        }
    }
    return sum == m_checksum;
}

void CTavrelRemoteCalendar::StartWithBuiltInPictures(const CQoString& location)
{
    Reset();
    m_location = location;
    // Named beside the location as a document's relative names are, and not fetched: nothing is
    // there, and Load of the local copy finds the same nothing.
    const CTavrelRemoteLoadOptions offline{false, CQoString()};
    PictureResolver pictures(m_location, offline);
    const CCachedFile& none = pictures.Resolve(BuiltInPicture);
    for (MonthPictures& slots : m_months)
        slots = MonthPictures{none, none, none};
    m_builtInIcon = none.GetLocalFile();
}

CQoString CTavrelRemoteCalendar::Serialize()
{
    DocumentWriter out;
    std::uint32_t sum = 0;
    out.Line(u"<Tavrel>\n");
    out.Line(u"\t<Name>", GetName(), u"</Name>\n");
    out.Line(u"\t<Copyright>", GetCopyright(), u"</Copyright>\n");
    if (m_version < SupportedVersion)
        m_version = SupportedVersion;
    out.Format(u"\t<Version>%d</Version>\n\n", int(m_version));

    out.Line(u"\t<Backgrounds>\n");
    for (int month = 1; month <= 12; ++month) {
        const MonthPictures& slots = m_months[month - 1];
        const CQoString image = fileNameOf(slots.background.GetLocalFile());
        sum += lowByteSum(image.View());
        out.Format(u"\t\t<BG%02d>\n", month);
        out.Line(u"\t\t\t<Image>", image, u"</Image>\n");
        out.Format(u"\t\t\t<Fade>%d</Fade>\n", GetTransparency(month));
        out.Line(u"\t\t\t<MonthTitle>", fileNameOf(slots.monthTitle.GetLocalFile()), u"</MonthTitle>\n");
        out.Line(u"\t\t\t<Daybar>", fileNameOf(slots.dayBar.GetLocalFile()), u"</Daybar>\n");
        out.Format(u"\t\t</BG%02d>\n", month);
    }
    out.Line(u"\t</Backgrounds>\n\n");

    for (const CTavrelEvents& category : GetCategories()) {
        if (category.GetCount() == 0)
            continue;
        out.Line(u"\t<Events>\n");
        out.Line(u"\t\t<Name>", category.GetName(), u"</Name>\n");
        category.ForEach([&](const CTavrelEvent& event) {
            const CQoString icon = fileNameOf(event.GetIcon());
            // An event that Load would skip is not written: it would leave the checksum wrong.
            if (event.GetName().IsEmpty() || icon.IsEmpty())
                return;
            const device::OleDateTime& start = event.GetStart();
            const device::OleDateTime& end = event.GetEnd();
            sum += lowByteSum(event.GetName().View()) << 16;
            out.Line(u"\t\t<Event>\n");
            out.Line(u"\t\t\t<Name>", event.GetName(), u"</Name>\n");
            // Two-digit years read back as 1930-2029; a year outside keeps all its digits, so
            // that reading the text back gives the same day.
            const int year = start.GetYear();
            if (year >= 1930 && year <= 2029)
                out.Format(u"\t\t\t<Date>%02d/%02d/%02d</Date>\n", start.GetMonth(), start.GetDay(), year % 100);
            else
                out.Format(u"\t\t\t<Date>%02d/%02d/%04d</Date>\n", start.GetMonth(), start.GetDay(), year);
            out.Format(u"\t\t\t<StartTime>%02d:%02d</StartTime>\n", start.GetHour(), start.GetMinute());
            out.Format(u"\t\t\t<EndTime>%02d:%02d</EndTime>\n", end.GetHour(), end.GetMinute());
            out.Line(u"\t\t\t<Icon>", icon, u"</Icon>\n");
            out.Line(u"\t\t</Event>\n");
        });
        out.Line(u"\t</Events>\n\n");
    }
    out.Format(u"\t<CheckSum>%lu</CheckSum>\n", static_cast<unsigned long>(sum));
    out.Line(u"</Tavrel>\n");
    m_checksum = sum;
    m_documentText = out.Take();
    return m_documentText;
}
