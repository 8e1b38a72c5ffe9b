// The colour engine behind the colour-table work: collects the distinct
// colours the frames use with their pixel counts, orders them by how costly
// each is to lose (distance to the nearest other colour times its weight) and,
// when more than 255 remain, merges the cheapest into their nearest
// neighbours. The order is deterministic, so the same file always gives the
// same colour table and the same output bytes.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

struct ColourEntry {
    std::uint32_t colour;       // red x 65536 + green x 256 + blue
    std::uint64_t pixelCount;   // pixels of this colour over all frames
    std::uint64_t mergeWeight;  // grows as other colours merge into this one
    std::uint32_t newIndex;     // 255 or more: merged into mergeTarget
    std::uint32_t mergeTarget;  // entry this colour was merged into
};

// One slot of the colour tree: 0 is empty, a positive value is the inner
// node numbered value - 1, a negative value the leaf of entry -value - 1.
using ColourSlot = std::int32_t;

struct ColourTreeNode {
    ColourSlot slots[8];
    std::uint32_t searchMark;  // equals the search counter once searched
};

// An eight-way tree over the 24-bit colours. The root is at level 7; at
// level L a colour goes to the slot made of bit L of blue, green and red.
struct ColourTree {
    std::vector<ColourTreeNode> nodes;  // node 0 is the root
    std::vector<std::int32_t> freeNodes;
    std::uint32_t searchCounter = 0;
};

struct ColourSet {
    std::vector<ColourEntry> entries;
    ColourTree tree;
    std::unordered_map<std::uint32_t, std::uint32_t> entryOf;  // colour -> entry
};

ColourSet NewColourSet(std::size_t capacity = 256);
// Adds a colour with `weight` pixels, or adds the weight to a present colour.
void AddColour(ColourSet& set, std::uint32_t colour, std::uint64_t weight);
// Gives every entry its new index and merge target.
void OrderColours(ColourSet& set);
// The entry of the nearest other colour still in the tree, searched among the
// cells around the colour's own; entry 0 when none is found.
std::uint32_t NearestColour(ColourSet& set, std::uint32_t entry);
// The new index of a colour of the set, following merge targets.
std::uint32_t LookUpColour(const ColourSet& set, std::uint32_t colour);
