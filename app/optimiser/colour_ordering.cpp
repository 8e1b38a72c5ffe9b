#include "app/optimiser/colour_ordering.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kRootLevel = 7;
constexpr std::int32_t kRoot = 0;
constexpr int kNoDistance = 768;  // more than any two colours differ

int Red(std::uint32_t colour) {
    return static_cast<int>((colour >> 16) & 0xFF);
}
int Green(std::uint32_t colour) {
    return static_cast<int>((colour >> 8) & 0xFF);
}
int Blue(std::uint32_t colour) {
    return static_cast<int>(colour & 0xFF);
}

int Distance(std::uint32_t a, std::uint32_t b) {
    return std::abs(Red(a) - Red(b)) + std::abs(Green(a) - Green(b)) + std::abs(Blue(a) - Blue(b));
}

int ChildAt(std::uint32_t colour, int level) {
    return ((Blue(colour) >> level) & 1) | (((Green(colour) >> level) & 1) << 1) |
           (((Red(colour) >> level) & 1) << 2);
}

bool IsLeaf(ColourSlot slot) {
    return slot < 0;
}
bool IsNode(ColourSlot slot) {
    return slot > 0;
}
ColourSlot LeafSlot(std::uint32_t entry) {
    return -static_cast<ColourSlot>(entry) - 1;
}
std::uint32_t LeafEntry(ColourSlot slot) {
    return static_cast<std::uint32_t>(-slot - 1);
}
ColourSlot NodeSlot(std::int32_t node) {
    return node + 1;
}
std::int32_t SlotNode(ColourSlot slot) {
    return slot - 1;
}

std::int32_t NewNode(ColourTree& tree) {
    ColourTreeNode empty{{0, 0, 0, 0, 0, 0, 0, 0}, 0};
    if (!tree.freeNodes.empty()) {
        std::int32_t node = tree.freeNodes.back();
        tree.freeNodes.pop_back();
        tree.nodes[static_cast<std::size_t>(node)] = empty;
        return node;
    }
    tree.nodes.push_back(empty);
    return static_cast<std::int32_t>(tree.nodes.size() - 1);
}

ColourSlot& SlotOf(ColourTree& tree, std::int32_t node, int child) {
    return tree.nodes[static_cast<std::size_t>(node)].slots[child];
}

// The nodes on a colour's path, indexed by level, down to the node whose
// slot holds the colour's leaf; that node's level is the leaf level.
struct ColourPath {
    std::int32_t nodeAt[kRootLevel + 1];
    int leafLevel;
};

ColourPath PathTo(const ColourSet& set, std::uint32_t entry) {
    const std::uint32_t colour = set.entries[entry].colour;
    ColourPath path{};
    std::int32_t node = kRoot;
    for (int level = kRootLevel; level >= 0; --level) {
        path.nodeAt[level] = node;
        ColourSlot slot =
            set.tree.nodes[static_cast<std::size_t>(node)].slots[ChildAt(colour, level)];
        if (!IsNode(slot)) {
            path.leafLevel = level;
            return path;
        }
        node = SlotNode(slot);
    }
    path.leafLevel = 0;
    return path;
}

void RemoveFromTree(ColourSet& set, std::uint32_t entry) {
    ColourTree& tree = set.tree;
    const std::uint32_t colour = set.entries[entry].colour;
    ColourPath path = PathTo(set, entry);
    SlotOf(tree, path.nodeAt[path.leafLevel], ChildAt(colour, path.leafLevel)) = 0;
    // Back up the path: an empty node goes, and a node holding a single leaf
    // hands that leaf up to its parent.
    for (int level = path.leafLevel; level < kRootLevel; ++level) {
        const std::int32_t node = path.nodeAt[level];
        int used = 0;
        ColourSlot only = 0;
        for (ColourSlot slot : tree.nodes[static_cast<std::size_t>(node)].slots) {
            if (slot != 0) {
                ++used;
                only = slot;
            }
        }
        if (used > 1 || (used == 1 && !IsLeaf(only))) {
            return;
        }
        SlotOf(tree, path.nodeAt[level + 1], ChildAt(colour, level + 1)) = only;
        tree.freeNodes.push_back(node);
    }
}

// Compares c with every colour under `node` not searched yet in this search.
void CompareUnder(const ColourSet& set, ColourTree& tree, std::int32_t node, std::uint32_t colour,
                  int* best, std::uint32_t* result) {
    ColourTreeNode& searched = tree.nodes[static_cast<std::size_t>(node)];
    if (searched.searchMark == tree.searchCounter) {
        return;
    }
    searched.searchMark = tree.searchCounter;
    for (int child = 0; child < 8; ++child) {
        ColourSlot slot = tree.nodes[static_cast<std::size_t>(node)].slots[child];
        if (IsNode(slot)) {
            CompareUnder(set, tree, SlotNode(slot), colour, best, result);
        } else if (IsLeaf(slot)) {
            int distance = Distance(set.entries[LeafEntry(slot)].colour, colour);
            if (distance > 0 && distance < *best) {
                *best = distance;
                *result = LeafEntry(slot);
            }
        }
    }
}

// Up to three values per axis: the last below the colour's cell at the leaf
// level, the colour's own value, the first above the cell.
int AxisCandidates(int value, int level, int* out) {
    const int span = 1 << (level + 1);
    const int cellStart = value & ~(span - 1) & 0xFF;
    const int cellEnd = cellStart + span - 1;
    int count = 0;
    if (cellStart > 0) {
        out[count++] = cellStart - 1;
    }
    out[count++] = value;
    if (cellEnd < 255) {
        out[count++] = cellEnd + 1;
    }
    return count;
}

// The highest bit at which two colours differ in any component, or -1.
int PartingLevel(std::uint32_t a, std::uint32_t b) {
    std::uint32_t differing = a ^ b;
    std::uint32_t bits = ((differing >> 16) | (differing >> 8) | differing) & 0xFF;
    int level = -1;
    for (; bits != 0; bits >>= 1) {
        ++level;
    }
    return level;
}

}  // namespace

std::uint32_t NearestColour(ColourSet& set, std::uint32_t entry) {
    ColourTree& tree = set.tree;
    ++tree.searchCounter;
    const std::uint32_t colour = set.entries[entry].colour;
    const ColourPath path = PathTo(set, entry);
    const int leafLevel = path.leafLevel;
    int reds[3], greens[3], blues[3];
    const int redCount = AxisCandidates(Red(colour), leafLevel, reds);
    const int greenCount = AxisCandidates(Green(colour), leafLevel, greens);
    const int blueCount = AxisCandidates(Blue(colour), leafLevel, blues);
    int best = kNoDistance;
    std::uint32_t result = 0;
    for (int r = 0; r < redCount; ++r) {
        for (int g = 0; g < greenCount; ++g) {
            for (int b = 0; b < blueCount; ++b) {
                const std::uint32_t probe =
                    static_cast<std::uint32_t>((reds[r] << 16) | (greens[g] << 8) | blues[b]);
                if (Distance(probe, colour) >= best) {
                    continue;
                }
                int level = std::max(PartingLevel(probe, colour), leafLevel);
                std::int32_t node = path.nodeAt[level];
                while (level > leafLevel) {
                    ColourSlot slot = SlotOf(tree, node, ChildAt(probe, level));
                    if (!IsNode(slot)) {
                        break;
                    }
                    node = SlotNode(slot);
                    --level;
                }
                CompareUnder(set, tree, node, colour, &best, &result);
            }
        }
    }
    return result;
}

namespace {

// One colour during the ordering.
struct MergeNode {
    std::uint32_t nearest;
    std::vector<std::uint32_t> nearestOf;  // entries whose nearest colour this is
    std::uint64_t cost;
    std::size_t queuePosition;
};

// A binary min-heap of entries keyed by their merge cost.
struct MergeQueue {
    std::vector<MergeNode>& nodes;
    std::vector<std::uint32_t> heap;

    std::uint64_t CostAt(std::size_t position) const { return nodes[heap[position]].cost; }

    void Swap(std::size_t a, std::size_t b) {
        std::swap(heap[a], heap[b]);
        nodes[heap[a]].queuePosition = a;
        nodes[heap[b]].queuePosition = b;
    }

    void Add(std::uint32_t entry) {
        heap.push_back(entry);
        std::size_t position = heap.size() - 1;
        nodes[entry].queuePosition = position;
        while (position > 0 && CostAt((position - 1) / 2) > CostAt(position)) {
            Swap(position, (position - 1) / 2);
            position = (position - 1) / 2;
        }
    }

    // Moves a node whose cost has grown down to its place; equal costs move
    // down too, and the left child goes first when both children are equal.
    void MoveDown(std::size_t position) {
        for (;;) {
            std::size_t child = 2 * position + 1;
            if (child >= heap.size()) {
                return;
            }
            if (child + 1 < heap.size() && CostAt(child + 1) < CostAt(child)) {
                ++child;
            }
            if (CostAt(child) > CostAt(position)) {
                return;
            }
            Swap(position, child);
            position = child;
        }
    }

    std::uint32_t TakeCheapest() {
        std::uint32_t cheapest = heap.front();
        heap.front() = heap.back();
        nodes[heap.front()].queuePosition = 0;
        heap.pop_back();
        if (!heap.empty()) {
            MoveDown(0);
        }
        return cheapest;
    }
};

std::uint64_t CostOf(const ColourSet& set, std::uint32_t entry, std::uint32_t nearest) {
    const ColourEntry& e = set.entries[entry];
    return static_cast<std::uint64_t>(Distance(e.colour, set.entries[nearest].colour)) *
           e.mergeWeight;
}

void LinkNearest(ColourSet& set, std::vector<MergeNode>& nodes, std::uint32_t entry) {
    const std::uint32_t nearest = NearestColour(set, entry);
    nodes[entry].nearest = nearest;
    nodes[nearest].nearestOf.push_back(entry);
    nodes[entry].cost = CostOf(set, entry, nearest);
}

void Unlink(std::vector<MergeNode>& nodes, std::uint32_t entry) {
    std::vector<std::uint32_t>& list = nodes[nodes[entry].nearest].nearestOf;
    list.erase(std::find(list.begin(), list.end(), entry));
}

// Merges a taken colour into its nearest colour and finds new neighbours for
// the colours that had it as theirs.
void MergeIntoNearest(ColourSet& set, std::vector<MergeNode>& nodes, MergeQueue& queue,
                      std::uint32_t taken) {
    const std::uint32_t target = nodes[taken].nearest;
    RemoveFromTree(set, taken);
    Unlink(nodes, taken);
    set.entries[target].mergeWeight += set.entries[taken].mergeWeight;
    nodes[target].cost = CostOf(set, target, nodes[target].nearest);
    queue.MoveDown(nodes[target].queuePosition);
    std::vector<std::uint32_t> orphans;
    orphans.swap(nodes[taken].nearestOf);
    for (std::uint32_t orphan : orphans) {
        LinkNearest(set, nodes, orphan);
        queue.MoveDown(nodes[orphan].queuePosition);
    }
}

}  // namespace

ColourSet NewColourSet(std::size_t capacity) {
    ColourSet set;
    set.entries.reserve(capacity);
    NewNode(set.tree);  // the root
    return set;
}

void AddColour(ColourSet& set, std::uint32_t colour, std::uint64_t weight) {
    colour &= 0xFFFFFF;
    ColourTree& tree = set.tree;
    std::int32_t node = kRoot;
    for (int level = kRootLevel; level >= 0; --level) {
        ColourSlot& slot = SlotOf(tree, node, ChildAt(colour, level));
        if (IsNode(slot)) {
            node = SlotNode(slot);
            continue;
        }
        if (IsLeaf(slot)) {
            ColourEntry& present = set.entries[LeafEntry(slot)];
            if (present.colour == colour) {
                present.pixelCount += weight;
                present.mergeWeight += weight;
                return;
            }
            // Two colours share this slot: push the present one a level down.
            const ColourSlot moved = slot;
            const std::int32_t inner = NewNode(tree);  // may move the node storage
            SlotOf(tree, node, ChildAt(colour, level)) = NodeSlot(inner);
            SlotOf(tree, inner, ChildAt(set.entries[LeafEntry(moved)].colour, level - 1)) = moved;
            node = inner;
            continue;
        }
        const auto entry = static_cast<std::uint32_t>(set.entries.size());
        set.entries.push_back(ColourEntry{colour, weight, weight, 0, entry});
        set.entryOf.emplace(colour, entry);
        slot = LeafSlot(entry);
        return;
    }
}

void OrderColours(ColourSet& set) {
    const auto count = static_cast<std::uint32_t>(set.entries.size());
    std::vector<MergeNode> nodes(count);
    MergeQueue queue{nodes, {}};
    queue.heap.reserve(count);
    for (std::uint32_t entry = 0; entry < count; ++entry) {
        LinkNearest(set, nodes, entry);
        queue.Add(entry);
    }
    for (std::uint32_t k = 0; k < count; ++k) {
        const std::uint32_t taken = queue.TakeCheapest();
        ColourEntry& entry = set.entries[taken];
        if (queue.heap.empty()) {
            entry.mergeTarget = taken;
        } else {
            entry.mergeTarget = nodes[taken].nearest;
            if (queue.heap.size() != 1) {
                MergeIntoNearest(set, nodes, queue, taken);
            }
        }
        entry.newIndex = count - 1 - k;
    }
}

std::uint32_t LookUpColour(const ColourSet& set, std::uint32_t colour) {
    auto found = set.entryOf.find(colour & 0xFFFFFF);
    if (found == set.entryOf.end()) {
        return 0;
    }
    std::uint32_t entry = found->second;
    // Merge targets lead to colours taken later, so the walk ends.
    for (std::uint32_t steps = 0; set.entries[entry].newIndex >= 255 && steps < set.entries.size();
         ++steps) {
        entry = set.entries[entry].mergeTarget;
    }
    return set.entries[entry].newIndex;
}
