// The tag reader against a word-for-word reading of its format's rules (which re-scans the text
// for every element and is therefore only fit for small inputs), on generated and mutated
// documents and on arbitrary text: both must build the same tree, and neither may crash or hang.

#include "remote/TavrelRemoteCalendar.h"
#include "remote/XmlDocument.h"
#include "remote/XmlReader.h"

#include "RemoteTestSupport.h"
#include "TempDevice.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using Text = std::u16string;
constexpr auto npos = Text::npos;

struct RefNode {
    Text name;
    Text text;
    std::vector<std::unique_ptr<RefNode>> children;
};

bool sameNoCase(const Text& a, const Text& b)
{
    return device::equalsNoCase(a, b);
}

void trimLeadingUpToBlank(Text& text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] <= 0x20)
        ++i;
    text.erase(0, i);
}

// The position of the closing tag of `name` in `text`, which starts at the element's own "<".
std::size_t refFindClosing(const Text& text, const Text& name)
{
    int open = 0;
    std::size_t lt = text.find(u'<');
    while (lt != npos) {
        const std::size_t gt = text.find(u'>', lt + 1);
        if (gt == npos)
            return npos;
        const Text tag = text.substr(lt + 1, gt - lt - 1);
        if (!tag.empty() && tag[0] == u'/') {
            if (open >= 2)
                --open;
            else
                return sameNoCase(tag, u"/" + name) ? lt : npos;
        } else {
            ++open;
        }
        lt = text.find(u'<', gt + 1);
    }
    return npos;
}

std::unique_ptr<RefNode> refParseElements(Text text)
{
    std::unique_ptr<RefNode> last;
    while (!text.empty()) {
        const std::size_t lt = text.find(u'<');
        if (lt == npos)
            break;
        const std::size_t gt = text.find(u'>', lt + 1);
        if (gt == npos)
            break;
        const std::size_t space = text.find(u' ', lt);
        const Text name = space != npos && space < gt ? text.substr(lt + 1, space - lt - 1)
                                                      : text.substr(lt + 1, gt - lt - 1);
        if (text[lt + 1] == u'/')
            return nullptr;
        std::size_t close = refFindClosing(text.substr(lt), name);
        if (close == npos)
            return nullptr;
        close += lt;
        Text content = text.substr(gt + 1, close - gt - 1);
        trimLeadingUpToBlank(content);
        auto node = std::make_unique<RefNode>();
        node->name = name;
        for (;;) {
            const std::size_t childLt = content.find(u'<');
            if (childLt == npos)
                break;
            const std::size_t childGt = content.find(u'>', childLt + 1);
            if (childGt == npos)
                break;
            const Text childTag = content.substr(childLt + 1, childGt - childLt - 1);
            std::size_t childClose = refFindClosing(content.substr(childLt), childTag);
            if (childClose == npos)
                return nullptr;
            childClose += childLt;
            const std::size_t childEnd = content.find(u'>', childClose) + 1;
            if (auto child = refParseElements(content.substr(childLt, childEnd - childLt)))
                node->children.push_back(std::move(child));
            content.erase(childLt, childEnd - childLt);
            trimLeadingUpToBlank(content);
        }
        std::size_t lead = 0;
        while (lead < content.size() && (content[lead] == u'\n' || content[lead] == u'\r' || content[lead] == u' '))
            ++lead;
        content.erase(0, lead);
        lead = 0;
        while (lead < content.size() && content[lead] < 0x20)
            ++lead;
        content.erase(0, lead);
        while (!content.empty() && content.back() < 0x20)
            content.pop_back();
        node->text = content;
        last = std::move(node);
        text = text.substr(text.find(u'>', close) + 1);
    }
    return last;
}

// Parse's result and root, as the rules give them.
bool refParse(const Text& text, std::unique_ptr<RefNode>& root)
{
    const std::size_t first = text.find(u'<');
    if (first == npos || text.find(u'>', first + 1) == npos)
        return false;
    root = refParseElements(text.substr(first));
    return true;
}

int depthOf(const RefNode* node)
{
    int deepest = 0;
    for (const auto& child : node->children)
        deepest = std::max(deepest, depthOf(child.get()));
    return deepest + 1;
}

// Describes the first difference between the trees; empty when they are the same.
std::string difference(const RefNode* expected, const CXmlNode* actual, const std::string& where)
{
    if (!expected || !actual)
        return expected == nullptr && actual == nullptr ? "" : where + ": one tree has no node";
    if (expected->name != Text(actual->GetName().View()))
        return where + ": name";
    if (expected->text != Text(actual->GetText().View()))
        return where + ": text '" + device::toUtf8(expected->text) + "' != '" + device::toUtf8(actual->GetText().View())
            + "'";
    if (expected->children.size() != actual->GetChildCount())
        return where + ": child count";
    for (std::size_t i = 0; i < expected->children.size(); ++i) {
        const std::string found
            = difference(expected->children[i].get(), actual->GetChild(i), where + "/" + std::to_string(i));
        if (!found.empty())
            return found;
    }
    return "";
}

// Documents that come close to valid ones, with the mistakes real documents make.
class DocumentMaker {
public:
    explicit DocumentMaker(std::uint32_t seed) : m_random(seed) {}

    Text Make()
    {
        Text text;
        if (Chance(10))
            text += Pick({u"<?xml version=\"1.0\"?>", u"<!-- note -->", u"junk ", u"\n"});
        const int roots = Chance(85) ? 1 : 2;
        for (int i = 0; i < roots; ++i)
            Element(text, 0);
        if (Chance(10))
            text += Pick({u"</x>", u"<y>", u"tail", u"\n"});
        return Mutate(text);
    }

private:
    bool Chance(int percent) { return int(m_random() % 100) < percent; }
    const char16_t* Pick(std::initializer_list<const char16_t*> choices)
    {
        return choices.begin()[m_random() % choices.size()];
    }

    Text Name()
    {
        Text name = Pick({u"Tavrel", u"Name", u"Event", u"Events", u"BG01", u"a", u"b", u"Image", u""});
        if (Chance(15)) {
            for (char16_t& c : name)
                c = device::foldUpper(c);
        }
        return name;
    }

    void Words(Text& text)
    {
        const int count = int(m_random() % 4);
        for (int i = 0; i < count; ++i)
            text += Pick({u"Foo", u" ", u"\n", u"\t", u"\r\n", u"bar baz", u"\x01", u"12/25/26", u"a > b", u"10:30"});
    }

    void Element(Text& text, int depth)
    {
        const Text name = Name();
        text += u"<" + name;
        if (Chance(8))
            text += Pick({u" id=\"1\"", u" ", u"/", u" a b"});
        text += u">";
        Words(text);
        if (depth < 6) {
            const int children = Chance(60) ? int(m_random() % 4) : 0;
            for (int i = 0; i < children; ++i) {
                Element(text, depth + 1);
                Words(text);
            }
        }
        if (Chance(92))
            text += u"</" + (Chance(90) ? name : Name()) + u">";
        Words(text);
    }

    Text Mutate(Text text)
    {
        const int mutations = Chance(50) ? 0 : int(m_random() % 4);
        for (int i = 0; i < mutations && !text.empty(); ++i) {
            const std::size_t at = m_random() % text.size();
            switch (m_random() % 4) {
            case 0:
                text.erase(at, 1 + m_random() % 3);
                break;
            case 1:
                text.insert(at, Pick({u"<", u">", u"/", u" ", u"</", u"<a>", u"\n"}));
                break;
            case 2:
                text.insert(at, text.substr(at, m_random() % 12));
                break;
            default:
                text[at] = Pick({u"<", u">", u"/", u" ", u"x"})[0];
                break;
            }
        }
        return text;
    }

    std::mt19937 m_random;
};

void expectSameAsRules(const Text& source)
{
    std::unique_ptr<RefNode> expectedRoot;
    const bool expected = refParse(source, expectedRoot);
    if (expectedRoot && depthOf(expectedRoot.get()) > CXmlReader::MaxDepth)
        return; // refused by the bound, which the rules do not know
    CXmlDocument document;
    const bool parsed = document.Parse(CQoString(source.c_str()));
    ASSERT_EQ(parsed, expected) << device::toUtf8(source);
    const std::string found = difference(expectedRoot.get(), document.GetRoot(), "root");
    ASSERT_TRUE(found.empty()) << found << "\nin: " << device::toUtf8(source);
}

constexpr auto TimeBudget = std::chrono::seconds(8);

TEST(XmlDocumentFuzzTest, GeneratedDocumentsReadAsTheRulesSay)
{
    const auto deadline = std::chrono::steady_clock::now() + TimeBudget;
    DocumentMaker maker(20261208);
    int rounds = 0;
    for (; rounds < 20'000 && std::chrono::steady_clock::now() < deadline; ++rounds) {
        expectSameAsRules(maker.Make());
        if (testing::Test::HasFatalFailure())
            return;
    }
    EXPECT_GT(rounds, 500);
}

TEST(XmlDocumentFuzzTest, ArbitraryTextReadsAsTheRulesSay)
{
    const auto deadline = std::chrono::steady_clock::now() + TimeBudget;
    std::mt19937 random(7);
    // Mostly the characters that matter to the reader, now and then any code unit but zero.
    const Text alphabet = u"<<<>>>//  \n\tabAB";
    int rounds = 0;
    for (; rounds < 20'000 && std::chrono::steady_clock::now() < deadline; ++rounds) {
        Text source(random() % 200, u'x');
        for (char16_t& c : source)
            c = random() % 10 == 0 ? char16_t(1 + random() % 0xFFFF) : alphabet[random() % alphabet.size()];
        expectSameAsRules(source);
        if (testing::Test::HasFatalFailure())
            return;
    }
    EXPECT_GT(rounds, 500);
}

// Calendar documents with every kind of damage load or fail, but never crash or hang.
TEST(XmlDocumentFuzzTest, DamagedCalendarsLoadOrFailCleanly)
{
    testing_support::TempDevice device;
    remote_test::RecordingHost host;
    Text calendar = u"<Tavrel>\n<Name>Sports</Name><Copyright>c</Copyright><Version>2</Version><Backgrounds>";
    for (int month = 1; month <= 12; ++month) {
        const Text tag = u"BG" + Text(month < 10 ? u"0" : u"") + device::fromUtf8(std::to_string(month));
        calendar += u"<" + tag + u"><Image>bg.gif</Image><Fade>40</Fade><MonthTitle>t.gif</MonthTitle>"
                    u"<DayBar>d.gif</DayBar></" + tag + u">";
    }
    calendar += u"</Backgrounds><Events><Name>Soccer</Name>";
    for (int i = 0; i < 20; ++i)
        calendar += u"<Event><Name>Match</Name><Date>12/" + device::fromUtf8(std::to_string(1 + i)) + u"/26</Date>"
                    u"<StartTime>10:00</StartTime><EndTime>11:30</EndTime><Icon>ball.gif</Icon></Event>";
    calendar += u"</Events><CheckSum>1</CheckSum></Tavrel>";

    const auto deadline = std::chrono::steady_clock::now() + TimeBudget;
    std::mt19937 random(42);
    const Text noise = u"<>/ 0123456789:-+\n\t.%\\abcXYZ";
    int rounds = 0;
    for (; rounds < 3'000 && std::chrono::steady_clock::now() < deadline; ++rounds) {
        Text damaged = calendar;
        const int changes = 1 + int(random() % 8);
        for (int i = 0; i < changes; ++i) {
            const std::size_t at = random() % damaged.size();
            if (random() % 2)
                damaged[at] = noise[random() % noise.size()];
            else
                damaged.erase(at, random() % 6);
        }
        CXmlDocument document;
        document.Parse(CQoString(damaged.c_str()));
        CTavrelRemoteCalendar loaded;
        loaded.Load(u"\\My Documents\\Sports.xml", document);
        loaded.Serialize();
    }
    EXPECT_GT(rounds, 100);
}

} // namespace

