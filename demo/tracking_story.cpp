#include "demo/tracking_story.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>

namespace corvane::demo {
namespace {

struct City {
  const char* province;  // empty for the municipalities
  const char* name;
};

constexpr std::array<City, 24> kCities = {{
    {"", "北京市"},          {"", "上海市"},          {"", "天津市"},
    {"", "重庆市"},          {"广东省", "广州市"},    {"广东省", "深圳市"},
    {"浙江省", "杭州市"},    {"浙江省", "义乌市"},    {"江苏省", "南京市"},
    {"江苏省", "苏州市"},    {"四川省", "成都市"},    {"湖北省", "武汉市"},
    {"陕西省", "西安市"},    {"山东省", "济南市"},    {"山东省", "青岛市"},
    {"河南省", "郑州市"},    {"湖南省", "长沙市"},    {"福建省", "厦门市"},
    {"辽宁省", "沈阳市"},    {"云南省", "昆明市"},    {"安徽省", "合肥市"},
    {"黑龙江省", "哈尔滨市"}, {"广西壮族自治区", "南宁市"}, {"新疆维吾尔自治区", "乌鲁木齐市"},
}};

constexpr std::array<const char*, 8> kDistricts = {
    "高新区", "经开区", "城北", "城南", "东湖", "西城", "滨江", "新区",
};
constexpr std::array<const char*, 8> kCouriersStaff = {
    "张师傅", "王师傅", "李师傅", "刘师傅", "陈师傅", "杨师傅", "赵师傅", "黄师傅",
};
constexpr std::array<const char*, 4> kSignedBy = {
    "本人", "家人", "前台", "快递柜",
};

// FNV-1a over the courier code and the number: the story's seed.
std::uint64_t seedOf(std::string_view code, std::string_view number) {
  std::uint64_t h = 1469598103934665603ull;
  for (const std::string_view part : {code, std::string_view("/"), number}) {
    for (const char c : part) {
      h ^= static_cast<unsigned char>(c);
      h *= 1099511628211ull;
    }
  }
  return h;
}

// splitmix64: a small generator that is the same everywhere.
struct Dice {
  std::uint64_t state;
  std::uint64_t next() {
    std::uint64_t z = (state += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
  }
  int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
};

std::string placeName(const City& city) { return std::string(city.province) + city.name; }

std::string formatTime(std::chrono::sys_seconds t) {
  using namespace std::chrono;
  const auto day = floor<days>(t);
  const year_month_day ymd{day};
  const hh_mm_ss hms{t - day};
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u %02d:%02d:%02d", static_cast<int>(ymd.year()),
                static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                static_cast<int>(hms.hours().count()), static_cast<int>(hms.minutes().count()),
                static_cast<int>(hms.seconds().count()));
  return buffer;
}

}  // namespace

std::vector<ProgressEntry> progressEntries(const Courier& courier, std::string_view number) {
  Dice dice{seedOf(courier.code, number)};
  const City& origin = kCities[static_cast<std::size_t>(dice.below(kCities.size()))];
  const City* destination = &kCities[static_cast<std::size_t>(dice.below(kCities.size()))];
  if (destination == &origin) destination = &kCities[(static_cast<std::size_t>(destination - kCities.data()) + 7) % kCities.size()];
  const std::string from = origin.name;
  const std::string to = destination->name;
  const std::string fromBranch = from + kDistricts[static_cast<std::size_t>(dice.below(kDistricts.size()))] + "营业部";
  const std::string toBranch = to + kDistricts[static_cast<std::size_t>(dice.below(kDistricts.size()))] + "营业部";

  // The whole journey, in order; a parcel still under way shows only its beginning.
  std::vector<std::pair<std::string, std::string>> steps;  // context, location
  const auto step = [&](std::string context, const std::string& where) {
    steps.emplace_back(std::move(context), where);
  };
  step("【" + from + "】 " + courier.name + " 的 " + fromBranch + " 已揽收", from);
  step("【" + from + "】 快件离开【" + fromBranch + "】已发往【" + from + "转运中心】", from);
  step("【" + from + "】 快件已到达【" + from + "转运中心】", from);
  std::string previous = from;
  const int hubs = dice.below(4);
  for (int i = 0; i < hubs; ++i) {
    const City& hub = kCities[static_cast<std::size_t>(dice.below(kCities.size()))];
    if (hub.name == previous || hub.name == to || hub.name == from) continue;
    step("【" + previous + "】 快件已从【" + previous + "转运中心】发出，下一站【" + hub.name + "转运中心】", previous);
    step("【" + std::string(hub.name) + "】 快件已到达【" + hub.name + "转运中心】", hub.name);
    previous = hub.name;
  }
  step("【" + previous + "】 快件已从【" + previous + "转运中心】发出，下一站【" + to + "转运中心】", previous);
  step("【" + to + "】 快件已到达【" + to + "转运中心】，目的地：" + placeName(*destination), to);
  step("【" + to + "】 快件已发往【" + toBranch + "】", to);
  step("【" + to + "】 快件已到达【" + toBranch + "】", to);
  char phone[16];
  std::snprintf(phone, sizeof phone, "13%09d", dice.below(1000000000));
  step("【" + to + "】 快件派送中，派送员【" + kCouriersStaff[static_cast<std::size_t>(dice.below(kCouriersStaff.size()))] +
           "】，电话：" + phone + "，请保持电话畅通",
       to);
  step("【" + to + "】 快件已签收，签收人：" + kSignedBy[static_cast<std::size_t>(dice.below(kSignedBy.size()))] +
           "。感谢使用" + courier.name + "，期待再次为您服务",
       to);

  const auto wanted = static_cast<std::size_t>(3 + dice.below(13));
  if (steps.size() > wanted) steps.resize(wanted);

  using namespace std::chrono;
  const sys_days firstDay = sys_days{2024y / January / 1} + days{dice.below(330)};
  sys_seconds when = firstDay + hours{8 + dice.below(10)} + minutes{dice.below(60)} + seconds{dice.below(60)};
  std::vector<ProgressEntry> entries;
  entries.reserve(steps.size());
  for (auto& [context, where] : steps) {
    entries.push_back(ProgressEntry{formatTime(when), std::move(context), std::move(where)});
    when += minutes{20 + dice.below(14 * 60)} + seconds{1 + dice.below(59)};
  }
  return entries;
}

}  // namespace corvane::demo
