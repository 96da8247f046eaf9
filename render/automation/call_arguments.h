#pragma once

#include <span>

#include "render/automation/variant.h"

// The arguments of one invocation. Positional arguments come in the member's declared order,
// first parameter first; an omitted one is Variant::Missing(). A property put also carries
// the value to store as its named argument, apart from the positional ones.
struct CallArguments {
  std::span<const Variant> positional;
  const Variant* propertyValue = nullptr;
};
