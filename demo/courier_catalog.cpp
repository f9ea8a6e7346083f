#include "demo/courier_catalog.h"

#include <array>
#include <cstdio>
#include <unordered_map>
#include <unordered_set>

namespace corvane::demo {
namespace {

// Name, short name, code, telephone, a number the recognition rules give to this courier.
const std::vector<Courier>& wellKnownCouriers() {
  static const std::vector<Courier> couriers = {
      {"顺丰速运", "顺丰", "shunfeng", "95338", "SF1412345678901"},
      {"中通快递", "中通", "zhongtong", "95311", "773012345678"},
      {"圆通速递", "圆通", "yuantong", "95554", "YT6612345678901"},
      {"韵达快递", "韵达", "yunda", "95546", "4312345678901"},
      {"申通快递", "申通", "shentong", "95543", "7712345678901"},
      {"EMS", "EMS", "ems", "11183", "EA123456789CN"},
      {"京东物流", "京东", "jd", "950616", "JDVA12345678901"},
      {"邮政快递包裹", "邮政", "youzhengguonei", "11185", "9812345678901"},
      {"极兔速递", "极兔", "jtexpress", "956025", "JT3012345678901"},
      {"德邦快递", "德邦", "debangkuaidi", "95353", "DPK123456789012"},
      {"百世快递", "百世", "huitongkuaidi", "95320", "5512345678901"},
      {"天天快递", "天天", "tiantian", "4001888888", "6612345678901"},
      {"宅急送", "宅急送", "zhaijisong", "4006789000", "ZJS123456789012"},
      {"跨越速运", "跨越", "kuayue", "4008098098", "KY1234567890"},
      {"安能物流", "安能", "annengwuliu", "4001040088", "AN123456789012"},
      {"优速快递", "优速", "youshuwuliu", "95349", "UC123456789012"},
      {"中通快运", "中通快运", "zhongtongkuaiyun", "4002705555", "ZTKY12345678901"},
      {"顺丰快运", "顺丰快运", "shunfengkuaiyun", "95338", "SFKY12345678901"},
      {"德邦物流", "德邦物流", "debangwuliu", "95353", "DPL123456789012"},
      {"丰网速运", "丰网", "fengwang", "4009191919", "FW123456789012"},
      {"菜鸟速递", "菜鸟", "danniao", "9518795187", "CN123456789012"},
      {"众邮快递", "众邮", "zhongyouex", "4000008888", "ZY123456789012"},
      {"壹米滴答", "壹米滴答", "yimidida", "4000011121", "YMDD1234567890"},
      {"百世快运", "百世快运", "baishiwuliu", "4008856561", "BSKY1234567890"},
      {"苏宁物流", "苏宁", "suning", "95315", "SN123456789012"},
      {"国通快递", "国通", "guotongkuaidi", "95327", "GT123456789012"},
      {"速尔快递", "速尔", "suer", "4008822168", "SE123456789012"},
      {"日日顺物流", "日日顺", "rrs", "4008009999", "RRS12345678901"},
      {"UPS", "UPS", "ups", "4008208388", "1Z999AA10123456784"},
      {"FedEx", "FedEx", "fedex", "4008861888", "FDX123456789012"},
      {"DHL", "DHL", "dhl", "95380", "DHL1234567890"},
      {"TNT", "TNT", "tnt", "8008209868", "TNT123456789"},
  };
  return couriers;
}

struct Syllable {
  const char* hanzi;
  const char* pinyin;
};

// Invented names are two characters and a trade word: 华通快运, 金鹏物流 and so on.
constexpr std::array<Syllable, 32> kFirst = {{
    {"华", "hua"},   {"金", "jin"},   {"鑫", "xin"},   {"安", "an"},    {"顺", "shun"},
    {"通", "tong"},  {"达", "da"},    {"捷", "jie"},   {"宏", "hong"},  {"永", "yong"},
    {"恒", "heng"},  {"嘉", "jia"},   {"瑞", "rui"},   {"东", "dong"},  {"南", "nan"},
    {"西", "xi"},    {"北", "bei"},   {"中", "zhong"}, {"新", "xin"},   {"万", "wan"},
    {"天", "tian"},  {"海", "hai"},   {"远", "yuan"},  {"长", "chang"}, {"富", "fu"},
    {"盛", "sheng"}, {"兴", "xing"},  {"泰", "tai"},   {"广", "guang"}, {"佳", "jia"},
    {"明", "ming"},  {"昌", "chang"},
}};
constexpr std::array<Syllable, 24> kSecond = {{
    {"运", "yun"},  {"邦", "bang"},  {"鹏", "peng"}, {"利", "li"},    {"驰", "chi"},
    {"迅", "xun"},  {"通", "tong"},  {"达", "da"},   {"诚", "cheng"}, {"程", "cheng"},
    {"发", "fa"},   {"联", "lian"},  {"捷", "jie"},  {"航", "hang"},  {"路", "lu"},
    {"丰", "feng"}, {"源", "yuan"},  {"信", "xin"},  {"宇", "yu"},    {"途", "tu"},
    {"洲", "zhou"}, {"邮", "you"},   {"港", "gang"}, {"运", "yun"},
}};
constexpr std::array<Syllable, 8> kTrade = {{
    {"快运", "kuaiyun"},
    {"物流", "wuliu"},
    {"速递", "sudi"},
    {"快递", "kuaidi"},
    {"供应链", "gongyinglian"},
    {"国际物流", "guojiwuliu"},
    {"速运", "suyun"},
    {"配送", "peisong"},
}};

constexpr int kInventedCount = 1200;

std::string telephoneFor(unsigned seed) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "400-%03u-%04u", 100 + seed * 37 % 900,
                seed * 7919 % 10000);
  return buffer;
}

std::vector<Courier> buildCatalog() {
  std::vector<Courier> couriers = wellKnownCouriers();
  std::unordered_set<std::string> codes;
  std::unordered_set<std::string> names;
  for (const Courier& c : couriers) {
    codes.insert(c.code);
    names.insert(c.name);
  }
  const std::size_t combinations = kFirst.size() * kSecond.size() * kTrade.size();
  // A stride coprime to the number of combinations walks them all in a scattered order.
  const std::size_t stride = 4099;
  for (std::size_t step = 0, k = 0;
       step < combinations && couriers.size() < wellKnownCouriers().size() + kInventedCount;
       ++step) {
    k = (k + stride) % combinations;
    const Syllable& a = kFirst[k % kFirst.size()];
    const Syllable& b = kSecond[k / kFirst.size() % kSecond.size()];
    const Syllable& t = kTrade[k / kFirst.size() / kSecond.size()];
    if (std::string_view(a.hanzi) == b.hanzi) continue;
    std::string name = std::string(a.hanzi) + b.hanzi + t.hanzi;
    std::string code = std::string(a.pinyin) + b.pinyin + t.pinyin;
    if (names.contains(name)) continue;
    if (codes.contains(code)) code += std::to_string(couriers.size());
    names.insert(name);
    codes.insert(code);
    const auto seed = static_cast<unsigned>(couriers.size());
    char sample[32];
    std::snprintf(sample, sizeof sample, "DM%04u%08u", seed, seed * 104729u % 100000000u);
    couriers.push_back(Courier{std::move(name), std::string(a.hanzi) + b.hanzi, std::move(code),
                               telephoneFor(seed), sample});
  }
  return couriers;
}

}  // namespace

const std::vector<Courier>& courierCatalog() {
  static const std::vector<Courier> catalog = buildCatalog();
  return catalog;
}

const Courier* findCourier(std::string_view code) {
  static const std::unordered_map<std::string_view, const Courier*> byCode = [] {
    std::unordered_map<std::string_view, const Courier*> map;
    for (const Courier& c : courierCatalog()) map.emplace(c.code, &c);
    return map;
  }();
  const auto it = byCode.find(code);
  return it == byCode.end() ? nullptr : it->second;
}

}  // namespace corvane::demo
