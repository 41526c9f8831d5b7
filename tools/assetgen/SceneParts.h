#pragma once
// The pieces the seasonal backgrounds are built from: sky, hills, trees, clouds, flowers, snow and
// the rest, each drawn into a smooth canvas in final-pixel coordinates. Randomness (where the
// snowflakes fall, how the flowers scatter) comes from a seeded generator of our own, so every
// build draws the same pictures.

#include "SmoothCanvas.h"

#include <cstdint>

namespace assetgen {

// A small deterministic generator (xorshift), the same on every host and standard library.
class SceneRandom {
public:
    explicit SceneRandom(std::uint32_t seed) : m_state(seed ? seed : 1) {}
    // A number in [0, 1).
    double next();
    double between(double low, double high) { return low + (high - low) * next(); }

private:
    std::uint32_t m_state;
};

class SceneParts {
public:
    // The sky from `top` at y = 0 to `horizon` colour at y = `horizonY`.
    static void sky(SmoothCanvas& canvas, gfx::Colour top, gfx::Colour horizon, double horizonY);
    // Rolling ground whose top line is baseY plus two waves, filled down to the bottom.
    static void hills(SmoothCanvas& canvas, double baseY, double amplitude, double wavelength, double phase,
                      gfx::Colour colour);
    // The height of those hills at x (to stand things on them).
    static double hillTop(double x, double baseY, double amplitude, double wavelength, double phase);
    static void cloud(SmoothCanvas& canvas, double cx, double cy, double size, gfx::Colour colour);
    static void sun(SmoothCanvas& canvas, double cx, double cy, double radius, gfx::Colour colour, gfx::Colour glow);
    static void pineTree(SmoothCanvas& canvas, double x, double baseY, double height, gfx::Colour colour,
                         bool snowy);
    static void roundTree(SmoothCanvas& canvas, double x, double baseY, double height, gfx::Colour crown,
                          gfx::Colour shade);
    static void bareTree(SmoothCanvas& canvas, double x, double baseY, double height, gfx::Colour colour);
    static void flower(SmoothCanvas& canvas, double x, double y, double radius, gfx::Colour petal, gfx::Colour middle);
    static void snowfall(SmoothCanvas& canvas, SceneRandom& random, int count, double maxY, gfx::Colour colour);
    static void rainbow(SmoothCanvas& canvas, double cx, double cy, double radius, double bandWidth);
    static void leaf(SmoothCanvas& canvas, double x, double y, double size, double turns, gfx::Colour colour);
    static void house(SmoothCanvas& canvas, double x, double baseY, double width, gfx::Colour wall, gfx::Colour roof,
                      bool lit);
};

} // namespace assetgen
