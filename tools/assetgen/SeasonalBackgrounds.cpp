#include "SeasonalBackgrounds.h"

#include "SceneParts.h"
#include "SeasonMotifs.h"

#include <cmath>

namespace assetgen {

namespace {

using gfx::RGB;
constexpr int W = SeasonalBackgrounds::width;
constexpr int H = SeasonalBackgrounds::height;
constexpr int factor = 3;

// January: a snowy hillside of firs under a pale winter sky, snow falling.
gfx::Surface january()
{
    SmoothCanvas c(W, H, factor, 0);
    SceneParts::sky(c, RGB(150, 185, 230), RGB(225, 238, 250), 150);
    SceneParts::hills(c, 120, 10, 190, 0.8, RGB(205, 220, 240));
    for (double x : {18.0, 52.0, 170.0, 205.0, 232.0})
        SceneParts::pineTree(c, x, SceneParts::hillTop(x, 120, 10, 190, 0.8) + 6, 46 + std::fmod(x, 17), RGB(40, 90, 80), true);
    SceneParts::hills(c, 170, 12, 260, 2.4, RGB(240, 246, 255));
    for (double x : {90.0, 128.0})
        SceneParts::pineTree(c, x, SceneParts::hillTop(x, 170, 12, 260, 2.4) + 8, 70, RGB(30, 80, 70), true);
    SceneRandom random(101);
    SceneParts::snowfall(c, random, 140, H, RGB(255, 255, 255));
    return c.reduce();
}

// February: a lavender dusk over snow, bare trees and a lit cottage.
gfx::Surface february()
{
    SmoothCanvas c(W, H, factor, 0);
    SceneParts::sky(c, RGB(150, 130, 200), RGB(250, 200, 210), 150);
    SceneParts::hills(c, 135, 14, 220, 1.5, RGB(215, 205, 235));
    SceneParts::house(c, 150, SceneParts::hillTop(170, 135, 14, 220, 1.5) + 10, 40, RGB(200, 120, 100),
                      RGB(120, 60, 70), true);
    SceneParts::hills(c, 175, 10, 300, 0.3, RGB(245, 240, 252));
    SceneParts::bareTree(c, 45, SceneParts::hillTop(45, 175, 10, 300, 0.3) + 6, 110, RGB(90, 60, 70));
    SceneParts::bareTree(c, 210, SceneParts::hillTop(210, 175, 10, 300, 0.3) + 6, 80, RGB(90, 60, 70));
    SeasonMotifs::draw(c, 2, {112, 60}, 24);
    SeasonMotifs::draw(c, 2, {70, 38}, 14);
    SceneRandom random(202);
    SceneParts::snowfall(c, random, 60, H, RGB(255, 250, 255));
    return c.reduce();
}

// March: green hills, a windy sky with clouds and two kites.
gfx::Surface march()
{
    SmoothCanvas c(W, H, factor, 0);
    SceneParts::sky(c, RGB(120, 175, 235), RGB(215, 235, 250), 140);
    SceneParts::cloud(c, 60, 40, 26, RGB(250, 252, 255));
    SceneParts::cloud(c, 185, 70, 20, RGB(245, 248, 255));
    SceneParts::hills(c, 140, 14, 210, 0.4, RGB(130, 190, 110));
    SceneParts::hills(c, 185, 10, 260, 2.0, RGB(100, 170, 80));
    // Kites with their strings down to the hill.
    auto kite = [&](double x, double y, gfx::Colour colour, gfx::Colour cross) {
        c.fillPolygon({{x, y - 14}, {x + 9, y}, {x, y + 16}, {x - 9, y}}, colour);
        c.line({x, y - 14}, {x, y + 16}, 0.8, cross);
        c.line({x - 9, y}, {x + 9, y}, 0.8, cross);
        c.line({x, y + 16}, {x - 22, y + 110}, 0.6, RGB(90, 90, 90));
        for (int bow = 0; bow < 3; ++bow)
            c.fillEllipse(x - 3 - bow * 4, y + 22 + bow * 9, x + 1 - bow * 4, y + 26 + bow * 9, cross);
    };
    kite(150, 40, RGB(240, 80, 70), RGB(255, 220, 80));
    kite(95, 85, RGB(80, 120, 230), RGB(250, 250, 250));
    SeasonMotifs::draw(c, 3, {30, 200}, 16);
    SeasonMotifs::draw(c, 3, {205, 210}, 12);
    return c.reduce();
}

// April: a shower passing, a rainbow over the fields and tulips in front.
gfx::Surface april()
{
    SmoothCanvas c(W, H, factor, 0);
    SceneParts::sky(c, RGB(165, 190, 220), RGB(225, 235, 245), 150);
    SceneParts::rainbow(c, 150, 170, 120, 6);
    SceneParts::cloud(c, 55, 35, 30, RGB(210, 215, 230));
    SceneParts::cloud(c, 205, 30, 22, RGB(220, 225, 238));
    for (int i = 0; i < 18; ++i) {
        const double x = 25 + i * 5.5;
        c.line({x, 55}, {x - 5, 80.0 + (i % 3) * 8}, 0.7, RGB(140, 160, 200));
    }
    SceneParts::hills(c, 150, 12, 230, 1.2, RGB(140, 200, 120));
    SceneParts::hills(c, 190, 8, 280, 0.2, RGB(110, 180, 90));
    SceneRandom random(404);
    const gfx::Colour petals[] = {RGB(240, 80, 110), RGB(250, 200, 60), RGB(230, 120, 200), RGB(255, 140, 70)};
    for (int i = 0; i < 16; ++i) {
        const double x = 10 + i * 14.5 + random.between(-3, 3);
        const double y = 200 + random.between(-8, 12);
        c.line({x, y}, {x, y + 14}, 1.2, RGB(50, 130, 50));
        const gfx::Colour petal = petals[i % 4];
        c.fillEllipse(x - 4, y - 6, x + 4, y + 2, petal);
        c.fillPolygon({{x - 4, y - 2}, {x - 4, y - 9}, {x - 1.5, y - 5}, {x, y - 9}, {x + 1.5, y - 5}, {x + 4, y - 9},
                       {x + 4, y - 2}},
                      petal);
    }
    return c.reduce();
}

// May: a meadow full of flowers and a tree in blossom.
gfx::Surface may()
{
    SmoothCanvas c(W, H, factor, 0);
    SceneParts::sky(c, RGB(110, 170, 240), RGB(210, 232, 250), 130);
    SceneParts::cloud(c, 170, 36, 22, RGB(255, 255, 255));
    SceneParts::hills(c, 130, 12, 240, 0.9, RGB(150, 205, 100));
    SceneParts::roundTree(c, 60, SceneParts::hillTop(60, 130, 12, 240, 0.9) + 25, 110, RGB(250, 190, 215),
                          RGB(230, 150, 185));
    SceneParts::hills(c, 175, 8, 300, 2.2, RGB(120, 190, 80));
    SceneRandom random(505);
    const gfx::Colour petals[] = {RGB(255, 255, 255), RGB(255, 220, 60), RGB(240, 110, 150), RGB(170, 130, 230)};
    for (int i = 0; i < 70; ++i) {
        const double x = random.between(0, W);
        const double y = random.between(160, H);
        const double r = 2 + (y - 160) / 25;
        SceneParts::flower(c, x, y, r, petals[i % 4], RGB(250, 200, 40));
    }
    return c.reduce();
}

// June: high summer, a big sun, green hills and a leafy tree.
gfx::Surface june()
{
    SmoothCanvas c(W, H, factor, 0);
    SceneParts::sky(c, RGB(70, 150, 240), RGB(200, 228, 252), 140);
    SceneParts::sun(c, 190, 45, 18, RGB(255, 240, 120), RGB(200, 228, 252));
    SceneParts::cloud(c, 60, 60, 20, RGB(255, 255, 255));
    SceneParts::hills(c, 140, 16, 200, 2.8, RGB(110, 190, 90));
    SceneParts::roundTree(c, 175, SceneParts::hillTop(175, 140, 16, 200, 2.8) + 30, 120, RGB(70, 160, 60),
                          RGB(40, 120, 40));
    SceneParts::hills(c, 185, 10, 260, 0.7, RGB(90, 170, 70));
    SceneRandom random(606);
    for (int i = 0; i < 25; ++i)
        SceneParts::flower(c, random.between(0, W), random.between(195, H), 2.5, RGB(255, 230, 80), RGB(240, 150, 40));
    return c.reduce();
}

// July: the beach, the sea with a sail and a palm.
gfx::Surface july()
{
    SmoothCanvas c(W, H, factor, 0);
    SceneParts::sky(c, RGB(60, 150, 235), RGB(190, 225, 250), 110);
    SceneParts::sun(c, 50, 40, 15, RGB(255, 245, 150), RGB(190, 225, 250));
    c.verticalGradient(110, 170, RGB(60, 160, 200), RGB(30, 110, 170));
    for (int i = 0; i < 9; ++i) {
        const double y = 118 + i * 6;
        const double x = 20 + (i * 47) % 200;
        c.line({x, y}, {x + 14, y}, 0.8, RGB(200, 235, 250));
    }
    SeasonMotifs::draw(c, 7, {150, 112}, 26);
    SceneParts::hills(c, 175, 6, 320, 1.9, RGB(240, 215, 150));
    // A palm leaning over the sand.
    const double px = 205, py = 205;
    for (int i = 0; i < 10; ++i)
        c.line({px - i * 2.2, py - i * 11}, {px - (i + 1) * 2.2, py - (i + 1) * 11}, 5 - i * 0.2, RGB(140, 95, 50));
    const PointF top{px - 22, py - 110};
    for (int frond = 0; frond < 6; ++frond) {
        const double a = -2.8 + frond * 0.62;
        const PointF tip{top.x + std::cos(a) * 38, top.y + std::sin(a) * 18 + 14};
        const PointF mid{top.x + std::cos(a) * 20, top.y + std::sin(a) * 14};
        c.fillPolygon({top, mid, tip, {mid.x, mid.y + 5}}, RGB(40, 140, 60));
    }
    c.fillEllipse(top.x - 4, top.y, top.x + 4, top.y + 7, RGB(120, 80, 40));
    return c.reduce();
}

// August: a field of sunflowers under a hot sky.
gfx::Surface august()
{
    SmoothCanvas c(W, H, factor, 0);
    SceneParts::sky(c, RGB(90, 160, 235), RGB(250, 225, 170), 120);
    SceneParts::sun(c, 200, 35, 14, RGB(255, 235, 140), RGB(250, 225, 170));
    SceneParts::hills(c, 120, 8, 250, 0.5, RGB(150, 170, 80));
    SceneParts::hills(c, 150, 6, 280, 1.5, RGB(120, 150, 60));
    SceneRandom random(808);
    for (int row = 0; row < 3; ++row) {
        const double y = 150 + row * 28;
        const double size = 12 + row * 6;
        for (double x = -10 + row * 9; x < W + 20; x += size * 1.9) {
            const double jitter = random.between(-3, 3);
            c.line({x + jitter, y}, {x + jitter, double(H)}, 1.5 + row * 0.6, RGB(60, 120, 40));
            SeasonMotifs::draw(c, 8, {x + jitter, y}, size);
        }
    }
    return c.reduce();
}

// September: an orchard of apple trees by a stubble field.
gfx::Surface september()
{
    SmoothCanvas c(W, H, factor, 0);
    SceneParts::sky(c, RGB(100, 160, 225), RGB(225, 235, 240), 130);
    SceneParts::cloud(c, 80, 40, 22, RGB(252, 252, 252));
    SceneParts::hills(c, 130, 10, 230, 2.5, RGB(210, 190, 110));
    for (int i = 0; i < 10; ++i) {
        const double y = 140 + i * 9;
        c.line({0, y}, {double(W), y + 6}, 0.8, RGB(185, 160, 80));
    }
    SceneRandom random(909);
    for (double x : {40.0, 120.0, 200.0}) {
        const double base = SceneParts::hillTop(x, 130, 10, 230, 2.5) + 60;
        SceneParts::roundTree(c, x, base, 95, RGB(90, 160, 60), RGB(60, 125, 40));
        for (int a = 0; a < 9; ++a) {
            const double ax = x + random.between(-26, 26);
            const double ay = base - 62 + random.between(-22, 16);
            c.fillEllipse(ax - 2.6, ay - 2.6, ax + 2.6, ay + 2.6, RGB(220, 40, 35));
        }
    }
    return c.reduce();
}

// October: a wood in autumn colours, leaves in the air and pumpkins on the ground.
gfx::Surface october()
{
    SmoothCanvas c(W, H, factor, 0);
    SceneParts::sky(c, RGB(120, 160, 215), RGB(250, 215, 170), 140);
    SceneParts::hills(c, 135, 12, 220, 0.3, RGB(190, 140, 70));
    const gfx::Colour crowns[] = {RGB(235, 120, 30), RGB(210, 60, 30), RGB(240, 180, 40), RGB(200, 90, 40)};
    int i = 0;
    for (double x : {20.0, 75.0, 130.0, 185.0, 235.0}) {
        const gfx::Colour crown = crowns[i++ % 4];
        SceneParts::roundTree(c, x, SceneParts::hillTop(x, 135, 12, 220, 0.3) + 45, 100 + std::fmod(x, 23), crown,
                              mix(crown, RGB(90, 30, 10), 0.3));
    }
    SceneParts::hills(c, 190, 6, 300, 1.1, RGB(170, 110, 50));
    SceneRandom random(1010);
    for (int l = 0; l < 30; ++l)
        SceneParts::leaf(c, random.between(0, W), random.between(10, 200), random.between(2.5, 4), random.next(),
                         crowns[l % 4]);
    for (double x : {60.0, 150.0, 172.0}) {
        const double y = 212;
        c.fillEllipse(x - 11, y - 8, x + 11, y + 8, RGB(230, 110, 20));
        c.fillEllipse(x - 4, y - 8, x + 4, y + 8, RGB(245, 140, 40));
        c.fillRect(x - 1.2, y - 12, x + 1.2, y - 7, RGB(90, 110, 40));
    }
    return c.reduce();
}

// November: a grey day, bare trees, brown hills, rain.
gfx::Surface november()
{
    SmoothCanvas c(W, H, factor, 0);
    SceneParts::sky(c, RGB(140, 150, 170), RGB(215, 215, 215), 140);
    SceneParts::cloud(c, 60, 35, 30, RGB(175, 180, 192));
    SceneParts::cloud(c, 185, 50, 26, RGB(185, 188, 198));
    for (int i = 0; i < 40; ++i) {
        const double x = (i * 37) % W;
        const double y = 60 + (i * 53) % 120;
        c.line({x, y}, {x - 3, y + 10}, 0.6, RGB(150, 160, 180));
    }
    SceneParts::hills(c, 140, 12, 240, 2.1, RGB(165, 135, 100));
    SceneParts::bareTree(c, 55, SceneParts::hillTop(55, 140, 12, 240, 2.1) + 25, 110, RGB(80, 60, 50));
    SceneParts::bareTree(c, 180, SceneParts::hillTop(180, 140, 12, 240, 2.1) + 30, 90, RGB(80, 60, 50));
    SceneParts::hills(c, 190, 8, 300, 0.4, RGB(145, 110, 75));
    SceneRandom random(1111);
    for (int l = 0; l < 35; ++l)
        SceneParts::leaf(c, random.between(0, W), random.between(195, H), random.between(2, 3.2), random.next(),
                         l % 2 ? RGB(170, 90, 40) : RGB(190, 130, 60));
    SeasonMotifs::draw(c, 11, {118, 212}, 16);
    return c.reduce();
}

// December: a winter evening, a village in the snow and a star over a decorated fir.
gfx::Surface december()
{
    SmoothCanvas c(W, H, factor, 0);
    SceneParts::sky(c, RGB(50, 70, 140), RGB(150, 160, 210), 150);
    SceneRandom stars(1212);
    for (int s = 0; s < 40; ++s) {
        const double x = stars.between(0, W);
        const double y = stars.between(0, 100);
        const double r = stars.between(0.5, 1.1);
        c.fillEllipse(x - r, y - r, x + r, y + r, RGB(255, 250, 220));
    }
    SeasonMotifs::draw(c, 12, {120, 30}, 22);
    SceneParts::hills(c, 140, 8, 260, 1.0, RGB(210, 220, 245));
    SceneParts::house(c, 30, SceneParts::hillTop(50, 140, 8, 260, 1.0) + 12, 40, RGB(170, 110, 90), RGB(240, 245, 255),
                      true);
    SceneParts::house(c, 165, SceneParts::hillTop(185, 140, 8, 260, 1.0) + 12, 44, RGB(150, 120, 140),
                      RGB(240, 245, 255), true);
    SceneParts::hills(c, 185, 6, 300, 2.5, RGB(240, 245, 255));
    SceneParts::pineTree(c, 120, 205, 90, RGB(30, 100, 60), true);
    SceneRandom baubles(1213);
    const gfx::Colour colours[] = {RGB(230, 40, 40), RGB(250, 210, 60), RGB(80, 140, 240)};
    for (int b = 0; b < 12; ++b) {
        const double y = baubles.between(125, 195);
        const double spread = (y - 115) * 0.35;
        const double x = 120 + baubles.between(-spread, spread);
        c.fillEllipse(x - 2, y - 2, x + 2, y + 2, colours[b % 3]);
    }
    SceneRandom snow(1214);
    SceneParts::snowfall(c, snow, 80, H, RGB(250, 252, 255));
    return c.reduce();
}

} // namespace

gfx::Surface SeasonalBackgrounds::month(int month)
{
    switch (month) {
    case 1: return january();
    case 2: return february();
    case 3: return march();
    case 4: return april();
    case 5: return may();
    case 6: return june();
    case 7: return july();
    case 8: return august();
    case 9: return september();
    case 10: return october();
    case 11: return november();
    default: return december();
    }
}

gfx::Surface SeasonalBackgrounds::builtIn()
{
    // Calm on purpose: a soft sky, a few clouds and gentle hills, behind any month.
    SmoothCanvas c(W, H, factor, 0);
    SceneParts::sky(c, RGB(140, 185, 240), RGB(230, 240, 250), 150);
    SceneParts::cloud(c, 50, 45, 22, RGB(255, 255, 255));
    SceneParts::cloud(c, 175, 75, 28, RGB(250, 252, 255));
    SceneParts::hills(c, 155, 12, 250, 1.3, RGB(170, 210, 150));
    SceneParts::hills(c, 190, 9, 300, 0.2, RGB(140, 195, 120));
    return c.reduce();
}

int SeasonalBackgrounds::fadeLevel(int month)
{
    // The darker evenings of February and December are laid on a little lighter.
    return month == 2 || month == 12 ? 40 : 50;
}

} // namespace assetgen
