// The bodies of the demo service's three answers, in the shapes Corvane reads them by.
#pragma once

#include <string>
#include <string_view>

namespace corvane::demo {

// GET /js/share/company.js? : a script of single-quoted groups, one per courier, UTF-8.
[[nodiscard]] const std::string& companyListScript();

// POST /autonumber/auto?num=... : an ASCII JSON list of 0 to 3 candidate groups.
[[nodiscard]] std::string recognitionAnswer(std::string_view number);

// GET /query?type=...&postid=... : UTF-8 JSON of the parcel's progress, oldest entry first,
// or the rejection message when the courier does not carry the number.
[[nodiscard]] std::string trackingAnswer(std::string_view code, std::string_view number);

// The rejection text the tracking answer carries, ending with a full-width colon.
inline constexpr std::string_view kRejectionMarker = "快递公司参数异常：";

// A few numbers answer badly on purpose, so that a user can see how Corvane copes.
enum class Quirk {
  none,
  emptyRecognition,      // 800000000000: the recognition answer has no body
  slow,                  // 800000000001: recognition and tracking answer after kSlowSeconds
  emptyTracking,         // 800000000002: the tracking answer has no body
  malformedTracking,     // 800000000003: the tracking answer is cut short and holds bad bytes
  malformedRecognition,  // 800000000004: the recognition answer's list is never closed
};
inline constexpr int kSlowSeconds = 3;

[[nodiscard]] Quirk quirkOf(std::string_view number);

// The recognition and tracking answers with the number's quirk applied.
[[nodiscard]] std::string recognitionAnswerWithQuirk(std::string_view number);
[[nodiscard]] std::string trackingAnswerWithQuirk(std::string_view code, std::string_view number);

// The query value after "key=" in a raw request target, up to "&stopAt" (or the end when
// stopAt is empty), with %XX escapes decoded. Raw, so that a number holding "&" stays whole.
[[nodiscard]] std::string queryValue(std::string_view target, std::string_view key,
                                     std::string_view stopAt);

}  // namespace corvane::demo
