#include "render/engine/colour_reduction.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <ostream>
#include <set>
#include <vector>

#include "bench/photo_like_picture.h"

namespace {

using ::testing::ElementsAre;
using ::testing::Each;
using ::testing::Eq;

std::uint32_t Rgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  return red | green << 8 | blue << 16;
}

int Channel(std::uint32_t colour, int c) { return static_cast<int>(colour >> (8 * c) & 0xFF); }

std::size_t DistinctCount(const std::vector<std::uint32_t>& colours) {
  return std::set<std::uint32_t>(colours.begin(), colours.end()).size();
}


TEST(ColourReduction, KeepsEveryColourUpToTheLimit) {
  const PhotoLikePicture picture = MakePhotoLikePicture(200, 150, 6000);
  const Histogram histogram = HistogramOf(picture.pixels);
  for (const std::size_t limit : {histogram.colours.size(), histogram.colours.size() + 1, kMostSheetColours}) {
    EXPECT_EQ(ReduceColours(histogram.colours, histogram.counts, limit), histogram.colours)
        << "limit " << limit;
  }
  EXPECT_THAT(ReduceColours({}, {}, 10), ::testing::IsEmpty());
}

TEST(ColourReduction, MergesTheClosestColoursFirst) {
  // Two near-blacks one step apart, a grey, a red: one merge is needed, and it is the
  // near-blacks, into their mean weighted by pixels (3 × 0 and 1 × 4 make 1).
  const std::vector<std::uint32_t> colours = {Rgb(0, 0, 0), Rgb(4, 4, 4), Rgb(100, 100, 100),
                                              Rgb(200, 0, 0)};
  const std::vector<std::uint32_t> counts = {3, 1, 5, 5};
  EXPECT_THAT(ReduceColours(colours, counts, 3),
              ElementsAre(Rgb(1, 1, 1), Rgb(1, 1, 1), Rgb(100, 100, 100), Rgb(200, 0, 0)));
}

TEST(ColourReduction, ALimitOfOneLeavesTheMeanColour) {
  const std::vector<std::uint32_t> colours = {Rgb(10, 0, 255), Rgb(30, 90, 255), Rgb(20, 30, 0)};
  const std::vector<std::uint32_t> counts = {1, 1, 2};
  EXPECT_THAT(ReduceColours(colours, counts, 1), Each(Eq(Rgb(20, 38, 128))));
}

TEST(ColourReduction, DependsOnlyOnTheColoursNotTheirOrder) {
  const PhotoLikePicture picture = MakePhotoLikePicture(160, 120, 12000);
  Histogram histogram = HistogramOf(picture.pixels);
  const std::vector<std::uint32_t> first = ReduceColours(histogram.colours, histogram.counts, 3000);
  std::map<std::uint32_t, std::uint32_t> replacementOf;
  for (std::size_t i = 0; i < first.size(); ++i) replacementOf[histogram.colours[i]] = first[i];

  std::reverse(histogram.colours.begin(), histogram.colours.end());
  std::reverse(histogram.counts.begin(), histogram.counts.end());
  std::rotate(histogram.colours.begin(), histogram.colours.begin() + 77, histogram.colours.end());
  std::rotate(histogram.counts.begin(), histogram.counts.begin() + 77, histogram.counts.end());
  const std::vector<std::uint32_t> again = ReduceColours(histogram.colours, histogram.counts, 3000);
  for (std::size_t i = 0; i < again.size(); ++i) {
    ASSERT_EQ(again[i], replacementOf.at(histogram.colours[i])) << "colour " << histogram.colours[i];
  }
}

// A photograph's worth of colours, far over the limit, comes out within the limit and close
// to the original: what a viewer would not tell apart.
struct Photo {
  std::size_t colours;
  double largestMeanError;  // per channel, over all pixels
  int largestError;         // per channel, any pixel
  friend void PrintTo(const Photo& photo, std::ostream* out) { *out << photo.colours << " colours"; }
};

class PhotoReduction : public ::testing::TestWithParam<Photo> {};

TEST_P(PhotoReduction, StaysWithinTheLimitWithSmallError) {
  const PhotoLikePicture picture = MakePhotoLikePicture(800, 600, GetParam().colours);
  ASSERT_GT(picture.distinctColours, kMostSheetColours);
  const Histogram histogram = HistogramOf(picture.pixels);
  const std::vector<std::uint32_t> replacements =
      ReduceColours(histogram.colours, histogram.counts, kMostSheetColours);
  EXPECT_LE(DistinctCount(replacements), kMostSheetColours);
  EXPECT_GT(DistinctCount(replacements), kMostSheetColours * 99 / 100) << "no needless merging";

  double errorSum[3] = {};
  int largest = 0;
  for (std::size_t i = 0; i < histogram.colours.size(); ++i) {
    for (int c = 0; c < 3; ++c) {
      const int error = std::abs(Channel(histogram.colours[i], c) - Channel(replacements[i], c));
      errorSum[c] += static_cast<double>(error) * histogram.counts[i];
      largest = std::max(largest, error);
    }
  }
  for (int c = 0; c < 3; ++c) {
    EXPECT_LT(errorSum[c] / static_cast<double>(picture.pixels.size()), GetParam().largestMeanError)
        << "channel " << c;
  }
  EXPECT_LE(largest, GetParam().largestError);
}

INSTANTIATE_TEST_SUITE_P(Photos, PhotoReduction,
                         ::testing::Values(Photo{150000, 0.5, 2}, Photo{300000, 1.0, 4}),
                         [](const auto& named) {
                           return "colours" + std::to_string(named.param.colours);
                         });

}  // namespace
