#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <vector>

#include "app/optimiser/colour_ordering.h"

namespace {

std::uint32_t Rgb(int r, int g, int b) {
    return static_cast<std::uint32_t>((r << 16) | (g << 8) | b);
}

std::vector<std::uint32_t> RandomColours(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::set<std::uint32_t> distinct;
    while (distinct.size() < count) {
        distinct.insert(random() & 0xFFFFFF);
    }
    std::vector<std::uint32_t> colours(distinct.begin(), distinct.end());
    std::shuffle(colours.begin(), colours.end(), random);
    return colours;
}

ColourSet OrderedSet(const std::vector<std::uint32_t>& colours) {
    ColourSet set = NewColourSet();
    std::uint64_t weight = 1;
    for (std::uint32_t colour : colours) {
        AddColour(set, colour, weight);
        weight = weight * 7 % 1000 + 1;
    }
    OrderColours(set);
    return set;
}

TEST(ColourOrderingTest, SingleColourGetsIndexZeroAndIsItsOwnTarget) {
    ColourSet set = NewColourSet();
    AddColour(set, Rgb(10, 20, 30), 5);
    EXPECT_EQ(NearestColour(set, 0), 0u);
    OrderColours(set);
    EXPECT_EQ(set.entries[0].newIndex, 0u);
    EXPECT_EQ(set.entries[0].mergeTarget, 0u);
    EXPECT_EQ(LookUpColour(set, Rgb(10, 20, 30)), 0u);
}

TEST(ColourOrderingTest, PresentColourOnlyGainsPixels) {
    ColourSet set = NewColourSet();
    AddColour(set, Rgb(1, 2, 3), 5);
    AddColour(set, Rgb(200, 2, 3), 1);
    AddColour(set, Rgb(1, 2, 3), 7);
    ASSERT_EQ(set.entries.size(), 2u);
    EXPECT_EQ(set.entries[0].colour, Rgb(1, 2, 3));
    EXPECT_EQ(set.entries[0].pixelCount, 12u);
}

TEST(ColourOrderingTest, TieGoesToTheColourMetFirst) {
    ColourSet set = NewColourSet();
    AddColour(set, Rgb(100, 100, 100), 1);  // entry 0
    AddColour(set, Rgb(102, 100, 100), 1);  // entry 1: distance 2, in the same cell
    AddColour(set, Rgb(98, 100, 100), 1);   // entry 2: distance 2, met earlier
    EXPECT_EQ(NearestColour(set, 0), 2u);
    EXPECT_EQ(NearestColour(set, 1), 0u);
}

TEST(ColourOrderingTest, NearestColourIsFoundAcrossCells) {
    ColourSet set = NewColourSet();
    AddColour(set, Rgb(127, 0, 0), 1);  // entry 0
    AddColour(set, Rgb(128, 0, 0), 1);  // entry 1: other side of the top split
    AddColour(set, Rgb(0, 0, 0), 1);
    AddColour(set, Rgb(255, 255, 255), 1);
    EXPECT_EQ(NearestColour(set, 0), 1u);
    EXPECT_EQ(NearestColour(set, 1), 0u);
}

TEST(ColourOrderingTest, UpTo255ColoursKeepAPlaceOfTheirOwn) {
    for (std::size_t count : {2u, 17u, 255u}) {
        std::vector<std::uint32_t> colours = RandomColours(count, static_cast<unsigned>(count));
        ColourSet set = OrderedSet(colours);
        std::vector<std::uint32_t> indices;
        for (std::uint32_t colour : colours) {
            indices.push_back(LookUpColour(set, colour));
        }
        std::sort(indices.begin(), indices.end());
        for (std::uint32_t i = 0; i < count; ++i) {
            EXPECT_EQ(indices[i], i) << count << " colours";
        }
    }
}

TEST(ColourOrderingTest, CheapestColourIsReleasedFirstWithTheHighestIndex) {
    ColourSet set = NewColourSet();
    AddColour(set, Rgb(0, 0, 0), 1000);
    AddColour(set, Rgb(255, 255, 255), 1000);
    AddColour(set, Rgb(250, 255, 255), 1);  // close to white and rare
    OrderColours(set);
    EXPECT_EQ(set.entries[2].newIndex, 2u);
    EXPECT_EQ(set.entries[2].mergeTarget, 1u);
}

TEST(ColourOrderingTest, With256ColoursExactlyOneIsMergedIntoItsTarget) {
    std::vector<std::uint32_t> colours = RandomColours(256, 256);
    ColourSet set = OrderedSet(colours);
    int merged = 0;
    for (const ColourEntry& entry : set.entries) {
        if (entry.newIndex >= 255) {
            ++merged;
            EXPECT_EQ(entry.newIndex, 255u);
            EXPECT_EQ(LookUpColour(set, entry.colour), set.entries[entry.mergeTarget].newIndex);
            EXPECT_LT(LookUpColour(set, entry.colour), 255u);
        }
    }
    EXPECT_EQ(merged, 1);
}

TEST(ColourOrderingTest, ManyColoursAllLookUpToOneOf255Places) {
    std::vector<std::uint32_t> colours = RandomColours(3000, 3000);
    ColourSet set = OrderedSet(colours);
    std::set<std::uint32_t> used;
    for (std::uint32_t colour : colours) {
        std::uint32_t index = LookUpColour(set, colour);
        ASSERT_LT(index, 255u);
        used.insert(index);
    }
    EXPECT_EQ(used.size(), 255u);
    // The order depends on nothing but the input.
    ColourSet again = OrderedSet(colours);
    for (std::size_t i = 0; i < colours.size(); ++i) {
        ASSERT_EQ(again.entries[i].newIndex, set.entries[i].newIndex);
    }
}

}  // namespace
