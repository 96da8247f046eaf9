#pragma once
// Deterministic pictures with the colour statistics of a photograph, for the benchmarks and
// the tests of saving: smooth shaded shapes over a gradient, with film grain. The grain and a
// posterising step are chosen so that the picture holds about the number of distinct colours
// asked for.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

struct PhotoLikePicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00BBGGRR, row by row
  std::size_t distinctColours = 0;
};

namespace photo_like {

// Smooth light over the picture and the grain of each pixel, before any rounding.
struct Field {
  int width, height;
  std::vector<float> smooth;  // 3 per pixel
  std::vector<float> grain;   // 3 per pixel, in [-1, 1]
};

inline float Noise(std::uint32_t seed) {  // a hash, not a generator: no state to carry
  seed ^= seed >> 16;
  seed *= 0x7FEB352Du;
  seed ^= seed >> 15;
  seed *= 0x846CA68Bu;
  seed ^= seed >> 16;
  return static_cast<float>(seed & 0xFFFF) / 32767.5f - 1.0f;
}

inline Field MakeField(int width, int height) {
  Field field{width, height, {}, {}};
  const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
  field.smooth.resize(count);
  field.grain.resize(count);
  struct Disc { double x, y, radius, r, g, b; };
  const Disc discs[] = {{0.3, 0.4, 0.22, 220, 120, 60},
                        {0.7, 0.6, 0.28, 60, 140, 200},
                        {0.55, 0.25, 0.12, 240, 220, 90}};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double u = x / double(width), v = y / double(height);
      double rgb[3] = {90 + 110 * v + 25 * std::sin(7 * u + 3 * v),
                       120 + 70 * std::sin(3 * u - 2 * v) + 20 * std::cos(11 * v),
                       200 - 120 * v + 30 * std::cos(5 * u)};
      for (const Disc& disc : discs) {
        const double d = std::hypot(u - disc.x, (v - disc.y) * height / width) / disc.radius;
        if (d >= 1) continue;
        const double light = 0.55 + 0.45 * std::cos(d * 1.5) - 0.25 * (u - disc.x);
        rgb[0] = disc.r * light;
        rgb[1] = disc.g * light;
        rgb[2] = disc.b * light;
      }
      const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
      for (int c = 0; c < 3; ++c) {
        field.smooth[at + c] = static_cast<float>(rgb[c]);
        field.grain[at + c] = Noise(static_cast<std::uint32_t>(at + c) * 2654435761u + 12345u);
      }
    }
  }
  return field;
}

inline std::vector<std::uint32_t> Render(const Field& field, float grain, int step) {
  std::vector<std::uint32_t> pixels(field.smooth.size() / 3);
  for (std::size_t p = 0; p < pixels.size(); ++p) {
    std::uint32_t colour = 0;
    for (int c = 0; c < 3; ++c) {
      const float value = field.smooth[p * 3 + c] + grain * field.grain[p * 3 + c];
      const float stepped = std::round(value / step) * step;
      colour |= static_cast<std::uint32_t>(std::clamp(stepped, 0.0f, 255.0f)) << (8 * c);
    }
    pixels[p] = colour;
  }
  return pixels;
}

inline std::size_t CountDistinct(const std::vector<std::uint32_t>& pixels) {
  std::vector<std::uint64_t> seen(1u << 18);
  std::size_t distinct = 0;
  for (const std::uint32_t colour : pixels) {
    std::uint64_t& word = seen[colour >> 6];
    const std::uint64_t bit = std::uint64_t{1} << (colour & 63);
    distinct += (word & bit) == 0;
    word |= bit;
  }
  return distinct;
}

}  // namespace photo_like

// A width × height picture with about `targetColours` distinct colours.
inline PhotoLikePicture MakePhotoLikePicture(int width, int height, std::size_t targetColours) {
  const photo_like::Field field = photo_like::MakeField(width, height);
  PhotoLikePicture best{width, height, {}, 0};
  auto consider = [&](std::vector<std::uint32_t> pixels) {
    const std::size_t distinct = photo_like::CountDistinct(pixels);
    const auto miss = [&](std::size_t n) { return n > targetColours ? n - targetColours : targetColours - n; };
    if (best.pixels.empty() || miss(distinct) < miss(best.distinctColours)) {
      best.pixels = std::move(pixels);
      best.distinctColours = distinct;
    }
    return distinct;
  };
  // The coarsest posterising step that still allows the count, then the grain by bisection.
  for (int step = 1; step <= 32; ++step) {
    if (consider(photo_like::Render(field, 0, step)) > targetColours) continue;
    float low = 0, high = 96;
    for (int round = 0; round < 24; ++round) {
      const float middle = (low + high) / 2;
      (consider(photo_like::Render(field, middle, step)) < targetColours ? low : high) = middle;
    }
    break;
  }
  return best;
}

// The colours of a picture and how many pixels hold each.
struct Histogram {
  std::vector<std::uint32_t> colours;
  std::vector<std::uint32_t> counts;
};

inline Histogram HistogramOf(const std::vector<std::uint32_t>& pixels) {
  std::map<std::uint32_t, std::uint32_t> counted;
  for (const std::uint32_t pixel : pixels) ++counted[pixel];
  Histogram histogram;
  for (const auto& [colour, count] : counted) {
    histogram.colours.push_back(colour);
    histogram.counts.push_back(count);
  }
  return histogram;
}
