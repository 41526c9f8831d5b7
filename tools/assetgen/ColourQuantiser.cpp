#include "ColourQuantiser.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace assetgen {

namespace {

struct Weighted {
    gfx::Colour colour;
    std::uint64_t count;
};

unsigned channel(gfx::Colour colour, int index)
{
    return (colour >> (8 * index)) & 0xFFu;
}

struct Box {
    std::vector<Weighted> colours;

    int widestChannel(unsigned* range) const
    {
        int best = 0;
        *range = 0;
        for (int c = 0; c < 3; ++c) {
            unsigned low = 255, high = 0;
            for (const Weighted& w : colours) {
                low = std::min(low, channel(w.colour, c));
                high = std::max(high, channel(w.colour, c));
            }
            if (high - low >= *range) {
                *range = high - low;
                best = c;
            }
        }
        return best;
    }

    gfx::Colour mean() const
    {
        std::uint64_t sums[3] = {0, 0, 0};
        std::uint64_t total = 0;
        for (const Weighted& w : colours) {
            for (int c = 0; c < 3; ++c)
                sums[c] += channel(w.colour, c) * w.count;
            total += w.count;
        }
        return gfx::RGB(unsigned((sums[0] + total / 2) / total), unsigned((sums[1] + total / 2) / total),
                        unsigned((sums[2] + total / 2) / total));
    }
};

} // namespace

int ColourQuantiser::countColours(const gfx::Surface& picture)
{
    std::unordered_set<gfx::Colour> seen(picture.pixels().begin(), picture.pixels().end());
    return int(seen.size());
}

gfx::Surface ColourQuantiser::reduce(const gfx::Surface& picture, int maximumColours, std::optional<gfx::Colour> keep)
{
    std::unordered_map<gfx::Colour, std::uint64_t> histogram;
    for (gfx::Colour pixel : picture.pixels())
        ++histogram[pixel];
    if (int(histogram.size()) <= maximumColours)
        return picture;

    Box all;
    for (const auto& [colour, count] : histogram)
        if (!keep || colour != *keep)
            all.colours.push_back({colour, count});
    // A fixed order, so the result does not depend on the hash map's.
    std::sort(all.colours.begin(), all.colours.end(), [](const Weighted& a, const Weighted& b) { return a.colour < b.colour; });
    const int boxesWanted = maximumColours - (keep && histogram.count(*keep) ? 1 : 0);

    std::vector<Box> boxes{std::move(all)};
    while (int(boxes.size()) < boxesWanted) {
        // Split the box whose widest channel, weighted by its pixels, is the widest.
        std::size_t chosen = boxes.size();
        double bestScore = 0;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].colours.size() < 2)
                continue;
            unsigned range = 0;
            boxes[i].widestChannel(&range);
            std::uint64_t pixels = 0;
            for (const Weighted& w : boxes[i].colours)
                pixels += w.count;
            const double score = double(range) * double(pixels);
            if (score > bestScore) {
                bestScore = score;
                chosen = i;
            }
        }
        if (chosen == boxes.size())
            break;
        Box& box = boxes[chosen];
        unsigned range = 0;
        const int c = box.widestChannel(&range);
        std::stable_sort(box.colours.begin(), box.colours.end(),
                         [c](const Weighted& a, const Weighted& b) { return channel(a.colour, c) < channel(b.colour, c); });
        std::uint64_t total = 0;
        for (const Weighted& w : box.colours)
            total += w.count;
        std::uint64_t running = 0;
        std::size_t cut = 1;
        for (std::size_t i = 0; i + 1 < box.colours.size(); ++i) {
            running += box.colours[i].count;
            cut = i + 1;
            if (running * 2 >= total)
                break;
        }
        Box upper;
        upper.colours.assign(box.colours.begin() + std::ptrdiff_t(cut), box.colours.end());
        box.colours.resize(cut);
        boxes.push_back(std::move(upper));
    }

    std::unordered_map<gfx::Colour, gfx::Colour> replacement;
    for (const Box& box : boxes) {
        gfx::Colour mean = box.mean();
        if (keep && mean == *keep)
            mean ^= 1; // never turn a colour into the key
        for (const Weighted& w : box.colours)
            replacement[w.colour] = mean;
    }
    gfx::Surface result = picture;
    for (gfx::Colour& pixel : result.pixels())
        if (!keep || pixel != *keep)
            pixel = replacement[pixel];
    return result;
}

} // namespace assetgen
