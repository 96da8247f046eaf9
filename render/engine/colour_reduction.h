#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Excel refuses a workbook with more than 65,430 cell formats, and every fill colour of
// a sheet costs one. A sheet keeps at most this many distinct colours when it is saved,
// which leaves room for the default format and a margin.
inline constexpr std::size_t kMostSheetColours = 64000;

// Chooses, for each of the distinct `colours` (0x00BBGGRR), the colour it is saved as, so
// that at most `limit` (at least 1) distinct colours remain. `pixelCounts[i]` is how many
// cells hold `colours[i]`; colours used by many cells are kept closer to themselves.
//
// With at most `limit` colours every colour is its own replacement. Above it, colours that
// lie close together are merged, the closest groups first, and each group is replaced by
// the pixel-weighted mean of its members. The result depends only on the input: the same
// colours and counts, in any order, give the same replacements.
std::vector<std::uint32_t> ReduceColours(std::span<const std::uint32_t> colours,
                                         std::span<const std::uint32_t> pixelCounts,
                                         std::size_t limit);
