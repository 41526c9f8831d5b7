#include "platform/gfx/GifCodec.h"
#include "platform/gfx/ImageDecoder.h"
#include "platform/gfx/PngWriter.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <stb_image_write.h>
#pragma GCC diagnostic pop

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

using namespace gfx;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

// A picture with distinct colours in each quarter and a diagonal, 12 × 10.
Surface testPicture()
{
    Surface surface(12, 10, colours::white);
    surface.fillRect({0, 0, 6, 5}, colours::red);
    surface.fillRect({6, 0, 12, 5}, colours::green);
    surface.fillRect({0, 5, 6, 10}, colours::blue);
    for (int i = 0; i < 10; ++i)
        surface.setPixel(i, i, 0x336699);
    return surface;
}

std::vector<std::uint8_t> rgbBytes(const Surface& surface, int channels)
{
    std::vector<std::uint8_t> bytes;
    for (Colour pixel : surface.pixels()) {
        bytes.push_back(std::uint8_t(redOf(pixel)));
        bytes.push_back(std::uint8_t(greenOf(pixel)));
        bytes.push_back(std::uint8_t(blueOf(pixel)));
        if (channels == 4)
            bytes.push_back(pixel == colours::white ? 0 : 255); // white is fully transparent
    }
    return bytes;
}

void appendBytes(void* context, void* data, int size)
{
    auto* out = static_cast<Bytes*>(context);
    auto* bytes = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

Bytes encodeWithStb(const Surface& surface, char format, int channels = 3)
{
    Bytes out;
    std::vector<std::uint8_t> pixels = rgbBytes(surface, channels);
    int w = surface.width();
    int h = surface.height();
    switch (format) {
    case 'p': stbi_write_png_to_func(appendBytes, &out, w, h, channels, pixels.data(), w * channels); break;
    case 'j': stbi_write_jpg_to_func(appendBytes, &out, w, h, channels, pixels.data(), 100); break;
    case 'b': stbi_write_bmp_to_func(appendBytes, &out, w, h, channels, pixels.data()); break;
    }
    return out;
}

class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "tavrel-gfx-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data());
    }
    ~TempFolder()
    {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

TEST(ImageDecoder, TellsTheFormatByItsFirstBytes)
{
    Surface picture = testPicture();
    EXPECT_EQ(ImageDecoder::detectFormat(GifCodec::encode(picture)), ImageFormat::Gif);
    EXPECT_EQ(ImageDecoder::detectFormat(encodeWithStb(picture, 'j')), ImageFormat::Jpeg);
    EXPECT_EQ(ImageDecoder::detectFormat(encodeWithStb(picture, 'p')), ImageFormat::Png);
    EXPECT_EQ(ImageDecoder::detectFormat(encodeWithStb(picture, 'b')), ImageFormat::Bmp);
    EXPECT_EQ(ImageDecoder::detectFormat(Bytes{'G', 'I'}), ImageFormat::Unknown);
    EXPECT_EQ(ImageDecoder::detectFormat(Bytes{}), ImageFormat::Unknown);
}

TEST(ImageDecoder, LosslessFormatsGiveBackEveryPixel)
{
    Surface picture = testPicture();
    for (const Bytes& bytes : {GifCodec::encode(picture), encodeWithStb(picture, 'p'), encodeWithStb(picture, 'b'),
                               PngWriter::encode(picture)}) {
        std::optional<Surface> decoded = ImageDecoder::decode(bytes);
        ASSERT_TRUE(decoded) << int(ImageDecoder::detectFormat(bytes));
        EXPECT_EQ(*decoded, picture) << int(ImageDecoder::detectFormat(bytes));
    }
}

TEST(ImageDecoder, ASideLimitRefusesLargerPicturesOfEveryFormat)
{
    Surface picture = testPicture(); // 12 × 10
    for (const Bytes& bytes : {GifCodec::encode(picture), encodeWithStb(picture, 'p'), encodeWithStb(picture, 'b'),
                               encodeWithStb(picture, 'j')}) {
        const int format = int(ImageDecoder::detectFormat(bytes));
        EXPECT_TRUE(ImageDecoder::decode(bytes, 12)) << format;
        EXPECT_FALSE(ImageDecoder::decode(bytes, 11)) << format << ": wider than the limit";
        EXPECT_FALSE(ImageDecoder::decode(bytes, 9)) << format;
        // A limit above the decoder's own is the decoder's own.
        EXPECT_TRUE(ImageDecoder::decode(bytes, 1 << 30)) << format;
    }
}

TEST(ImageDecoder, JpegComesBackCloseToTheOriginal)
{
    Surface picture(16, 16, RGB(200, 100, 50));
    std::optional<Surface> decoded = ImageDecoder::decode(encodeWithStb(picture, 'j'));
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->size(), picture.size());
    for (Colour pixel : decoded->pixels()) {
        EXPECT_NEAR(int(redOf(pixel)), 200, 4);
        EXPECT_NEAR(int(greenOf(pixel)), 100, 4);
        EXPECT_NEAR(int(blueOf(pixel)), 50, 4);
        EXPECT_EQ(pixel >> 24, 0u);
    }
}

TEST(ImageDecoder, TransparencyKeepsTheColoursForColourKeying)
{
    // A GIF's transparent entry decodes to its palette colour, so the top-left pixel still names
    // the colour to leave out when the picture is drawn.
    Surface icon(4, 4, colours::lightGrey);
    icon.fillRect({1, 1, 3, 3}, colours::red);
    std::optional<Surface> gif = ImageDecoder::decode(GifCodec::encode(icon, colours::lightGrey));
    ASSERT_TRUE(gif);
    EXPECT_EQ(*gif, icon);

    // A PNG's alpha is dropped and its colours kept.
    Surface picture = testPicture();
    std::optional<Surface> png = ImageDecoder::decode(encodeWithStb(picture, 'p', 4));
    ASSERT_TRUE(png);
    EXPECT_EQ(*png, picture);
}

TEST(ImageDecoder, AnimatedGifGivesItsFirstFrame)
{
    Surface first(6, 4, colours::blue);
    Surface second(6, 4, colours::green);
    Surface frames[] = {first, second};
    Bytes bytes = GifCodec::encode(frames);
    ASSERT_FALSE(bytes.empty());
    std::optional<Surface> decoded = ImageDecoder::decode(bytes);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, first);
    EXPECT_TRUE(GifCodec::encode(Surface(2, 2)).size() > 0);
    Surface mixed[] = {Surface(2, 2), Surface(3, 2)};
    EXPECT_TRUE(GifCodec::encode(mixed).empty()) << "frames of different sizes are refused";
}

TEST(ImageDecoder, GifWriterRefusesMoreThan256Colours)
{
    Surface many(32, 32);
    for (int i = 0; i < 32 * 32; ++i)
        many.setPixel(i % 32, i / 32, Colour(i));
    EXPECT_TRUE(GifCodec::encode(many).empty());
}

TEST(ImageDecoder, BadBytesFailCleanly)
{
    EXPECT_FALSE(ImageDecoder::decode(Bytes{}));
    EXPECT_FALSE(ImageDecoder::decode(Bytes{'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'}));
    EXPECT_FALSE(ImageDecoder::decode(Bytes{'G', 'I', 'F', '8', '9', 'a'}));
    EXPECT_FALSE(ImageDecoder::decode(Bytes{0xFF, 0xD8, 0xFF, 0xE0}));
    EXPECT_FALSE(ImageDecoder::decode(Bytes{'B', 'M', 0, 0}));

    // Every format cut short decodes to nothing rather than to garbage or a crash.
    Surface picture = testPicture();
    for (const Bytes& whole : {GifCodec::encode(picture), encodeWithStb(picture, 'p'), encodeWithStb(picture, 'b')}) {
        for (std::size_t keep : {std::size_t(8), std::size_t(30), whole.size() / 2}) {
            Bytes cut(whole.begin(), whole.begin() + std::ptrdiff_t(keep));
            EXPECT_FALSE(ImageDecoder::decode(cut)) << int(ImageDecoder::detectFormat(whole)) << " cut to " << keep;
        }
    }

    // A header announcing a picture too large for the device is refused before anything is
    // allocated for it.
    Bytes giant = GifCodec::encode(Surface(2, 2));
    giant[6] = 0x60; // logical screen 60000 × 60000
    giant[7] = 0xEA;
    giant[8] = 0x60;
    giant[9] = 0xEA;
    EXPECT_FALSE(ImageDecoder::decode(giant));
    Bytes hugePng = encodeWithStb(Surface(2, 2), 'p');
    hugePng[16] = 0x00; // width 0x00010000
    hugePng[17] = 0x01;
    EXPECT_FALSE(ImageDecoder::decode(hugePng));
}

TEST(ImageDecoder, JpegWithAnOverfullHuffmanTableIsRefused)
{
    // Symbol counts adding up to more than 256 would make the reader write past its table.
    Bytes jpeg = encodeWithStb(testPicture(), 'j');
    ASSERT_TRUE(ImageDecoder::decode(jpeg));
    const std::uint8_t marker[] = {0xFF, 0xC4};
    auto table = std::search(jpeg.begin(), jpeg.end(), std::begin(marker), std::end(marker));
    ASSERT_NE(table, jpeg.end());
    std::size_t counts = std::size_t(table - jpeg.begin()) + 5;
    for (std::size_t i = 0; i < 16; ++i)
        jpeg[counts + i] = 200;
    EXPECT_FALSE(ImageDecoder::decode(jpeg));
}

TEST(ImageDecoder, ScrambledPicturesNeverCrash)
{
    Surface picture = testPicture();
    std::mt19937 random(20260308);
    for (const Bytes& whole : {GifCodec::encode(picture), encodeWithStb(picture, 'p'), encodeWithStb(picture, 'j'),
                               encodeWithStb(picture, 'b')}) {
        for (int round = 0; round < 150; ++round) {
            Bytes scrambled = whole;
            int changes = 1 + int(random() % 8);
            for (int i = 0; i < changes; ++i)
                scrambled[random() % scrambled.size()] = std::uint8_t(random());
            std::optional<Surface> decoded = ImageDecoder::decode(scrambled);
            if (decoded) {
                EXPECT_FALSE(decoded->isEmpty());
                EXPECT_LE(decoded->width(), ImageDecoder::maximumSide);
            }
        }
    }
}

TEST(ImageDecoder, FilesAndPngWriting)
{
    TempFolder folder;
    Surface picture = testPicture();
    fs::path png = folder.path() / "shot.png";
    ASSERT_TRUE(PngWriter::write(picture, png));
    std::optional<Surface> back = ImageDecoder::decodeFile(png);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, picture);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1)
        << "no temporary file is left beside the picture";

    EXPECT_FALSE(PngWriter::write(Surface(), folder.path() / "empty.png"));
    EXPECT_FALSE(fs::exists(folder.path() / "empty.png"));
    EXPECT_FALSE(PngWriter::write(picture, folder.path() / "missing" / "shot.png"));
    EXPECT_TRUE(PngWriter::encode(Surface()).empty());

    EXPECT_FALSE(ImageDecoder::decodeFile(folder.path() / "absent.gif"));
    EXPECT_FALSE(ImageDecoder::decodeFile(folder.path())) << "a folder is no picture";
    fs::path empty = folder.path() / "empty.gif";
    std::ofstream(empty).close();
    EXPECT_FALSE(ImageDecoder::decodeFile(empty));

    // The checked-in pictures decode from their files too.
    std::optional<Surface> quadrants = ImageDecoder::decodeFile(fs::path(TAVREL_GFX_TEST_DATA) / "quadrants.gif");
    ASSERT_TRUE(quadrants);
    EXPECT_EQ(quadrants->pixel(7, 7), colours::white);
}

} // namespace
