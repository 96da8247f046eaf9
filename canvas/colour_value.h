#pragma once
// The colour value shared by the canvas, the colour picker and the spreadsheet:
// 0x00BBGGRR, red in the low byte and the top byte 0 for every real colour.

#include <cstdint>

using ColourValue = std::uint32_t;

// What the canvas reports for a point outside its drawing area.
inline constexpr ColourValue kNoColour = 0xFFFFFFFFu;

constexpr ColourValue MakeColourValue(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return ColourValue{red} | ColourValue{green} << 8 | ColourValue{blue} << 16;
}
constexpr std::uint8_t RedOf(ColourValue colour) { return colour & 0xFF; }
constexpr std::uint8_t GreenOf(ColourValue colour) { return (colour >> 8) & 0xFF; }
constexpr std::uint8_t BlueOf(ColourValue colour) { return (colour >> 16) & 0xFF; }
