// CTavrelImage: loading from device files and resources with the decode-once rule, the plain,
// stretched and colour-keyed copies, the blend arithmetic over every pixel, pixels and thumbnails.

#include "support/TempDevice.h"
#include "views/TavrelImage.h"

#include "platform/gfx/GifCodec.h"
#include "platform/gfx/PngWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using gfx::Colour;
using gfx::RGB;
using gfx::Surface;

namespace {

constexpr Colour magenta = RGB(255, 0, 255);

// Loads `picture` into `image` through a resource table of its own, as the program loads its
// built-in pictures.
void loadPicture(CTavrelImage& image, const Surface& picture, int id = 1)
{
    std::vector<std::uint8_t> bytes = gfx::PngWriter::encode(picture);
    gfx::ResourceTable table;
    table.add(u"IMAGE", id, bytes);
    ASSERT_TRUE(image.LoadResource(id, &table));
}

void writeHostFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A picture whose every pixel differs from its neighbours, so a copy that lands one pixel off or
// samples the wrong source pixel shows.
Surface pattern(int width, int height)
{
    Surface surface(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            surface.setPixel(x, y, RGB(unsigned(x * 7 + 3), unsigned(y * 11 + 5), unsigned(x + y)));
    return surface;
}

unsigned blendByte(unsigned under, unsigned over, unsigned level)
{
    return under * (100 - level) / 100 + over * level / 100;
}

} // namespace

TEST(TavrelImageBlend, ArithmeticOfTheFadeLevels)
{
    CTavrelImage white;
    loadPicture(white, Surface(4, 3, gfx::colours::white));
    Surface target(4, 3, gfx::colours::black);
    gfx::Painter dc(target);
    ASSERT_TRUE(white.Blend(dc, 0, 0, 50, -1, -1, CTavrelImage::TopLeftColour));
    for (Colour pixel : target.pixels())
        EXPECT_EQ(pixel, RGB(127, 127, 127));

    // Each product is divided on its own: 100 × 55 ÷ 100 + 200 × 45 ÷ 100 = 145, and the three
    // bytes of a pixel are blended apart from each other.
    CTavrelImage picture;
    loadPicture(picture, Surface(2, 2, RGB(200, 10, 255)));
    for (int level : {0, 1, 33, 45, 99, 100}) {
        Surface under(2, 2, RGB(100, 250, 7));
        gfx::Painter painter(under);
        ASSERT_TRUE(picture.Blend(painter, 0, 0, level, -1, -1, CTavrelImage::TopLeftColour));
        Colour expected = RGB(blendByte(100, 200, level), blendByte(250, 10, level), blendByte(7, 255, level));
        EXPECT_EQ(under.pixel(1, 1), expected) << "level " << level;
    }
    Surface under(2, 2, RGB(100, 100, 100));
    gfx::Painter painter(under);
    picture.Blend(painter, 0, 0, 45, -1, -1, CTavrelImage::TopLeftColour);
    EXPECT_EQ(gfx::redOf(under.pixel(0, 0)), 145u);

    // Levels beyond the range act as their nearest end instead of spilling into other bytes.
    Surface clamped(2, 2, RGB(100, 250, 7));
    gfx::Painter clampedPainter(clamped);
    picture.Blend(clampedPainter, 0, 0, 250, -1, -1, CTavrelImage::TopLeftColour);
    EXPECT_EQ(clamped.pixel(0, 0), RGB(200, 10, 255));
    picture.Blend(clampedPainter, 0, 0, -20, -1, -1, CTavrelImage::TopLeftColour);
    EXPECT_EQ(clamped.pixel(0, 0), RGB(200, 10, 255));
}

TEST(TavrelImageBlend, EveryPairOfByteValuesAtEveryLevel)
{
    // Red meets every under and over value pair once; green and blue run other pairings.
    Surface over(256, 256);
    Surface under(256, 256);
    for (unsigned y = 0; y < 256; ++y) {
        for (unsigned x = 0; x < 256; ++x) {
            over.setPixel(int(x), int(y), RGB(x, y, 255 - x));
            under.setPixel(int(x), int(y), RGB(y, 255 - y, x ^ y));
        }
    }
    CTavrelImage picture;
    loadPicture(picture, over);
    for (unsigned level = 0; level <= 100; ++level) {
        Surface target = under;
        gfx::Painter dc(target);
        ASSERT_TRUE(picture.Blend(dc, 0, 0, int(level), -1, -1, CTavrelImage::TopLeftColour));
        int wrong = 0;
        for (int y = 0; y < 256; ++y) {
            for (int x = 0; x < 256; ++x) {
                const Colour u = under.pixel(x, y), o = over.pixel(x, y);
                const Colour expected = RGB(blendByte(gfx::redOf(u), gfx::redOf(o), level),
                                            blendByte(gfx::greenOf(u), gfx::greenOf(o), level),
                                            blendByte(gfx::blueOf(u), gfx::blueOf(o), level));
                wrong += target.pixel(x, y) != expected;
            }
        }
        ASSERT_EQ(wrong, 0) << "level " << level;
    }
}

TEST(TavrelImageBlend, EveryPixelOfOddWidthsAtAnOffsetAndStretched)
{
    for (int width : {1, 3, 119, 241}) {
        const int height = 5;
        Surface over = pattern(width, height);
        CTavrelImage picture;
        loadPicture(picture, over);
        Surface target(width + 10, height + 4, RGB(40, 80, 120));
        gfx::Painter dc(target);
        dc.setOrigin({2, 1}); // logical coordinates: the blend lands at device (5, 3)
        ASSERT_TRUE(picture.Blend(dc, 3, 2, 60, -1, -1, CTavrelImage::TopLeftColour));
        for (int y = 0; y < target.height(); ++y) {
            for (int x = 0; x < target.width(); ++x) {
                bool inside = x >= 5 && x < 5 + width && y >= 3 && y < 3 + height;
                Colour expected = RGB(40, 80, 120);
                if (inside) {
                    Colour o = over.pixel(x - 5, y - 3);
                    expected = RGB(blendByte(40, gfx::redOf(o), 60), blendByte(80, gfx::greenOf(o), 60),
                                   blendByte(120, gfx::blueOf(o), 60));
                }
                ASSERT_EQ(target.pixel(x, y), expected) << "width " << width << " at " << x << "," << y;
            }
        }
    }

    // Stretched: a 2 × 1 picture over a 4 × 2 area puts each source pixel on a 2 × 2 block.
    Surface two(2, 1);
    two.setPixel(0, 0, gfx::colours::white);
    two.setPixel(1, 0, RGB(0, 0, 200));
    CTavrelImage picture;
    loadPicture(picture, two);
    Surface target(4, 2, gfx::colours::black);
    gfx::Painter dc(target);
    ASSERT_TRUE(picture.Blend(dc, 0, 0, 50, 4, 2, CTavrelImage::TopLeftColour));
    EXPECT_EQ(target.pixel(1, 1), RGB(127, 127, 127));
    EXPECT_EQ(target.pixel(2, 0), RGB(0, 0, 100));
    EXPECT_EQ(target.pixel(3, 1), RGB(0, 0, 100));
}

TEST(TavrelImageBlend, TransparentColourKeepsWhatLiesUnderAndTopLeftColourMeansNone)
{
    // A magenta background with one green pixel, as the icons are drawn.
    Surface icon(3, 3, magenta);
    icon.setPixel(1, 1, RGB(0, 200, 0));
    CTavrelImage picture;
    loadPicture(picture, icon);

    Surface target(3, 3, RGB(100, 100, 100));
    gfx::Painter dc(target);
    ASSERT_TRUE(picture.Blend(dc, 0, 0, 45, -1, -1, picture.GetPixel(0, 0)));
    EXPECT_EQ(target.pixel(0, 0), RGB(100, 100, 100)) << "left-out pixels are not faded";
    EXPECT_EQ(target.pixel(1, 1), RGB(55, 145, 55));

    // With 0xC0C0C0 nothing is left out, even when it is the top-left pixel's colour.
    Surface grey(2, 1, gfx::colours::lightGrey);
    grey.setPixel(1, 0, gfx::colours::white);
    CTavrelImage greyPicture;
    loadPicture(greyPicture, grey);
    Surface black(2, 1, gfx::colours::black);
    gfx::Painter blackPainter(black);
    ASSERT_TRUE(greyPicture.Blend(blackPainter, 0, 0, 50, -1, -1, CTavrelImage::TopLeftColour));
    EXPECT_EQ(black.pixel(0, 0), RGB(96, 96, 96));
    EXPECT_EQ(black.pixel(1, 0), RGB(127, 127, 127));
}

TEST(TavrelImageBlend, NothingIsDrawnWithoutAPictureOrArea)
{
    Surface target(4, 4, RGB(1, 2, 3));
    const Surface before = target;
    gfx::Painter dc(target);
    CTavrelImage empty;
    EXPECT_FALSE(empty.Blend(dc, 0, 0, 50, -1, -1, CTavrelImage::TopLeftColour));
    CTavrelImage picture;
    loadPicture(picture, Surface(2, 2, gfx::colours::white));
    EXPECT_FALSE(picture.Blend(dc, 0, 0, 50, 0, 3, CTavrelImage::TopLeftColour));
    EXPECT_FALSE(picture.Blend(dc, 0, 0, 50, -5, 3, CTavrelImage::TopLeftColour));
    EXPECT_FALSE(picture.Blend(dc, 0, 0, 50, 100000, 100000, CTavrelImage::TopLeftColour))
        << "an area no bitmap can hold";
    EXPECT_EQ(target, before);

    // An area reaching past the target blends the part inside it and writes nothing outside.
    EXPECT_TRUE(picture.Blend(dc, 3, 3, 100, -1, -1, CTavrelImage::TopLeftColour));
    EXPECT_EQ(target.pixel(3, 3), gfx::colours::white);
    EXPECT_EQ(target.pixel(2, 2), RGB(1, 2, 3));
}

TEST(TavrelImageDraw, PlainStretchedAndColourKeyedCopies)
{
    Surface source = pattern(3, 2);
    CTavrelImage picture;
    loadPicture(picture, source);
    EXPECT_EQ(picture.GetWidth(), 3);
    EXPECT_EQ(picture.GetHeight(), 2);

    Surface target(8, 6, gfx::colours::white);
    gfx::Painter dc(target);
    picture.Draw(dc, 1, 1);
    EXPECT_EQ(target.pixel(1, 1), source.pixel(0, 0));
    EXPECT_EQ(target.pixel(3, 2), source.pixel(2, 1));
    EXPECT_EQ(target.pixel(4, 1), gfx::colours::white);
    EXPECT_EQ(target.pixel(1, 3), gfx::colours::white);

    target.fill(gfx::colours::white);
    picture.Draw(dc, 0, 0, 6, 4);
    EXPECT_EQ(target.pixel(0, 0), source.pixel(0, 0));
    EXPECT_EQ(target.pixel(5, 3), source.pixel(2, 1));
    EXPECT_EQ(target.pixel(6, 4), gfx::colours::white);

    target.fill(gfx::colours::white);
    picture.Draw(dc, 0, 0, 6, -1); // a single -1 keeps that side
    EXPECT_EQ(target.pixel(5, 1), source.pixel(2, 1));
    EXPECT_EQ(target.pixel(0, 2), gfx::colours::white);
}

TEST(TavrelImageDraw, TransparentCopyWithAGivenColourAndWithTheTopLeftPixel)
{
    Surface icon(4, 4, magenta);
    icon.setPixel(1, 1, gfx::colours::red);
    icon.setPixel(2, 2, gfx::colours::blue);
    CTavrelImage picture;
    loadPicture(picture, icon);

    Surface target(8, 8, gfx::colours::white);
    gfx::Painter dc(target);
    picture.DrawTransparent(dc, 0, 0, -1, -1, CTavrelImage::TopLeftColour);
    EXPECT_EQ(target.pixel(0, 0), gfx::colours::white) << "the top-left colour is left out";
    EXPECT_EQ(target.pixel(1, 1), gfx::colours::red);
    EXPECT_EQ(target.pixel(2, 2), gfx::colours::blue);

    // An explicit colour leaves out that colour only.
    target.fill(gfx::colours::white);
    picture.DrawTransparent(dc, 0, 0, -1, -1, gfx::colours::red);
    EXPECT_EQ(target.pixel(0, 0), magenta);
    EXPECT_EQ(target.pixel(1, 1), gfx::colours::white);
    EXPECT_EQ(target.pixel(2, 2), gfx::colours::blue);

    // Stretched to 8 × 8: each source pixel covers 2 × 2.
    target.fill(gfx::colours::white);
    picture.DrawTransparent(dc, 0, 0, 8, 8, CTavrelImage::TopLeftColour);
    EXPECT_EQ(target.pixel(3, 3), gfx::colours::red);
    EXPECT_EQ(target.pixel(5, 4), gfx::colours::blue);
    EXPECT_EQ(target.pixel(7, 7), gfx::colours::white);

    // A real light grey pixel is drawn when the top-left pixel has another colour.
    icon.setPixel(3, 3, gfx::colours::lightGrey);
    loadPicture(picture, icon, 2);
    target.fill(gfx::colours::white);
    picture.DrawTransparent(dc, 0, 0, -1, -1, CTavrelImage::TopLeftColour);
    EXPECT_EQ(target.pixel(3, 3), gfx::colours::lightGrey);
    EXPECT_EQ(target.pixel(0, 3), gfx::colours::white);
}

TEST(TavrelImageFile, DecodesOnceForAPathInAnyLetterCase)
{
    testing_support::TempDevice device;
    Surface red(5, 4, gfx::colours::red);
    writeHostFile(device.host("Program Files/Tavrel/January.gif"), gfx::GifCodec::encode(red));

    CTavrelImage picture;
    ASSERT_TRUE(picture.LoadFile(u"\\Program Files\\Tavrel\\January.gif"));
    EXPECT_EQ(picture.GetWidth(), 5);
    EXPECT_EQ(picture.GetHeight(), 4);
    EXPECT_EQ(picture.GetPixel(4, 3), gfx::colours::red);
    EXPECT_EQ(std::u16string(picture.GetName().GetString()), u"\\Program Files\\Tavrel\\January.gif");
    EXPECT_EQ(picture.GetResourceId(), 0);

    // The file changes on disk; the same path in other letter case is not decoded again.
    writeHostFile(device.host("Program Files/Tavrel/January.gif"), gfx::GifCodec::encode(Surface(2, 2, gfx::colours::blue)));
    ASSERT_TRUE(picture.LoadFile(u"\\PROGRAM FILES\\tavrel\\january.GIF"));
    EXPECT_EQ(picture.GetPixel(0, 0), gfx::colours::red);
    EXPECT_EQ(picture.GetWidth(), 5);

    // Another path is decoded, even though it names the same file, and then holds the new pixels.
    ASSERT_TRUE(picture.LoadFile(u"\\Program Files\\Tavrel\\.\\January.gif"));
    EXPECT_EQ(picture.GetPixel(0, 0), gfx::colours::blue);
    EXPECT_EQ(picture.GetWidth(), 2);

    // After a resource load the file is decoded again.
    loadPicture(picture, Surface(1, 1, gfx::colours::green));
    EXPECT_TRUE(picture.GetName().IsEmpty());
    ASSERT_TRUE(picture.LoadFile(u"\\Program Files\\Tavrel\\January.gif"));
    EXPECT_EQ(picture.GetPixel(0, 0), gfx::colours::blue);
}

TEST(TavrelImageFile, MissingAndBrokenFilesFailAndKeepThePicture)
{
    testing_support::TempDevice device;
    CTavrelImage picture;
    EXPECT_FALSE(picture.LoadFile(u"\\My Documents\\missing.gif"));
    EXPECT_FALSE(picture.LoadFile(u""));
    EXPECT_FALSE(picture.LoadFile(nullptr));
    EXPECT_FALSE(picture.LoadFile(u"\\..\\outside.gif"));
    EXPECT_FALSE(picture.LoadFile(u"\\My Documents")) << "a folder is no picture";
    EXPECT_FALSE(picture.IsLoaded());
    EXPECT_EQ(picture.GetWidth(), 0);
    EXPECT_EQ(picture.GetPixel(0, 0), 0u);

    // Drawing a picture that holds nothing draws nothing.
    Surface target(4, 4, RGB(9, 9, 9));
    const Surface before = target;
    gfx::Painter dc(target);
    picture.Draw(dc, 0, 0);
    picture.Draw(dc, 0, 0, 4, 4);
    picture.DrawTransparent(dc, 0, 0, 4, 4, gfx::colours::black);
    EXPECT_EQ(target, before);
    EXPECT_TRUE(picture.MakeThumbnail(16, 16).isEmpty());

    writeHostFile(device.host("My Documents/good.gif"), gfx::GifCodec::encode(Surface(3, 3, gfx::colours::green)));
    writeHostFile(device.host("My Documents/broken.gif"), {'G', 'I', 'F', '8', '9', 'a', 3, 0, 3, 0, 0x80});
    writeHostFile(device.host("My Documents/empty.jpg"), {});
    ASSERT_TRUE(picture.LoadFile(u"\\My Documents\\good.gif"));
    EXPECT_FALSE(picture.LoadFile(u"\\My Documents\\broken.gif"));
    EXPECT_FALSE(picture.LoadFile(u"\\My Documents\\empty.jpg"));
    EXPECT_FALSE(picture.LoadFile(u"\\My Documents\\missing.gif"));
    EXPECT_TRUE(picture.IsLoaded());
    EXPECT_EQ(std::u16string(picture.GetName().GetString()), u"\\My Documents\\good.gif");
    EXPECT_EQ(picture.GetPixel(2, 2), gfx::colours::green);
    EXPECT_EQ(picture.GetPixel(3, 0), gfx::CLR_INVALID) << "outside the picture";

    picture.Release();
    EXPECT_FALSE(picture.IsLoaded());
    EXPECT_TRUE(picture.GetName().IsEmpty());
    EXPECT_EQ(picture.GetPixel(0, 0), 0u);
}

TEST(TavrelImageResource, ProgramAndOtherTablesAndTheDecodeOnceRule)
{
    std::vector<std::uint8_t> redBytes = gfx::GifCodec::encode(Surface(6, 2, gfx::colours::red));
    std::vector<std::uint8_t> blueBytes = gfx::GifCodec::encode(Surface(2, 2, gfx::colours::blue));
    gfx::ResourceTable& program = gfx::ResourceTable::program();
    program.add(u"IMAGE", 9001, redBytes);

    CTavrelImage picture;
    EXPECT_FALSE(picture.LoadResource(9002)) << "an id nobody registered";
    EXPECT_FALSE(picture.IsLoaded());
    ASSERT_TRUE(picture.LoadResource(9001));
    EXPECT_EQ(picture.GetWidth(), 6);
    EXPECT_EQ(picture.GetResourceId(), 9001);
    EXPECT_TRUE(picture.GetName().IsEmpty());

    // Same module and id: not decoded again, even when the bytes behind it changed.
    program.add(u"IMAGE", 9001, blueBytes);
    ASSERT_TRUE(picture.LoadResource(9001, &program));
    EXPECT_EQ(picture.GetPixel(0, 0), gfx::colours::red);

    // The same id of another module is another picture.
    gfx::ResourceTable other;
    other.add(u"IMAGE", 9001, blueBytes);
    ASSERT_TRUE(picture.LoadResource(9001, &other));
    EXPECT_EQ(picture.GetPixel(0, 0), gfx::colours::blue);
    ASSERT_TRUE(picture.LoadResource(9001));
    EXPECT_EQ(picture.GetPixel(0, 0), gfx::colours::blue) << "the program's table now holds blue";

    // A resource that does not decode fails and keeps the picture.
    static const std::uint8_t garbage[] = {'G', 'I', 'F', '8', '9', 'a', 1};
    other.add(u"IMAGE", 5, garbage);
    EXPECT_FALSE(picture.LoadResource(5, &other));
    EXPECT_EQ(picture.GetResourceId(), 9001);
    EXPECT_TRUE(picture.IsLoaded());
    program.remove(u"IMAGE", 9001);
}

TEST(TavrelImageThumbnail, SizesFollowTheProportionsOnAWhiteCanvas)
{
    // 32 × 16: a magenta background (left out) with a red bottom-right quarter.
    Surface wide(32, 16, magenta);
    wide.fillRect({16, 8, 32, 16}, gfx::colours::red);
    CTavrelImage picture;
    loadPicture(picture, wide);

    Surface thumbnail = picture.MakeThumbnail(16, -1);
    ASSERT_EQ(thumbnail.size(), (gfx::Size{16, 16}));
    EXPECT_EQ(thumbnail.pixel(0, 0), gfx::colours::white);
    EXPECT_EQ(thumbnail.pixel(8, 4), gfx::colours::red);
    EXPECT_EQ(thumbnail.pixel(15, 7), gfx::colours::red);
    EXPECT_EQ(thumbnail.pixel(15, 8), gfx::colours::white) << "the picture is 16 × 8 at the top";

    Surface tall = picture.MakeThumbnail(-1, 4);
    ASSERT_EQ(tall.size(), (gfx::Size{8, 8}));
    EXPECT_EQ(tall.pixel(7, 3), gfx::colours::red);
    EXPECT_EQ(tall.pixel(7, 4), gfx::colours::white);

    Surface own = picture.MakeThumbnail(-1, -1, 40, 20);
    ASSERT_EQ(own.size(), (gfx::Size{40, 20}));
    EXPECT_EQ(own.pixel(31, 15), gfx::colours::red);
    EXPECT_EQ(own.pixel(32, 15), gfx::colours::white);

    EXPECT_TRUE(picture.MakeThumbnail(0, -1).isEmpty());
    EXPECT_TRUE(picture.MakeThumbnail(1000000, -1).isEmpty()) << "no canvas that large";
}
