// What a host directory document says (redirect, message, links), and how document bytes become text.

#include "remote/TavrelHostDirectory.h"
#include "remote/TavrelDocumentText.h"
#include "remote/XmlDocument.h"

#include "RemoteTestSupport.h"

#include <gtest/gtest.h>

namespace {

using Kind = CTavrelHostDirectory::Kind;
using remote_test::utf8;

struct Read {
    Kind kind;
    std::string text;
    std::vector<std::string> links;
};

Read directory(const char16_t* text)
{
    CXmlDocument document;
    document.Parse(text);
    const CTavrelHostDirectory directory(document);
    Read read{directory.GetKind(), utf8(directory.GetText()), {}};
    for (const CTavrelHostDirectory::Link& link : directory.GetLinks())
        read.links.push_back(utf8(link.name) + "=" + utf8(link.address));
    return read;
}

TEST(TavrelHostDirectoryTest, RedirectAndMessageUnderAnXmlRootOrAsTheRoot)
{
    Read read = directory(
        u"<XML><Message>Down for maintenance</Message><Redirect>http://b.example/Tavrel.xml</Redirect></XML>");
    // Under "XML" the redirect wins over the message, whatever their order.
    EXPECT_EQ(read.kind, Kind::Redirect);
    EXPECT_EQ(read.text, "http://b.example/Tavrel.xml");

    read = directory(u"<xml><message>Down for maintenance</message></xml>");
    EXPECT_EQ(read.kind, Kind::Message);
    EXPECT_EQ(read.text, "Down for maintenance");

    read = directory(u"<Redirect>http://c.example/x.xml</Redirect>");
    EXPECT_EQ(read.kind, Kind::Redirect);
    EXPECT_EQ(read.text, "http://c.example/x.xml");

    // An "XML" root with neither child is a list like any other root.
    read = directory(u"<XML><LINK><Name>A</Name><URL>http://a.example/a.xml</URL></LINK></XML>");
    EXPECT_EQ(read.kind, Kind::Links);
    EXPECT_EQ(read.links, std::vector<std::string>{"A=http://a.example/a.xml"});
}

TEST(TavrelHostDirectoryTest, LinksNeedANameAndAnAddress)
{
    const Read read = directory(u"<Tavrel>"
                                u"<LINK><Name>Jazz</Name><URL>http://m.example/jazz</URL></LINK>"
                                u"<LINK><Name>Rock</Name></LINK>"
                                u"<Other><Name>X</Name><URL>http://x.example/</URL></Other>"
                                u"<link><name>Blues</name><url>http://m.example/Blues.xml</url></link>"
                                u"<LINK><Name></Name><URL>http://m.example/none</URL></LINK>"
                                u"<LINK><Name>Jazz</Name><URL>http://n.example/jazz</URL></LINK>"
                                u"</Tavrel>");
    EXPECT_EQ(read.kind, Kind::Links);
    EXPECT_EQ(read.links,
              (std::vector<std::string>{"Jazz=http://m.example/jazz", "Blues=http://m.example/Blues.xml",
                                        "Jazz=http://n.example/jazz"}));
    // A document whose links are all unusable still offers a list — an empty one.
    EXPECT_EQ(directory(u"<Tavrel><LINK><Name>Rock</Name></LINK></Tavrel>").kind, Kind::Links);
}

TEST(TavrelHostDirectoryTest, NoRootAndNoChildren)
{
    EXPECT_EQ(directory(u"<?xml version=\"1.0\"?><Tavrel></Tavrel>").kind, Kind::NoRoot);
    EXPECT_EQ(directory(u"<Tavrel>nothing here</Tavrel>").kind, Kind::Empty);
}

TEST(TavrelDocumentTextTest, BytesAreCharactersUnlessWrittenInSixteenBits)
{
    const auto decode = [](std::initializer_list<std::uint8_t> bytes) {
        const std::vector<std::uint8_t> data(bytes);
        return CTavrelDocumentText::Decode(data);
    };
    // One byte to a character, 0xE9 staying 0xE9.
    EXPECT_EQ(decode({'<', 'a', '>', 0xE9}).View(), device::WideView(u"<a>\u00E9"));
    // The local copy's form: little-endian, no mark.
    EXPECT_EQ(decode({'<', 0, 'a', 0, 0x1F, 0x20}).View(), device::WideView(u"<a\u201F"));
    // A first byte of 0: big-endian.
    EXPECT_EQ(decode({0, '<', 0, 'a'}).View(), device::WideView(u"<a"));
    // Byte-order marks say which.
    EXPECT_EQ(decode({0xFF, 0xFE, '<', 0}).View(), device::WideView(u"<"));
    EXPECT_EQ(decode({0xFE, 0xFF, 0x20, 0x1F}).View(), device::WideView(u"\u201F"));
    EXPECT_TRUE(decode({}).IsEmpty());
    EXPECT_EQ(decode({'x'}).View(), device::WideView(u"x"));
}

} // namespace
