#pragma once
// CTavrelRemoteCalendar: a calendar that somebody publishes as a document at an address — a name,
// a copyright line, twelve monthly backgrounds with fade levels, month titles and day bars, and
// named categories of events, protected by a checksum.
//
// Load fills it from a parsed document; Serialize writes it back in the same format, which is how
// the local copy of an attached calendar is kept. Every picture (and every event's icon) is a
// cached file: the name in the document, made absolute against the calendar's location (a name
// without ":" gets the location up to its last "/", or else its last "\", in front), and the
// local file that stands for it. The picture getters answer the local file.
//
// The document, as Load reads it (element names ignore case; the root's own name is not looked at):
//
//   <Tavrel>
//     <Name>, <Copyright>, <Version> (above SupportedVersion is refused), <CheckSum>
//     <Backgrounds> <BG01> … <BG12>, each with <Image>, <Fade>, <MonthTitle>, <Daybar> </Backgrounds>
//     <Events> <Name> and any number of <Event> with <Name>, <Date>, <StartTime>, <EndTime>, <Icon>
//   </Tavrel>
//
// The checksum is the sum, in 32 bits, of the low byte of every character of the twelve Image
// names plus 65536 times the low byte of every character of the names of the events taken.

#include "data/TavrelCalendar.h"
#include "remote/CachedFile.h"

class CXmlDocument;

// How Load finds the pictures and icons that a document names.
struct CTavrelRemoteLoadOptions {
    // Fetch every picture the cache holds no young copy of (attaching), or use only what the device
    // holds already, whatever its age (the local copy at start-up, which must not wait on a network).
    bool fetch = true;
    // Without fetching: where copies of the icons stand in for those the cache no longer holds
    // (the local copy's folder).
    CQoString fallbackFolder;
};

class CTavrelRemoteCalendar : public CTavrelCalendar {
public:
    static constexpr unsigned SupportedVersion = 2;
    // Where the newer-version message sends the user.
    static constexpr const char16_t* ProductAddress = u"http://www.tavrel.com";

    CTavrelRemoteCalendar();
    CTavrelRemoteCalendar(const CTavrelRemoteCalendar& other);
    CTavrelRemoteCalendar& operator=(const CTavrelRemoteCalendar& other);
    ~CTavrelRemoteCalendar() override;

    // Same name, kind, copyright line and location, each compared exactly.
    bool IsSameAs(const CTavrelCalendar& other) const override;
    CQoString GetTypeName() const override; // "Remote"
    // Its own backgrounds, month titles, day bars and fade levels, from its document.
    bool HasOwnAppearance() const override { return true; }
    // No pictures, categories or name; this year's copyright line, fade 50 in every month, no
    // location, document text, version or checksum.
    void Reset() override;
    CQoString GetDayBar(int month) const override { return GetDayBarImage(month); }
    CQoString GetMonthTitle(int month) const override { return GetMonthTitleImage(month); }
    CQoString GetBackground(int month) const override { return GetBackgroundImage(month); }
    bool SetBackground(int month, const CQoString& address) override { return SetBackgroundImage(month, address); }
    bool SetDayBar(int month, const CQoString& address) override { return SetDayBarImage(month, address); }
    bool SetMonthTitle(int month, const CQoString& address) override { return SetMonthTitleImage(month, address); }
    std::unique_ptr<CTavrelCalendar> Clone() const override;

    // The local file of the month's picture; empty for a month outside 1..12.
    virtual CQoString GetDayBarImage(int month) const;
    virtual CQoString GetMonthTitleImage(int month) const;
    virtual CQoString GetBackgroundImage(int month) const;
    // Resolve the address through the cache (default age) into the month's slot; false for a
    // month outside 1..12.
    virtual bool SetBackgroundImage(int month, const CQoString& address);
    virtual bool SetMonthTitleImage(int month, const CQoString& address);
    virtual bool SetDayBarImage(int month, const CQoString& address);

    // Fills the calendar from a parsed document read from `location`. False when the document has
    // no root, misses a month or one of its four fields, is of a newer version (the user is told,
    // and the calendar is emptied), or its checksum does not match what was read; the calendar is
    // then filled only partly and is to be thrown away.
    bool Load(const CQoString& location, const CXmlDocument& document,
              const CTavrelRemoteLoadOptions& options = CTavrelRemoteLoadOptions());
    // The document text of the calendar, also kept as its document text. A version below the
    // supported one is raised to it.
    CQoString Serialize();

    // A calendar read from a feed, which brings no pictures: it stands at `location`, and every
    // month's pictures, like the icon BuiltInIcon() answers, are named BuiltInPicture — a name no
    // file answers to, so the views draw their built-in pictures (and an event's clock face or
    // all-day icon). The names survive Serialize and Load, so the local copy keeps that look.
    void StartWithBuiltInPictures(const CQoString& location);
    // The icon file of an event to be drawn with the built-in icons; empty before
    // StartWithBuiltInPictures.
    const CQoString& BuiltInIcon() const { return m_builtInIcon; }
    static constexpr const char16_t* BuiltInPicture = u"BuiltIn.bmp";

    const CQoString& GetLocation() const { return m_location; }
    unsigned GetVersion() const { return m_version; }
    unsigned GetChecksum() const { return m_checksum; }
    const CQoString& GetDocumentText() const { return m_documentText; }

private:
    struct MonthPictures {
        CCachedFile background;
        CCachedFile monthTitle;
        CCachedFile dayBar;
    };

    CQoString Picture(int month, CCachedFile MonthPictures::*slot) const;
    bool SetPicture(int month, CCachedFile MonthPictures::*slot, const CQoString& address);

    unsigned m_version = 0;
    unsigned m_checksum = 0;
    CQoString m_location;
    CQoString m_documentText;
    CQoString m_builtInIcon;
    MonthPictures m_months[12];
};
