// The progress of a parcel, made up from the courier and the number: the same pair always
// gives the same story. Texts are UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "demo/courier_catalog.h"

namespace corvane::demo {

struct ProgressEntry {
  std::string time;      // "YYYY-MM-DD HH:MM:SS"
  std::string context;   // place and progress text
  std::string location;  // the city
};

// 3 to 15 entries, oldest first, times strictly increasing.
[[nodiscard]] std::vector<ProgressEntry> progressEntries(const Courier& courier,
                                                         std::string_view number);

}  // namespace corvane::demo
