#include "demo/recognition.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "demo/courier_catalog.h"

namespace corvane::demo {
namespace {

struct PrefixRule {
  std::string_view prefix;
  std::array<std::string_view, 2> codes;  // an empty second code: one candidate
};

// Longer prefixes first, so that SFKY wins over SF.
constexpr std::array<PrefixRule, 27> kPrefixRules = {{
    {"SFKY", {"shunfengkuaiyun", ""}},
    {"ZTKY", {"zhongtongkuaiyun", ""}},
    {"BSKY", {"baishiwuliu", ""}},
    {"YMDD", {"yimidida", ""}},
    {"JDV", {"jd", ""}},
    {"JDX", {"jd", ""}},
    {"RRS", {"rrs", ""}},
    {"DPK", {"debangkuaidi", "debangwuliu"}},
    {"DPL", {"debangwuliu", ""}},
    {"DHL", {"dhl", ""}},
    {"TNT", {"tnt", ""}},
    {"FDX", {"fedex", ""}},
    {"ZJS", {"zhaijisong", ""}},
    {"1Z", {"ups", ""}},
    {"SF", {"shunfeng", "shunfengkuaiyun"}},
    {"JD", {"jd", ""}},
    {"JT", {"jtexpress", ""}},
    {"YT", {"yuantong", ""}},
    {"KY", {"kuayue", ""}},
    {"AN", {"annengwuliu", ""}},
    {"UC", {"youshuwuliu", ""}},
    {"FW", {"fengwang", "shunfeng"}},
    {"CN", {"danniao", ""}},
    {"ZY", {"zhongyouex", ""}},
    {"SN", {"suning", ""}},
    {"GT", {"guotongkuaidi", ""}},
    {"SE", {"suer", ""}},
}};

bool allDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isAlnum(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Two letters, nine digits, CN: the international postal format.
bool isPostalFormat(std::string_view n) {
  return n.size() == 13 && std::isupper(static_cast<unsigned char>(n[0])) &&
         std::isupper(static_cast<unsigned char>(n[1])) && allDigits(n.substr(2, 9)) &&
         n.substr(11) == "CN";
}

std::vector<std::string> byDigits(std::string_view n) {
  const auto starts = [&](std::string_view p) { return n.starts_with(p); };
  switch (n.size()) {
    case 10:
      if (starts("10") || starts("11")) return {"ems", "youzhengguonei"};
      return {};
    case 12:
      if (starts("7")) return {"zhongtong", "shentong"};
      if (starts("8")) return {"zhongtong", "yunda", "shentong"};
      if (starts("2") || starts("3")) return {"shunfeng"};
      if (starts("5")) return {"debangkuaidi"};
      return {};
    case 13:
      if (starts("43") || starts("46") || starts("31")) return {"yunda"};
      if (starts("77") || starts("88")) return {"shentong"};
      if (starts("98") || starts("99")) return {"youzhengguonei", "ems"};
      if (starts("55")) return {"huitongkuaidi"};
      if (starts("66")) return {"tiantian", "yunda"};
      return {"yunda", "zhongtong"};
    case 14:
      if (starts("75") || starts("78")) return {"zhongtong"};
      return {};
    case 15:
      return {"zhongtong", "yuantong"};
    default:
      return {};
  }
}

// DM, four digits naming an invented courier by its place in the catalogue, eight digits.
std::vector<std::string> byInventedFormat(std::string_view n) {
  if (n.size() != 14 || !n.starts_with("DM") || !allDigits(n.substr(2))) return {};
  const auto index = static_cast<std::size_t>(std::stoi(std::string(n.substr(2, 4))));
  const auto& catalog = courierCatalog();
  if (index >= catalog.size()) return {};
  return {catalog[index].code};
}

}  // namespace

std::vector<std::string> candidateCodes(std::string_view number) {
  if (number.size() < 8 || number.size() > 24 ||
      !std::all_of(number.begin(), number.end(), isAlnum)) {
    return {};
  }
  std::string n(number);
  for (char& c : n) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));

  if (allDigits(n)) return byDigits(n);
  if (isPostalFormat(n)) return {"ems", "youzhengguonei"};
  if (n.starts_with("DM")) return byInventedFormat(n);
  for (const PrefixRule& rule : kPrefixRules) {
    if (!n.starts_with(rule.prefix)) continue;
    std::vector<std::string> codes{std::string(rule.codes[0])};
    if (!rule.codes[1].empty()) codes.emplace_back(rule.codes[1]);
    return codes;
  }
  return {};
}

bool carries(std::string_view code, std::string_view number) {
  const auto codes = candidateCodes(number);
  return std::find(codes.begin(), codes.end(), code) != codes.end();
}

}  // namespace corvane::demo
