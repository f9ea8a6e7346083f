// Which couriers may have issued a tracking number, judged by its prefix letters and length.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane::demo {

// 0 to 3 courier codes, most likely first; every code is in the catalogue. Letters count in
// either case; anything but letters and digits gives no candidate.
[[nodiscard]] std::vector<std::string> candidateCodes(std::string_view number);

// True when the courier with this code carries the number: it is one of the candidates.
[[nodiscard]] bool carries(std::string_view code, std::string_view number);

}  // namespace corvane::demo
