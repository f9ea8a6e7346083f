#include "demo/answers.h"

#include "demo/courier_catalog.h"
#include "demo/recognition.h"
#include "demo/tracking_story.h"

namespace corvane::demo {
namespace {

// A value inside a double-quoted JSON string. Braces and brackets are escaped as well: Corvane
// cuts the answer at them, so an echoed number must never bring its own.
std::string jsonValue(std::string_view raw) {
  std::string out;
  out.reserve(raw.size());
  for (const char c : raw) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20 || c == '{' || c == '}' || c == '[' || c == ']') {
      static constexpr char kHex[] = "0123456789abcdef";
      out += "\\u00";
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    } else {
      out += c;
    }
  }
  return out;
}

std::string buildCompanyListScript() {
  std::string js = "var jsoncom={'company':[";
  int cid = 0;
  for (const Courier& c : courierCatalog()) {
    if (cid > 0) js += ',';
    ++cid;
    js += "{'cid':'" + std::to_string(cid) + "','id':'','companyname':'" + c.name +
          "','shortname':'" + c.shortName + "','tel':'" + c.telephone + "','code':'" + c.code +
          "','comurl':'https://www." + c.code + ".example','isavailable':'1','promptinfo':'',"
          "'testnu':'" + c.sampleNumber + "','hasvali':'0'}";
  }
  js += "],'error':'ok','count':'" + std::to_string(cid) + "'};\n";
  return js;
}

}  // namespace

const std::string& companyListScript() {
  static const std::string script = buildCompanyListScript();
  return script;
}

std::string recognitionAnswer(std::string_view number) {
  std::string json = "[";
  for (const std::string& code : candidateCodes(number)) {
    if (json.size() > 1) json += ',';
    json += R"({"comCode":")" + code + R"(","id":"","noCount":)" +
            std::to_string(1000 + code.size() * 37) + R"(,"noPre":")" +
            std::string(number.substr(0, 4)) + R"(","startTime":""})";
  }
  json += "]";
  return json;
}

std::string trackingAnswer(std::string_view code, std::string_view number) {
  const Courier* courier = findCourier(code);
  const std::string nu = jsonValue(number);
  const std::string com = jsonValue(code);
  if (courier == nullptr || !carries(code, number)) {
    return R"({"message":")" + std::string(kRejectionMarker) + R"(单号不存在或者已经过期","nu":")" +
           nu + R"(","ischeck":"0","condition":"","com":")" + com +
           R"(","status":"201","state":"0","data":[]})";
  }
  const auto entries = progressEntries(*courier, number);
  const bool delivered = entries.back().context.find("已签收") != std::string::npos;
  std::string json = R"({"message":"ok","nu":")" + nu + R"(","ischeck":")" +
                     (delivered ? "1" : "0") + R"(","condition":"F00","com":")" + com +
                     R"(","status":"200","state":")" + (delivered ? "3" : "0") + R"(","data":[)";
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (i > 0) json += ',';
    const ProgressEntry& e = entries[i];
    json += R"({"time":")" + e.time + R"(","ftime":")" + e.time + R"(","context":")" +
            jsonValue(e.context) + R"(","location":")" + jsonValue(e.location) + R"("})";
  }
  json += "]}";
  return json;
}

Quirk quirkOf(std::string_view number) {
  if (number == "800000000000") return Quirk::emptyRecognition;
  if (number == "800000000001") return Quirk::slow;
  if (number == "800000000002") return Quirk::emptyTracking;
  if (number == "800000000003") return Quirk::malformedTracking;
  if (number == "800000000004") return Quirk::malformedRecognition;
  return Quirk::none;
}

std::string recognitionAnswerWithQuirk(std::string_view number) {
  switch (quirkOf(number)) {
    case Quirk::emptyRecognition:
      return {};
    case Quirk::malformedRecognition:
      return R"([{"comCode":"zhongtong","id":""},{"comCode":"yunda")";
    default:
      return recognitionAnswer(number);
  }
}

std::string trackingAnswerWithQuirk(std::string_view code, std::string_view number) {
  switch (quirkOf(number)) {
    case Quirk::emptyTracking:
      return {};
    case Quirk::malformedTracking: {
      // A group without a time, one with a stray byte that is not UTF-8, then a cut.
      std::string answer = trackingAnswer(code, number);
      const std::size_t second = answer.find("{\"time\"", answer.find("\"data\":["));
      if (second == std::string::npos) return answer.substr(0, answer.size() / 2);
      answer.insert(second, "{\"context\":\"\xff\xfe 无时间的记录\"},");
      return answer.substr(0, answer.size() * 2 / 3);
    }
    default:
      return trackingAnswer(code, number);
  }
}

std::string queryValue(std::string_view target, std::string_view key, std::string_view stopAt) {
  const std::string start = std::string(key) + "=";
  const std::size_t at = target.find(start);
  if (at == std::string_view::npos) return {};
  std::string_view raw = target.substr(at + start.size());
  if (!stopAt.empty()) {
    const std::size_t end = raw.find("&" + std::string(stopAt) + "=");
    if (end != std::string_view::npos) raw = raw.substr(0, end);
  }
  const auto hex = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  std::string value;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '%' && i + 2 < raw.size() && hex(raw[i + 1]) >= 0 && hex(raw[i + 2]) >= 0) {
      value += static_cast<char>(hex(raw[i + 1]) * 16 + hex(raw[i + 2]));
      i += 2;
    } else {
      value += raw[i];
    }
  }
  return value;
}

}  // namespace corvane::demo
