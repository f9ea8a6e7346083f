// The demo service's couriers: the well-known Chinese couriers with their usual codes, then
// invented ones generated the same way on every run. Texts here are UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane::demo {

struct Courier {
  std::string name;          // display name, e.g. 顺丰速运
  std::string shortName;     // e.g. 顺丰
  std::string code;          // ASCII, the query's type, e.g. shunfeng
  std::string telephone;     // customer line
  std::string sampleNumber;  // a number this courier carries, shown in the list as testnu
};

// Every courier, well-known ones first; at least 1,000, codes unique.
[[nodiscard]] const std::vector<Courier>& courierCatalog();

// The courier with this code, or null.
[[nodiscard]] const Courier* findCourier(std::string_view code);

}  // namespace corvane::demo
