#include "rules/TavrelDefaultRules.h"

#include "rules/TavrelRules.h"
#include "rules/TavrelSystemLanguage.h"

namespace {

struct DefaultRule {
    const char16_t* field;
    const char16_t* pattern;
    const char16_t* icon;
};

constexpr const char16_t* Subject = u"Subject";
constexpr const char16_t* Category = u"Category";
constexpr const char16_t* Recipients = u"# Recipients";
constexpr const char16_t* FootballPattern = u"*Football*";

// Evaluation order matters: the first rule that matches decides, so the holidays come before the
// everyday words ("Team meeting about birthday plans" is a birthday) and any appointment with
// recipients is a meeting before its subject is looked at. The football rule's icon depends on
// the language and is filled in by AddTo.
constexpr DefaultRule DefaultRules[] = {
    {Subject, u"*BIRTHDAY*", u"Icons\\Cake.gif"},
    {Subject, u"New Year*", u"Icons\\Party.gif"},
    {Subject, u"*Valentine*", u"Icons\\Heart.gif"},
    {Subject, u"*Ramadan*", u"Icons\\Moslem.gif"},
    {Subject, u"*Mardi Gras*", u"Icons\\Party.gif"},
    {Subject, u"*Martin Luther King Day*", u"Icons\\MLK.gif"},
    {Subject, u"*Purim*", u"Icons\\Jewish.gif"},
    {Subject, u"Good Friday*", u"Icons\\Christian.gif"},
    {Subject, u"Easter", u"Icons\\Egg.gif"},
    {Subject, u"Easter Sunday", u"Icons\\Christian.gif"},
    {Subject, u"*Passover*", u"Icons\\Jewish.gif"},
    {Subject, u"*Mother's Day*", u"Icons\\Mom.gif"},
    {Subject, u"*Father's Day*", u"Icons\\Dad.gif"},
    {Subject, u"*Shavuot*", u"Icons\\Jewish.gif"},
    {Subject, u"*Independence*", u"Icons\\Fireworks.gif"},
    {Subject, u"*Rosh Hashanah*", u"Icons\\Jewish.gif"},
    {Subject, u"*Yom Kippur*", u"Icons\\Jewish.gif"},
    {Subject, u"*Sukkoth*", u"Icons\\Jewish.gif"},
    {Subject, u"*Halloween*", u"Icons\\Pumpkin.gif"},
    {Subject, u"*Los Dias de los Muertos*", u"Icons\\Party.gif"},
    {Subject, u"*Thanksgiving*", u"Icons\\Turkey.gif"},
    {Subject, u"*Chanukah*", u"Icons\\Chanukah.gif"},
    {Subject, u"*Kwanzaa*", u"Icons\\Kwanzaa.gif"},
    {Subject, u"Christmas", u"Icons\\Christmas.gif"},
    {Recipients, u">0", u"Icons\\Handshake.gif"},
    {Subject, u"*Meet*", u"Icons\\Handshake.gif"},
    {Subject, u"*Mtg*", u"Icons\\Handshake.gif"},
    {Subject, u"*Call*", u"Icons\\Phone2.gif"},
    {Subject, u"*Doctor*", u"Icons\\Medical.gif"},
    {Subject, u"*Dr.*", u"Icons\\Medical.gif"},
    {Subject, u"*Dentist*", u"Icons\\Dentist.gif"},
    {Subject, u"*Dental*", u"Icons\\Dentist.gif"},
    {Subject, u"*Vacation*", u"Icons\\Plane.gif"},
    {Subject, u"*Flight*", u"Icons\\Plane.gif"},
    {Subject, u"*Plane*", u"Icons\\Plane.gif"},
    {Subject, u"*Trip*", u"Icons\\Plane.gif"},
    {Subject, u"*Drive*", u"Icons\\Van.gif"},
    {Subject, u"*Party*", u"Icons\\Party.gif"},
    {Subject, u"*Photo*", u"Icons\\Camera.gif"},
    {Subject, u"*Church*", u"Icons\\Church.gif"},
    {Subject, u"*Payday*", u"Icons\\Money.gif"},
    {Subject, u"*Pay Day*", u"Icons\\Money.gif"},
    {Subject, u"*Breakfast*", u"Icons\\Breakfast.gif"},
    {Subject, u"*Lunch*", u"Icons\\Hamburger.gif"},
    {Subject, u"*Dinner*", u"Icons\\Dinner.gif"},
    {Subject, u"*Dog*", u"Icons\\Dog.gif"},
    {Subject, u"*Pets*", u"Icons\\Dog.gif"},
    {Subject, u"*Soccer*", u"Icons\\Soccer.gif"},
    {Subject, u"*Golf*", u"Icons\\Golf.gif"},
    {Subject, u"*Basketball*", u"Icons\\Basketball.gif"},
    {Subject, u"*Glove*", u"Icons\\Glove.gif"},
    {Subject, FootballPattern, nullptr},
    {Category, u"Meeting", u"Icons\\Handshake.gif"},
    {Category, u"Call", u"Icons\\Phone2.gif"},
    {Category, u"ToDo", u"Icons\\Chkbox.gif"},
};

static_assert(sizeof DefaultRules / sizeof DefaultRules[0] == CTavrelDefaultRules::Count);

} // namespace

void CTavrelDefaultRules::AddTo(CTavrelRules& rules, device::WideView programPath, std::uint16_t languageId)
{
    const CQoString folder = GetProgramFolder(programPath);
    // Where the sublanguage is 1 (English (United States), but also German (Germany) and every
    // other first variant) "football" is taken to be the American game.
    const char16_t* footballIcon =
        CTavrelSystemLanguage::GetSubLanguage(languageId) == 1 ? u"Icons\\Football.gif" : u"Icons\\Soccer.gif";
    for (const DefaultRule& entry : DefaultRules) {
        const CQoString icon = JoinIconPath(folder.View(), entry.icon ? entry.icon : footballIcon);
        rules.AddTail(CTavrelRule(entry.field, entry.pattern, icon.GetString()));
    }
}

CQoString CTavrelDefaultRules::GetProgramFolder(device::WideView programPath)
{
    const std::size_t lastBackslash = programPath.rfind(u'\\');
    if (lastBackslash == device::WideView::npos)
        return CQoString(u"");
    return CQoString(device::WideString(programPath.substr(0, lastBackslash + 1)).c_str());
}

CQoString CTavrelDefaultRules::JoinIconPath(device::WideView folder, device::WideView relative)
{
    while (!relative.empty() && (relative.front() == u'\\' || relative.front() == u' '))
        relative.remove_prefix(1);
    device::WideString joined(folder);
    joined.append(relative);
    return CQoString(joined.c_str());
}
