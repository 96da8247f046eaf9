#pragma once

#include <string>

// The width and height in pixels of the picture held in the file at `path`: what the
// picture decoder gives for the file's bytes (a picture too large to show is measured
// all the same), else what the bitmap loader gives, else 0 (also when the file cannot be
// read). Each call reads the file anew and answers for it as it is at that moment.
//
// The conversion asks for the width once per row, so the last answer is remembered with
// the bytes it came from: a query of exactly the same bytes gives it again without a
// decode, which is what a decode would give, since decoding depends on the bytes alone.
int PictureWidth(const std::string& path);
int PictureHeight(const std::string& path);
