#include "platform/gfx/FontFace.h"
#include "platform/gfx/Painter.h"

#include "SurfaceProbe.h"

#include <gtest/gtest.h>

using namespace gfx;
using gfx_test::countColour;
using gfx_test::inkBounds;
using gfx_test::picture;

namespace {

constexpr Colour paper = colours::white;
constexpr Colour ink = colours::black;

Font tahoma8() { return Font::fromPoints(u"Tahoma", 8); }

class Text : public ::testing::Test {
protected:
    Text() { painter.setBackgroundMode(TRANSPARENT); }
    int width(device::WideView text) { return painter.textExtent(text).width; }
    Rect measure(device::WideView text, Rect rect, unsigned format)
    {
        painter.drawText(text, rect, format | DT_CALCRECT);
        return rect;
    }

    Surface surface{240, 120, paper};
    Painter painter{surface};
};

TEST(FontTest, PointsBecomePixelsAt96DotsPerInch)
{
    EXPECT_EQ(Font::pointsToPixels(6), 8);
    EXPECT_EQ(Font::pointsToPixels(7), 9);
    EXPECT_EQ(Font::pointsToPixels(8), 11);
    EXPECT_EQ(Font::pointsToPixels(16), 21);
    EXPECT_EQ(Font::pointsToPixels(0), 11) << "no size means the default 8 points";
    EXPECT_EQ(Font::pointsToPixels(-3), 11);
}

TEST(FontTest, TahomaEightPointsIsElevenPixelsHigh)
{
    Font font = tahoma8();
    EXPECT_FALSE(font.isFallback());
    EXPECT_EQ(font.familyName(), u"Tahoma");
    const FontMetrics& metrics = font.metrics();
    EXPECT_EQ(metrics.height, 11);
    EXPECT_EQ(metrics.ascent + metrics.descent, metrics.height);
    EXPECT_GT(metrics.descent, 0);
    EXPECT_GT(metrics.averageCharWidth, 3);
    EXPECT_GE(metrics.maxCharWidth, metrics.averageCharWidth);
    EXPECT_EQ(font.textExtent(u"Wy").height, 11);
    EXPECT_EQ(Font::fromPoints(u"Tahoma", 16).height(), 21);
    EXPECT_EQ(Font::fromPoints(u"tahoma", 8), font) << "face names ignore case";
    EXPECT_EQ(Font().description().faceName, u"Tahoma") << "the default font";
    EXPECT_EQ(Font().height(), 11);
}

TEST(FontTest, MissingFaceFallsBackToDejaVuSans)
{
    Font font = Font::fromPoints(u"No Such Face Anywhere", 8);
    EXPECT_TRUE(font.isFallback());
    EXPECT_EQ(font.familyName(), u"DejaVu Sans");
    EXPECT_EQ(font.height(), 11);
    EXPECT_GT(font.textExtent(u"Fallback").width, 20);
    EXPECT_TRUE(Font::fromPoints(u"", 8).isFallback());
}

TEST(FontTest, TheHandheldsSystemFaceResolves)
{
    Font font = Font::fromPoints(u"System", 8);
    EXPECT_FALSE(font.isFallback());
    EXPECT_EQ(font.familyName(), u"System");
    EXPECT_GT(font.height(), 0);
    EXPECT_GT(font.textExtent(u"OK").width, 0);
}

TEST(FontTest, WidthsAddUpAndBoldIsWider)
{
    Font font = tahoma8();
    int a = font.textExtent(u"Agenda").width;
    int b = font.textExtent(u" for 12/8/2026").width;
    EXPECT_EQ(font.textExtent(u"Agenda for 12/8/2026").width, a + b) << "no kerning, as on the handheld";
    EXPECT_LT(font.textExtent(u"W").width, font.textExtent(u"WW").width);
    EXPECT_LT(font.textExtent(u"WW").width, font.textExtent(u"WWW").width);
    EXPECT_LT(font.textExtent(u"iiii").width, font.textExtent(u"WWWW").width);
    EXPECT_EQ(font.textExtent(u"").width, 0);
    Font bold = Font::fromPoints(u"Tahoma", 8, FW_BOLD);
    EXPECT_GT(bold.textExtent(u"Agenda").width, a);
    EXPECT_EQ(bold.height(), 11);
    Font italic = Font::fromPoints(u"Tahoma", 8, FW_NORMAL, true);
    EXPECT_EQ(italic.height(), 11);
    EXPECT_GT(italic.textExtent(u"Agenda").width, 0);
}

TEST_F(Text, DrawsCrispInkInTheTextColourWithinTheCell)
{
    painter.setTextColour(colours::red);
    EXPECT_TRUE(painter.textOut(10, 20, u"Sat 6th, 2003"));
    Rect ink = inkBounds(surface, paper);
    ASSERT_FALSE(ink.isEmpty());
    Size extent = painter.textExtent(u"Sat 6th, 2003");
    EXPECT_TRUE((Rect{10, 20, 10 + extent.width, 20 + extent.height}).contains(ink)) << picture(surface, ink, colours::red);
    EXPECT_GE(ink.height(), 7) << "capitals and digits are most of the cell";
    // Eight-point Tahoma draws from hand-tuned bitmaps: every touched pixel is the text colour.
    EXPECT_EQ(countColour(surface, colours::red) + countColour(surface, paper), 240 * 120);
}

TEST_F(Text, TextAlignPlacesTheReferencePoint)
{
    int w = width(u"Right");
    const FontMetrics& metrics = painter.textMetrics();
    painter.setBackgroundMode(OPAQUE);
    painter.setBackgroundColour(colours::green);
    painter.setTextAlign(TA_RIGHT | TA_BASELINE);
    painter.textOut(100, 50, u"Right");
    EXPECT_EQ(inkBounds(surface, paper), (Rect{100 - w, 50 - metrics.ascent, 100, 50 + metrics.descent}))
        << "the opaque cell ends at the point and sits on the baseline";

    surface.fill(paper);
    painter.setTextAlign(TA_LEFT | TA_TOP | TA_UPDATECP);
    painter.moveTo(5, 5);
    painter.textOut(0, 0, u"One");
    painter.textOut(0, 0, u"Two");
    EXPECT_EQ(painter.currentPosition(), (Point{5 + width(u"One") + width(u"Two"), 5}));
    EXPECT_EQ(inkBounds(surface, paper), (Rect{5, 5, 5 + width(u"OneTwo"), 16}));
}

TEST_F(Text, OpaqueModeFillsTheCellsAndTransparentModeLeavesThem)
{
    painter.setBackgroundMode(OPAQUE);
    painter.setBackgroundColour(0x400000);
    painter.setTextColour(colours::white);
    painter.textOut(3, 4, u"Wed");
    Rect cell{3, 4, 3 + width(u"Wed"), 15};
    EXPECT_EQ(inkBounds(surface, paper), cell);
    EXPECT_GT(countColour(surface, 0x400000, cell), cell.width() * cell.height() / 2);

    surface.fill(paper);
    painter.setBackgroundMode(TRANSPARENT);
    painter.setTextColour(ink);
    painter.textOut(3, 4, u"Wed");
    EXPECT_EQ(countColour(surface, 0x400000), 0);

    // ExtTextOut's opaque rectangle is filled whatever the mode.
    surface.fill(paper);
    Rect box{0, 0, 50, 20};
    painter.extTextOut(2, 2, ETO_OPAQUE | ETO_CLIPPED, &box, u"Clipped to the box");
    EXPECT_EQ(inkBounds(surface, paper), box);
}

TEST_F(Text, CalcRectMeasuresOneLine)
{
    Rect rect = measure(u"Sat 6th, 2003", {10, 20, 200, 100}, DT_SINGLELINE | DT_LEFT);
    EXPECT_EQ(rect, (Rect{10, 20, 10 + width(u"Sat 6th, 2003"), 31}));
    Rect copy{10, 20, 200, 100};
    EXPECT_EQ(painter.drawText(u"Wy", copy, DT_CALCRECT | DT_SINGLELINE), 11);
    EXPECT_EQ(inkBounds(surface, paper), Rect{}) << "measuring draws nothing";
    EXPECT_EQ(painter.drawText(u"", copy, DT_CALCRECT), 0);
    EXPECT_EQ(copy, (Rect{10, 20, 10, 20}));
    EXPECT_EQ(painter.drawText(u"one\ntwo", Rect{0, 0, 100, 100}, DT_CALCRECT), 22) << "a const rectangle: height only";
    EXPECT_EQ(inkBounds(surface, paper), Rect{});
}

TEST_F(Text, WordBreakWrapsBetweenWords)
{
    int room = width(u"Meeting with") + 2;
    Rect rect = measure(u"Meeting with the design team", {0, 0, room, 200}, DT_WORDBREAK);
    EXPECT_EQ(rect.bottom, 11 * 3) << "Meeting with / the design / team";
    EXPECT_LE(rect.right, room);
    EXPECT_EQ(rect.right, width(u"Meeting with")) << "the widest line, without the space at the break";

    // Drawn, no ink leaves the rectangle and the lines really are three.
    painter.drawText(u"Meeting with the design team", Rect{0, 0, room, 200}, DT_WORDBREAK);
    Rect ink = inkBounds(surface, paper);
    EXPECT_LE(ink.right, room);
    EXPECT_GT(ink.bottom, 22);
    EXPECT_LE(ink.bottom, 33);

    // Without DT_WORDBREAK it stays on one line.
    EXPECT_EQ(measure(u"Meeting with the design team", {0, 0, room, 200}, 0).bottom, 11);
    // A word wider than the room is broken between characters rather than cut off.
    Rect narrow = measure(u"Wwwwwwwwwwwwwwwwwwww", {0, 0, 30, 200}, DT_WORDBREAK);
    EXPECT_LE(narrow.right, 30);
    EXPECT_GE(narrow.bottom, 11 * 3);
    // Room for a single character still makes progress.
    EXPECT_EQ(measure(u"abc", {0, 0, 1, 200}, DT_WORDBREAK).bottom, 33);
}

TEST_F(Text, LineBreaksStartNewLinesExceptInSingleLineMode)
{
    EXPECT_EQ(measure(u"one\ntwo", {0, 0, 200, 200}, 0).bottom, 22);
    EXPECT_EQ(measure(u"one\r\ntwo", {0, 0, 200, 200}, 0).bottom, 22);
    EXPECT_EQ(measure(u"one\rtwo\n\nfour", {0, 0, 200, 200}, 0).bottom, 44);
    EXPECT_EQ(measure(u"one\n", {0, 0, 200, 200}, 0).bottom, 11) << "a final break adds no line";
    Rect single = measure(u"one\ntwo", {0, 0, 200, 200}, DT_SINGLELINE);
    EXPECT_EQ(single.bottom, 11);
    EXPECT_EQ(single.right, width(u"onetwo")) << "line breaks take no room on a single line";
}

TEST_F(Text, PrefixesUnderlineTheirLetter)
{
    EXPECT_EQ(measure(u"&File", {0, 0, 200, 50}, DT_SINGLELINE).right, width(u"File"));
    EXPECT_EQ(measure(u"&File", {0, 0, 200, 50}, DT_SINGLELINE | DT_NOPREFIX).right, width(u"&File"));
    EXPECT_EQ(measure(u"Save && Close", {0, 0, 200, 50}, DT_SINGLELINE).right, width(u"Save & Close"));

    const int baseline = painter.textMetrics().ascent;
    painter.drawText(u"&File", Rect{0, 0, 200, 20}, DT_SINGLELINE);
    Rect underline{0, baseline + 1, width(u"F"), baseline + 2};
    EXPECT_EQ(countColour(surface, ink, underline), underline.width()) << picture(surface, {0, 0, 30, 12}, ink);

    surface.fill(paper);
    painter.drawText(u"File", Rect{0, 0, 200, 20}, DT_SINGLELINE);
    EXPECT_EQ(countColour(surface, ink, underline), 0) << "no prefix, no underline";

    surface.fill(paper);
    painter.drawText(u"&File", Rect{0, 0, 200, 20}, DT_SINGLELINE | DT_HIDEPREFIX);
    EXPECT_EQ(countColour(surface, ink, underline), 0);
}

TEST_F(Text, AlignmentInsideTheRectangle)
{
    Rect rect{20, 10, 120, 50};
    int w = width(u"Wed");
    painter.setBackgroundMode(OPAQUE);
    painter.setBackgroundColour(colours::green);

    EXPECT_EQ(painter.drawText(u"Wed", rect, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE), 40)
        << "with DT_BOTTOM the answer is the text's bottom from the top";
    EXPECT_EQ(inkBounds(surface, paper), (Rect{120 - w, 39, 120, 50}));

    surface.fill(paper);
    painter.drawText(u"Wed", rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EXPECT_EQ(inkBounds(surface, paper), (Rect{(140 - w) / 2, 10 + (40 - 11) / 2, (140 - w) / 2 + w, 10 + (40 - 11) / 2 + 11}));

    // DT_VCENTER needs DT_SINGLELINE, as on the handheld.
    surface.fill(paper);
    EXPECT_EQ(painter.drawText(u"Wed", rect, DT_VCENTER), 11);
    EXPECT_EQ(inkBounds(surface, paper).top, 10);
}

TEST_F(Text, ClipsToTheRectangleUnlessAskedNotTo)
{
    Rect rect{10, 10, 30, 16};
    painter.drawText(u"Appointment", rect, DT_SINGLELINE);
    Rect ink = inkBounds(surface, paper);
    EXPECT_FALSE(ink.isEmpty());
    EXPECT_TRUE(rect.contains(ink));

    surface.fill(paper);
    painter.drawText(u"Appointment", rect, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(inkBounds(surface, paper).right, 30);
    EXPECT_GT(inkBounds(surface, paper).bottom, 16);
}

TEST_F(Text, AccentsOfCapitalsAreNotCutAtTheTopOfTheRectangle)
{
    // One line exactly: the rectangle is the cell, and the diaeresis of "Ü" lies above the cell's
    // ascent in Tahoma.
    const Rect line{10, 20, 60, 31};
    painter.drawText(u"U", line, DT_SINGLELINE);
    const Rect plain = inkBounds(surface, paper);
    surface.fill(paper);
    painter.drawText(u"Ü", line, DT_SINGLELINE);
    const Rect accented = inkBounds(surface, paper);
    EXPECT_LT(accented.top, plain.top - 1) << picture(surface, {10, 14, 30, 31}, ink);
    EXPECT_GE(accented.top, line.top - painter.font().face().overhang());
    EXPECT_LE(accented.bottom, line.bottom);
}

TEST_F(Text, CharactersTheFaceLacksComeFromAFaceThatHasThem)
{
    // Tahoma has neither a hot beverage nor Japanese; DejaVu Sans and Noto CJK have them. A face's
    // missing-character box would look the same for every character.
    auto drawn = [&](device::WideView text) {
        surface.fill(paper);
        painter.drawText(text, Rect{0, 0, 100, 40}, DT_SINGLELINE);
        // Borrowed glyphs are smoothed: every pixel that is not paper counts.
        std::string shape;
        for (int y = 0; y < 14; ++y)
            for (int x = 0; x < 20; ++x)
                shape += surface.pixel(x, y) == paper ? '.' : '#';
        return shape;
    };
    const std::string sun = drawn(u"日");
    EXPECT_NE(sun, drawn(u"本")) << sun;
    EXPECT_NE(drawn(u"☕"), drawn(u"☖"));
    EXPECT_GT(width(u"日本語"), 3 * width(u"i"));
    // The fallback face matches the size: a Japanese character fits the 8-point line.
    drawn(u"日");
    EXPECT_LE(inkBounds(surface, paper).bottom, 11);
}

TEST_F(Text, EndEllipsisCutsWithinTheWidth)
{
    Rect rect{0, 0, 60, 20};
    device::WideView text = u"A very long single line that must be cut";
    Rect measured = measure(text, rect, DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_LE(measured.right, 60);
    EXPECT_GT(measured.right, 60 - width(u"W") - 1);
    EXPECT_EQ(measure(u"Short", rect, DT_SINGLELINE | DT_END_ELLIPSIS).right, width(u"Short"));
    painter.drawText(text, rect, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
    EXPECT_LE(inkBounds(surface, paper).right, 60);
}

TEST_F(Text, TabsExpandToStops)
{
    int stop = 8 * painter.textMetrics().averageCharWidth;
    Rect rect = measure(u"a\tb", {0, 0, 200, 20}, DT_SINGLELINE | DT_EXPANDTABS);
    EXPECT_EQ(rect.right, stop + width(u"b"));
    painter.drawText(u"a\tb", Rect{0, 0, 200, 20}, DT_SINGLELINE | DT_EXPANDTABS);
    EXPECT_GE(inkBounds(surface, paper).right, stop);
}

TEST_F(Text, AnyUnitsDrawWithoutHarm)
{
    // Unpaired surrogates, a pair, controls and characters the face lacks.
    const char16_t odd[] = {0xD800, u'a', 0xDC00, 0xD83D, 0xDE00, u'\x01', u'\t', 0x4E2D, 0xFFFF, 0};
    Rect rect{0, 0, 100, 50};
    painter.drawText(odd, rect, DT_WORDBREAK);
    painter.drawText(odd, rect, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_END_ELLIPSIS);
    painter.textOut(0, 30, odd);
    EXPECT_GE(rect.bottom, 11);
}

} // namespace
