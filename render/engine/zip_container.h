#pragma once

#include <span>

#include "render/engine/deflated_part.h"
#include "render/engine/replacing_file.h"

// Stores the already deflated `parts`, in order, as the entries of a zip container written to
// `file` (minizip in raw mode, so nothing is compressed twice). False when writing failed;
// `file` then says why.
bool WriteZipContainer(ReplacingFile& file, std::span<const DeflatedPart> parts);
