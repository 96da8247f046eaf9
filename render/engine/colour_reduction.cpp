#include "render/engine/colour_reduction.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <utility>

#include "canvas/colour_value.h"

// The colours are merged inside the cells of a grid over the RGB cube that starts as fine
// as the colours themselves (one colour per cell) and halves its resolution step by step:
// 2×2×2 cells, then 4×4×4, and so on. Ordering the colours by their Morton code (the bits
// of red, green and blue interleaved, most significant first) makes every cell of every
// step one contiguous run of that order, so a step is a single scan. Each step merges the
// groups inside a cell only as far as needed: when merging every cell of a step would go
// below the limit, the cells whose merge adds the least squared error per colour saved
// are merged first, and the reduction stops there.

namespace {

// Spreads the 8 bits of a channel to every third bit of a 24-bit word.
std::uint32_t SpreadBits(std::uint32_t channel) {
  channel = (channel | channel << 8) & 0x00F00Fu;
  channel = (channel | channel << 4) & 0x0C30C3u;
  channel = (channel | channel << 2) & 0x249249u;
  return channel;
}

std::uint32_t MortonKey(ColourValue colour) {
  return SpreadBits(RedOf(colour)) << 2 | SpreadBits(GreenOf(colour)) << 1 |
         SpreadBits(BlueOf(colour));
}

struct KeyedColour {
  std::uint32_t key;
  std::uint32_t index;  // into the caller's colours
};

// Radix sort on the 24-bit key, two passes of 12 bits: linear in the colour count.
std::vector<KeyedColour> SortByMortonKey(std::span<const std::uint32_t> colours) {
  constexpr int kBits = 12;
  constexpr std::uint32_t kBuckets = 1u << kBits;
  std::vector<KeyedColour> sorted(colours.size());
  std::vector<KeyedColour> scratch(colours.size());
  for (std::size_t i = 0; i < colours.size(); ++i) {
    scratch[i] = {MortonKey(colours[i]), static_cast<std::uint32_t>(i)};
  }
  std::vector<std::uint32_t> offsets(kBuckets);
  for (int pass = 0; pass < 2; ++pass) {
    const int shift = pass * kBits;
    std::fill(offsets.begin(), offsets.end(), 0u);
    for (const KeyedColour& entry : scratch) ++offsets[(entry.key >> shift) & (kBuckets - 1)];
    std::uint32_t running = 0;
    for (std::uint32_t& offset : offsets) running += std::exchange(offset, running);
    for (const KeyedColour& entry : scratch) {
      sorted[offsets[(entry.key >> shift) & (kBuckets - 1)]++] = entry;
    }
    if (pass == 0) std::swap(sorted, scratch);
  }
  return sorted;
}

// A group of colours that will share one replacement: a run of the sorted colours (up to
// the next group's start) with the sums that give its pixel-weighted mean.
struct Group {
  std::uint32_t begin = 0;  // into the sorted colours
  std::uint32_t firstKey = 0;
  double weight = 0;
  std::array<double, 3> sum{};  // weight × channel, summed: red, green, blue

  double SquaredNormOverWeight() const {
    return (sum[0] * sum[0] + sum[1] * sum[1] + sum[2] * sum[2]) / weight;
  }
};

// The groups of one grid cell that may become one.
struct Candidate {
  std::uint32_t firstGroup;
  std::uint32_t groupCount;
  double costPerColourSaved;  // added squared error / (groupCount - 1)
};

std::vector<Group> OneGroupPerColour(const std::vector<KeyedColour>& sorted,
                                     std::span<const std::uint32_t> colours,
                                     std::span<const std::uint32_t> pixelCounts) {
  std::vector<Group> groups(sorted.size());
  for (std::uint32_t i = 0; i < sorted.size(); ++i) {
    const ColourValue colour = colours[sorted[i].index];
    // A colour that no cell holds still needs a replacement; let it weigh as one cell.
    const double weight = std::max<std::uint32_t>(pixelCounts[sorted[i].index], 1u);
    groups[i] = {i, sorted[i].key, weight,
                 {weight * RedOf(colour), weight * GreenOf(colour), weight * BlueOf(colour)}};
  }
  return groups;
}

// The cells of the grid step that hold more than one group, in key order.
std::vector<Candidate> CellsToMerge(const std::vector<Group>& groups, int shift) {
  std::vector<Candidate> candidates;
  std::uint32_t first = 0;
  while (first < groups.size()) {
    const std::uint32_t cell = groups[first].firstKey >> shift;
    std::uint32_t last = first + 1;
    double separateTerms = groups[first].SquaredNormOverWeight();
    Group merged = groups[first];
    while (last < groups.size() && (groups[last].firstKey >> shift) == cell) {
      separateTerms += groups[last].SquaredNormOverWeight();
      merged.weight += groups[last].weight;
      for (int c = 0; c < 3; ++c) merged.sum[c] += groups[last].sum[c];
      ++last;
    }
    const std::uint32_t count = last - first;
    if (count > 1) {
      // Squared error of the merged group less that of its parts: the sums of squares
      // cancel, leaving the parts' |sum|²/weight less the merged one's.
      const double addedError = separateTerms - merged.SquaredNormOverWeight();
      candidates.push_back({first, count, addedError / (count - 1)});
    }
    first = last;
  }
  return candidates;
}

// Keeps the cheapest candidates that together save at least `excess` colours.
void KeepCheapestCandidates(std::vector<Candidate>& candidates,
                            const std::vector<Group>& groups, std::size_t excess) {
  std::sort(candidates.begin(), candidates.end(), [&](const Candidate& a, const Candidate& b) {
    if (a.costPerColourSaved != b.costPerColourSaved) {
      return a.costPerColourSaved < b.costPerColourSaved;
    }
    return groups[a.firstGroup].firstKey < groups[b.firstGroup].firstKey;
  });
  std::size_t saved = 0;
  std::size_t kept = 0;
  while (saved < excess) saved += candidates[kept++].groupCount - 1;
  candidates.resize(kept);
  std::sort(candidates.begin(), candidates.end(),
            [](const Candidate& a, const Candidate& b) { return a.firstGroup < b.firstGroup; });
}

// Replaces the groups of each candidate (sorted by firstGroup) by their union, in place:
// the groups only ever shrink in number, so no second copy is needed.
void MergeCandidates(std::vector<Group>& groups, const std::vector<Candidate>& candidates) {
  std::size_t kept = 0;
  std::size_t next = 0;
  auto keepUpTo = [&](std::size_t end) {
    while (next < end) groups[kept++] = groups[next++];
  };
  for (const Candidate& candidate : candidates) {
    keepUpTo(candidate.firstGroup);
    Group uniting = groups[next++];
    for (std::uint32_t joined = 1; joined < candidate.groupCount; ++joined, ++next) {
      uniting.weight += groups[next].weight;
      for (int c = 0; c < 3; ++c) uniting.sum[c] += groups[next].sum[c];
    }
    groups[kept++] = uniting;
  }
  keepUpTo(groups.size());
  groups.resize(kept);
}

ColourValue MeanColour(const Group& group) {
  auto channel = [&](int c) {
    const double mean = group.sum[c] / group.weight + 0.5;
    return static_cast<std::uint8_t>(std::clamp(mean, 0.0, 255.0));
  };
  return MakeColourValue(channel(0), channel(1), channel(2));
}

}  // namespace

std::vector<std::uint32_t> ReduceColours(std::span<const std::uint32_t> colours,
                                         std::span<const std::uint32_t> pixelCounts,
                                         std::size_t limit) {
  assert(colours.size() == pixelCounts.size());
  limit = std::max<std::size_t>(limit, 1);
  std::vector<std::uint32_t> replacements(colours.begin(), colours.end());
  if (colours.size() <= limit) return replacements;

  const std::vector<KeyedColour> sorted = SortByMortonKey(colours);
  std::vector<Group> groups = OneGroupPerColour(sorted, colours, pixelCounts);
  // Cells of side 2, 4, ... 256: a cell is the colours sharing the key's top bits.
  for (int shift = 3; groups.size() > limit; shift += 3) {
    std::vector<Candidate> candidates = CellsToMerge(groups, shift);
    std::size_t colourSaving = 0;
    for (const Candidate& candidate : candidates) colourSaving += candidate.groupCount - 1;
    const std::size_t excess = groups.size() - limit;
    if (colourSaving > excess) KeepCheapestCandidates(candidates, groups, excess);
    MergeCandidates(groups, candidates);
  }

  for (std::size_t g = 0; g < groups.size(); ++g) {
    const ColourValue mean = MeanColour(groups[g]);
    const std::size_t end = g + 1 < groups.size() ? groups[g + 1].begin : sorted.size();
    for (std::size_t i = groups[g].begin; i < end; ++i) replacements[sorted[i].index] = mean;
  }
  return replacements;
}
