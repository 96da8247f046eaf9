#include "render/engine/fill_palette.h"

#include <bit>

namespace {

// Numbers colours in the order they are first seen. Open addressing that stays at most half
// full and grows with the palette, so a small palette stays inside the processor's caches.
class ColourNumbering {
 public:
  ColourNumbering() { Rehash(1u << 12); }

  // The number (from 1) of `colour`, which gets the next number when it is new.
  std::uint32_t NumberOf(std::uint32_t colour) {
    std::uint32_t slot = SlotOf(colour);
    while (slots_[slot].colour != colour) {
      if (slots_[slot].colour == kEmpty) return Add(colour, slot);
      slot = (slot + 1) & mask_;
    }
    return slots_[slot].number;
  }

  const std::vector<std::uint32_t>& colours() const { return colours_; }

 private:
  static constexpr std::uint32_t kEmpty = kNoFill;  // never a colour: colours have 24 bits
  struct Slot {
    std::uint32_t colour = kEmpty;
    std::uint32_t number = 0;
  };

  std::uint32_t SlotOf(std::uint32_t colour) const {
    return (colour * 0x9E3779B1u) >> shift_;  // Fibonacci hashing: the top bits mix best
  }

  std::uint32_t Add(std::uint32_t colour, std::uint32_t slot) {
    colours_.push_back(colour);
    const auto number = static_cast<std::uint32_t>(colours_.size());
    slots_[slot] = {colour, number};
    if (colours_.size() * 2 > slots_.size()) Rehash(static_cast<std::uint32_t>(slots_.size() * 2));
    return number;
  }

  void Rehash(std::uint32_t slotCount) {
    slots_.assign(slotCount, Slot{});
    mask_ = slotCount - 1;
    shift_ = 32 - std::countr_zero(slotCount);
    for (std::uint32_t i = 0; i < colours_.size(); ++i) {
      std::uint32_t slot = SlotOf(colours_[i]);
      while (slots_[slot].colour != kEmpty) slot = (slot + 1) & mask_;
      slots_[slot] = {colours_[i], i + 1};
    }
  }

  std::vector<Slot> slots_;
  std::vector<std::uint32_t> colours_;
  std::uint32_t mask_ = 0;
  int shift_ = 0;
};

// Renumbers the fills after reduction: replacement colours that coincide share a number,
// still in the order in which the cells first use them.
void ApplyReplacements(FillPalette& palette, const std::vector<std::uint32_t>& replacements) {
  ColourNumbering numbering;
  std::vector<std::uint32_t> renumbered(replacements.size());
  for (std::size_t i = 0; i < replacements.size(); ++i) {
    renumbered[i] = numbering.NumberOf(replacements[i]);
  }
  for (std::uint32_t& fill : palette.cellFills) {
    if (fill != 0) fill = renumbered[fill - 1];
  }
  palette.colours = numbering.colours();
}

}  // namespace

FillPalette BuildFillPalette(const SheetContent& sheet, std::size_t limit) {
  FillPalette palette;
  const bool hasCells = sheet.fills != nullptr && sheet.rows > 0 && sheet.columns > 0;
  const std::size_t cellCount =
      hasCells ? static_cast<std::size_t>(sheet.rows) * static_cast<std::size_t>(sheet.columns) : 0;
  palette.cellFills.resize(cellCount);
  ColourNumbering numbering;
  std::vector<std::uint32_t> pixelCounts;
  for (std::size_t cell = 0; cell < cellCount; ++cell) {
    const std::uint32_t fill = sheet.fills[cell];
    if (fill == kNoFill) continue;  // cellFills stays 0
    const std::uint32_t number = numbering.NumberOf(fill & 0xFFFFFFu);
    if (number > pixelCounts.size()) pixelCounts.push_back(0);
    ++pixelCounts[number - 1];
    palette.cellFills[cell] = number;
  }
  palette.colours = numbering.colours();
  palette.distinctColours = palette.colours.size();
  if (palette.colours.size() > limit) {
    ApplyReplacements(palette, ReduceColours(palette.colours, pixelCounts, limit));
  }
  return palette;
}
