// Pictures made to exhaust memory: a few bytes whose header claims a huge picture are refused
// before anything is allocated for it, and a device that runs out of memory while decoding a
// picture within the limits gets a picture that does not decode, not a program that ends.
//
// To run out of memory on purpose, this test program replaces the global operator new: while
// `failFrom` is set, every request of that many bytes or more fails with std::bad_alloc, as it
// would under a memory limit. Outside these tests it allocates as usual.

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
#include <atomic>
#include <cstdlib>
#include <new>
#include <random>

namespace {

std::atomic<std::size_t> failFrom{0}; // 0: never fail

} // namespace

// The replacements allocate with malloc and free with free; GCC cannot tell that they belong
// together once they are inlined into the callers of this file.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size)
{
    const std::size_t limit = failFrom.load(std::memory_order_relaxed);
    if (limit != 0 && size >= limit)
        throw std::bad_alloc();
    if (void* memory = std::malloc(size ? size : 1))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept { std::free(memory); }

void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

namespace {

using namespace gfx;
using Bytes = std::vector<std::uint8_t>;

class AllocationsFailFrom {
public:
    explicit AllocationsFailFrom(std::size_t bytes) { failFrom = bytes; }
    ~AllocationsFailFrom() { failFrom = 0; }
    AllocationsFailFrom(const AllocationsFailFrom&) = delete;
    AllocationsFailFrom& operator=(const AllocationsFailFrom&) = delete;
};

void putLittleEndian16(Bytes& bytes, std::size_t at, int value)
{
    bytes[at] = std::uint8_t(value & 0xFF);
    bytes[at + 1] = std::uint8_t(value >> 8);
}

// A GIF of one pixel on a logical screen of the given size (the 35-byte bomb when it is large).
Bytes gifOnScreen(int width, int height)
{
    Bytes bytes = GifCodec::encode(Surface(1, 1, colours::red));
    putLittleEndian16(bytes, 6, width);
    putLittleEndian16(bytes, 8, height);
    return bytes;
}

void appendBytes(void* context, void* data, int size)
{
    auto* out = static_cast<Bytes*>(context);
    auto* bytes = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

// A small JPEG whose frame header claims width × height.
Bytes jpegClaiming(int width, int height)
{
    std::vector<std::uint8_t> rgb(16 * 16 * 3, 0x80);
    Bytes out;
    stbi_write_jpg_to_func(appendBytes, &out, 16, 16, 3, rgb.data(), 90);
    const std::uint8_t marker[] = {0xFF, 0xC0};
    auto frame = std::search(out.begin(), out.end(), std::begin(marker), std::end(marker));
    if (frame == out.end())
        return {};
    const std::size_t at = std::size_t(frame - out.begin()) + 5; // marker, length, precision
    out[at] = std::uint8_t(height >> 8);
    out[at + 1] = std::uint8_t(height & 0xFF);
    out[at + 2] = std::uint8_t(width >> 8);
    out[at + 3] = std::uint8_t(width & 0xFF);
    return out;
}

// A PNG whose header claims width × height.
Bytes pngClaiming(int width, int height)
{
    Bytes bytes = PngWriter::encode(Surface(2, 2, colours::blue));
    for (int i = 0; i < 4; ++i) {
        bytes[16 + std::size_t(i)] = std::uint8_t(std::uint32_t(width) >> (24 - 8 * i));
        bytes[20 + std::size_t(i)] = std::uint8_t(std::uint32_t(height) >> (24 - 8 * i));
    }
    return bytes;
}

TEST(PictureMemory, HeadersClaimingMoreThanTheDeviceTakesAreRefusedBeforeAllocating)
{
    // Anything near these sizes would show as an allocation of hundreds of megabytes; with the
    // limit in force not even one megabyte may be asked for.
    const Bytes bomb = gifOnScreen(8192, 8192);
    EXPECT_LE(bomb.size(), 40u) << "a few dozen bytes claiming a 256 MB picture";
    const Bytes refused[] = {
        bomb,
        gifOnScreen(4096, 4096),  // each side within the limit, 16.8 million pixels in all
        gifOnScreen(4097, 1),
        jpegClaiming(10000, 10000),
        jpegClaiming(4097, 16),
        pngClaiming(5000, 2),
        pngClaiming(4000, 4001),
    };
    AllocationsFailFrom guard(1024 * 1024);
    for (const Bytes& bytes : refused) {
        ASSERT_FALSE(bytes.empty());
        std::optional<Surface> decoded;
        EXPECT_NO_THROW(decoded = ImageDecoder::decode(bytes)) << int(ImageDecoder::detectFormat(bytes));
        EXPECT_FALSE(decoded) << int(ImageDecoder::detectFormat(bytes)) << " of " << bytes.size() << " bytes";
    }
}

TEST(PictureMemory, PicturesAtTheLimitsStillDecode)
{
    EXPECT_TRUE(ImageDecoder::fitsLimits(4096, 3906));
    EXPECT_FALSE(ImageDecoder::fitsLimits(4096, 3907)); // 16,003,072 pixels
    EXPECT_FALSE(ImageDecoder::fitsLimits(0, 10));
    std::optional<Surface> strip = ImageDecoder::decode(gifOnScreen(4096, 2));
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip->size(), (Size{4096, 2}));
    std::optional<Surface> tall = ImageDecoder::decode(PngWriter::encode(Surface(1, 4096, colours::green)));
    ASSERT_TRUE(tall);
    EXPECT_EQ(tall->pixel(0, 4095), colours::green);
}

TEST(PictureMemory, RunningOutOfMemoryWhileDecodingIsAPictureThatDoesNotLoad)
{
    // 1000 × 1000 needs 4 MB for its pixels; the device has less to give.
    const Surface picture(1000, 1000, colours::blue);
    const Bytes formats[] = {GifCodec::encode(picture), PngWriter::encode(picture), gifOnScreen(1000, 1000)};
    for (const Bytes& bytes : formats) {
        ASSERT_FALSE(bytes.empty());
        {
            AllocationsFailFrom guard(1024 * 1024);
            std::optional<Surface> decoded;
            EXPECT_NO_THROW(decoded = ImageDecoder::decode(bytes)) << int(ImageDecoder::detectFormat(bytes));
            EXPECT_FALSE(decoded);
        }
        EXPECT_TRUE(ImageDecoder::decode(bytes)) << "with memory to spare the same bytes decode";
    }
}

TEST(PictureMemory, RandomSizesInHeadersNeverAskForMoreThanTheLimits)
{
    // Any allocation beyond the largest picture the limits allow fails the decoding it is in.
    AllocationsFailFrom guard(std::size_t(ImageDecoder::maximumPixels) * sizeof(Colour) + 1);
    std::mt19937 random(20260317);
    const int sides[] = {1, 2, 240, 1000, 3999, 4096, 4097, 8192, 10000, 30000, 65535};
    auto side = [&] { return random() % 4 == 0 ? int(1 + random() % 65535) : sides[random() % std::size(sides)]; };
    int refused = 0;
    for (int round = 0; round < 40; ++round) {
        const int width = side();
        const int height = side();
        SCOPED_TRACE(testing::Message() << width << " x " << height);
        for (const Bytes& bytes : {gifOnScreen(width, height), jpegClaiming(width, height), pngClaiming(width, height)}) {
            std::optional<Surface> decoded;
            EXPECT_NO_THROW(decoded = ImageDecoder::decode(bytes)) << int(ImageDecoder::detectFormat(bytes));
            if (decoded) {
                EXPECT_TRUE(ImageDecoder::fitsLimits(decoded->width(), decoded->height()));
            } else {
                ++refused;
            }
        }
    }
    EXPECT_GT(refused, 40);
}

} // namespace
