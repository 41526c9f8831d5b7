#include "remote/XmlDocument.h"
#include "remote/XmlReader.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string text(const CQoString& value)
{
    return std::u16string(value.View());
}

struct Parsed {
    CXmlDocument document;
    bool ok = false;
    CXmlNode* root() const { return document.GetRoot(); }
};

std::unique_ptr<Parsed> parse(const char16_t* source)
{
    auto parsed = std::make_unique<Parsed>();
    parsed->ok = parsed->document.Parse(source);
    return parsed;
}

TEST(XmlDocumentTest, BuildsTheTreeWithNamesTextsAndOrder)
{
    auto parsed = parse(u"<Tavrel>\n\t<Name>Sports</Name>\n\t<Events>\n\t\t<Name>Soccer</Name>\n"
                        u"\t\t<Event><Name>Final</Name></Event>\n\t\t<Event><Name>Semi</Name></Event>\n"
                        u"\t</Events>\n</Tavrel>\n");
    ASSERT_TRUE(parsed->ok);
    CXmlNode* root = parsed->root();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(text(root->GetName()), u"Tavrel");
    EXPECT_EQ(root->GetParent(), nullptr);
    EXPECT_EQ(text(root->GetText()), u"");
    ASSERT_EQ(root->GetChildCount(), 2u);

    CXmlNode* events = root->FindChild(u"EVENTS");
    ASSERT_NE(events, nullptr);
    EXPECT_EQ(events->GetParent(), root);
    EXPECT_EQ(text(events->GetName()), u"Events");
    std::u16string names;
    for (CXmlNode* child = events->GetFirstChild(); child; child = events->GetNextChild())
        names += text(child->GetName()) + u":" + text(child->GetText(u"name")) + u";";
    EXPECT_EQ(names, u"Name:;Event:Final;Event:Semi;");
    // The cursor starts over.
    EXPECT_EQ(text(events->GetFirstChild()->GetText()), u"Soccer");

    EXPECT_EQ(text(root->GetText(u"Events.Event.Name")), u"Final");
    EXPECT_EQ(root->FindPath(u"Events.Event"), events->GetChild(1));
    EXPECT_EQ(root->FindPath(u"Events.Nothing.Name"), nullptr);
    EXPECT_EQ(text(root->GetText(u"Events.Nothing")), u"");
    EXPECT_EQ(text(parsed->document.GetErrorText()), u"No Error Information");
}

TEST(XmlDocumentTest, FailsOnlyWithoutATag)
{
    EXPECT_FALSE(parse(u"")->ok);
    EXPECT_FALSE(parse(u"just words")->ok);
    EXPECT_FALSE(parse(u"a < b")->ok);
    // Elements that cannot be matched still parse, with no root.
    auto unmatched = parse(u"<Tavrel><Name>x</Name>");
    EXPECT_TRUE(unmatched->ok);
    EXPECT_EQ(unmatched->root(), nullptr);
    auto stray = parse(u"x > y <b>");
    EXPECT_TRUE(stray->ok);
    EXPECT_EQ(stray->root(), nullptr);
}

TEST(XmlDocumentTest, DeclarationOrCommentFirstYieldsNoRoot)
{
    for (const char16_t* source : {u"<?xml version=\"1.0\"?>\n<Tavrel><Name>x</Name></Tavrel>",
                                   u"<!-- a calendar -->\n<Tavrel><Name>x</Name></Tavrel>",
                                   u"<!DOCTYPE Tavrel>\n<Tavrel><Name>x</Name></Tavrel>"}) {
        auto parsed = parse(source);
        EXPECT_TRUE(parsed->ok) << device::toUtf8(source);
        EXPECT_EQ(parsed->root(), nullptr) << device::toUtf8(source);
    }
}

TEST(XmlDocumentTest, OnlyTheOutermostElementMayCarryAttributes)
{
    auto outer = parse(u"<Tavrel version=\"2\" lang=en>\n<Name>x</Name></Tavrel>");
    ASSERT_NE(outer->root(), nullptr);
    EXPECT_EQ(text(outer->root()->GetName()), u"Tavrel");
    EXPECT_EQ(text(outer->root()->GetText(u"Name")), u"x");

    // A child with an attribute, a blank before ">" or as an empty-element tag fails its parent.
    for (const char16_t* source : {u"<Tavrel><Name id=\"1\">x</Name></Tavrel>", u"<Tavrel><Name >x</Name></Tavrel>",
                                   u"<Tavrel><Name/><Copyright>c</Copyright></Tavrel>"}) {
        auto parsed = parse(source);
        EXPECT_TRUE(parsed->ok);
        EXPECT_EQ(parsed->root(), nullptr) << device::toUtf8(source);
    }
}

TEST(XmlDocumentTest, FailingGrandchildDropsOnlyItsParent)
{
    // The first category holds an Event tag with an attribute: that category goes, the rest stays.
    auto parsed = parse(u"<Tavrel>\n"
                        u"<Events><Name>Lost</Name><Event kind=\"x\"><Name>n</Name></Event></Events>\n"
                        u"<Events><Name>Kept</Name><Event><Name>m</Name></Event></Events>\n"
                        u"</Tavrel>");
    ASSERT_NE(parsed->root(), nullptr);
    ASSERT_EQ(parsed->root()->GetChildCount(), 1u);
    EXPECT_EQ(text(parsed->root()->GetText(u"Events.Name")), u"Kept");
    EXPECT_EQ(text(parsed->root()->GetText(u"Events.Event.Name")), u"m");
}

TEST(XmlDocumentTest, ClosingTagsMatchIgnoringCaseAndInnerNamesAreNotCompared)
{
    auto parsed = parse(u"<Tavrel><Name>x</NAME><events><Name>e</name></EVENTS></tavrel>");
    ASSERT_NE(parsed->root(), nullptr);
    EXPECT_EQ(text(parsed->root()->GetText(u"Name")), u"x");
    EXPECT_EQ(text(parsed->root()->GetText(u"Events.Name")), u"e");

    // The outer element finds its closing tag past a wrong inner one, but the child cannot close.
    auto wrong = parse(u"<a><b>x</c></a>");
    EXPECT_EQ(wrong->root(), nullptr);
}

TEST(XmlDocumentTest, TextLosesLeadingBlanksAndTrailingControlCharacters)
{
    auto parsed = parse(u"<a>\n\t\tFoo \n\t</a>");
    ASSERT_NE(parsed->root(), nullptr);
    EXPECT_EQ(text(parsed->root()->GetText()), u"Foo ");

    // Text around children is joined; only its front is trimmed.
    auto mixed = parse(u"<a>\n  hello <b>x</b> world\t\n</a>");
    ASSERT_NE(mixed->root(), nullptr);
    EXPECT_EQ(text(mixed->root()->GetText()), u"hello  world");
    EXPECT_EQ(text(mixed->root()->GetText(u"b")), u"x");

    auto inner = parse(u"<a>x\t y\r\n</a>");
    EXPECT_EQ(text(inner->root()->GetText()), u"x\t y");
}

TEST(XmlDocumentTest, OutermostLevelKeepsTheLastElement)
{
    auto two = parse(u"<a>1</a>\n<b>2</b>\ntrailing words");
    ASSERT_NE(two->root(), nullptr);
    EXPECT_EQ(text(two->root()->GetName()), u"b");

    // A closing tag where an element should begin fails the whole level.
    auto closing = parse(u"<a>1</a>\n</b>");
    EXPECT_TRUE(closing->ok);
    EXPECT_EQ(closing->root(), nullptr);
}

TEST(XmlDocumentTest, TextEndsAtTheFirstZeroCharacter)
{
    CQoString source;
    const std::u16string raw(u"<a>1</a>\0<b>2</b>", 17);
    std::copy(raw.begin(), raw.end(), source.GetBuffer(unsigned(raw.size())));
    source.ReleaseBuffer(int(raw.size()));
    CXmlDocument document;
    ASSERT_TRUE(document.Parse(source));
    ASSERT_NE(document.GetRoot(), nullptr);
    EXPECT_EQ(text(document.GetRoot()->GetName()), u"a");
}

TEST(XmlDocumentTest, ReparsingReplacesTheTree)
{
    CXmlDocument document;
    ASSERT_TRUE(document.Parse(u"<a><b>1</b></a>"));
    ASSERT_NE(document.GetRoot(), nullptr);
    EXPECT_FALSE(document.Parse(u"no tags"));
    EXPECT_EQ(document.GetRoot(), nullptr);
    EXPECT_EQ(text(document.GetText()), u"no tags");
}

std::u16string nested(int depth)
{
    std::u16string source;
    for (int i = 0; i < depth; ++i)
        source += u"<n>";
    source += u"x";
    for (int i = 0; i < depth; ++i)
        source += u"</n>";
    return source;
}

TEST(XmlDocumentTest, NestingAndLengthAreBounded)
{
    CXmlDocument deepest;
    ASSERT_TRUE(deepest.Parse(nested(CXmlReader::MaxDepth).c_str()));
    const CXmlNode* node = deepest.GetRoot();
    int levels = 0;
    for (; node; node = node->GetChild(0))
        ++levels;
    EXPECT_EQ(levels, CXmlReader::MaxDepth);

    CXmlDocument tooDeep;
    EXPECT_FALSE(tooDeep.Parse(nested(CXmlReader::MaxDepth + 1).c_str()));
    EXPECT_EQ(tooDeep.GetRoot(), nullptr);
    EXPECT_NE(std::u16string(tooDeep.GetErrorText().View()).find(u"levels deep"), std::u16string::npos);

    // Far deeper than any stack would take in a reader that recursed without a bound.
    CXmlDocument abyss;
    EXPECT_FALSE(abyss.Parse(nested(200'000).c_str()));

    std::u16string huge = u"<a>";
    huge.append(CXmlDocument::MaxTextLength, u'x');
    huge += u"</a>";
    CXmlDocument tooLong;
    EXPECT_FALSE(tooLong.Parse(huge.c_str()));
    EXPECT_NE(std::u16string(tooLong.GetErrorText().View()).find(u"longer than"), std::u16string::npos);
}

} // namespace
