#include "platform/gfx/ImageResource.h"
#include "platform/gfx/ResourceTable.h"

#include <gtest/gtest.h>

using namespace gfx;

namespace {

// The test program embeds data/quadrants.gif as 140 and data/stripe.bmp as 141 with
// tavrel_embed_resources(), as the calendar embeds its pictures.
TEST(ImageResources, EmbeddedPicturesAreFoundByTypeAndId)
{
    std::optional<Surface> quadrants = loadImageResource(140);
    ASSERT_TRUE(quadrants);
    EXPECT_EQ(quadrants->size(), (Size{8, 8}));
    EXPECT_EQ(quadrants->pixel(0, 0), colours::red);
    EXPECT_EQ(quadrants->pixel(7, 0), colours::green);
    EXPECT_EQ(quadrants->pixel(0, 7), colours::blue);
    EXPECT_EQ(quadrants->pixel(7, 7), colours::white);

    std::optional<Surface> stripe = loadImageResource(141);
    ASSERT_TRUE(stripe);
    EXPECT_EQ(stripe->size(), (Size{3, 2}));
    EXPECT_EQ(stripe->pixel(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(stripe->pixel(2, 1), RGB(70, 80, 90));

    EXPECT_FALSE(loadImageResource(142)) << "an id nobody registered";
    EXPECT_TRUE(ResourceTable::program().find(u"image", 140)) << "types ignore case";
    EXPECT_FALSE(ResourceTable::program().find(u"ICON", 140)) << "other types are separate";
    std::vector<int> ids = ResourceTable::program().ids(u"IMAGE");
    EXPECT_NE(std::find(ids.begin(), ids.end(), 140), ids.end());
    EXPECT_NE(std::find(ids.begin(), ids.end(), 141), ids.end());
}

TEST(ImageResources, ATableOfItsOwn)
{
    static const std::uint8_t garbage[] = {'G', 'I', 'F', '8', '9', 'a', 1, 2, 3};
    ResourceTable table;
    table.add(u"IMAGE", 7, garbage);
    EXPECT_FALSE(loadImageResource(7, table)) << "bytes that do not decode give no picture";
    auto program = ResourceTable::program().find(u"IMAGE", 140);
    ASSERT_TRUE(program);
    table.add(u"IMAGE", 7, *program); // a later registration replaces an earlier one
    EXPECT_TRUE(loadImageResource(7, table));
    EXPECT_TRUE(table.remove(u"image", 7));
    EXPECT_FALSE(table.remove(u"IMAGE", 7));
    EXPECT_FALSE(loadImageResource(7, table));
    EXPECT_FALSE(loadImageResource(140, table)) << "the program's table is not searched";
}

} // namespace
