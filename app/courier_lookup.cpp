// The button flow: the courier list into CourierTable, then the couriers that may have issued
// the typed number into "组合框1".
#include <string_view>
#include <unordered_map>

#include "app/courier_table.h"
#include "app/flow_steps.h"
#include "app/handlers.h"
#include "app/service_base.h"
#include "app/window_ops.h"
#include "text/codepage.h"
#include "text/extract.h"
#include "text/text_array.h"
#include "web/web_access.h"

namespace corvane {

namespace {

const Text kCourierListPath = "/js/share/company.js?";
const Text kRecognitionPath = "/autonumber/auto?num=";
constexpr int kPost = 1;

// Each code with the first row that carries it. Built once per answer, so that a long list of
// candidates costs no more per candidate than a short one; the texts stay in CourierTable,
// which nothing changes while the candidates are offered.
std::unordered_map<std::string_view, int> firstRowOfEachCode() {
  std::unordered_map<std::string_view, int> rows;
  const int count = courierRowCount();
  rows.reserve(static_cast<std::size_t>(count));
  for (int row = 1; row <= count; ++row) rows.emplace(CourierTable(row, 2).view(), row);  // keeps the first
  return rows;
}

}  // namespace

int courierRowCount() {
  const auto& sizes = CourierTable.dimensions();
  return sizes.size() == 2 ? sizes[0] : 0;
}

int fillCourierTable(const ByteSet& courierListAnswer) {
  static const Text kGroupOpen = "{";
  static const Text kGroupClose = "}";
  static const Text kNameMarker = "companyname':'";
  static const Text kCodeMarker = "code':'";
  static const Text kValueEnd = "'";

  const Text list = utf8ToGbk(courierListAnswer);
  TextArray entries;
  const int count = extractAllBetween(list, kGroupOpen, kGroupClose, entries);
  for (int i = 1; i <= count; ++i) {
    // Regrown one row at a time: rows an earlier, longer list left behind go at the first step.
    redimArray(CourierTable, {i, 2});
    CourierTable(i, 1) = extractBetween(entries(i), kNameMarker, kValueEnd);
    CourierTable(i, 2) = extractBetween(entries(i), kCodeMarker, kValueEnd);
  }
  return count;
}

void offerCandidates(const ByteSet& recognitionAnswer) {
  static const Text kListOpen = "[";
  static const Text kListClose = "]";
  static const Text kGroupOpen = "{";
  static const Text kGroupClose = "}";
  static const Text kCodeMarker = "comCode\":\"";
  static const Text kCodeEnd = "\"";

  const Text recognition = extractBetween(bytesToText(recognitionAnswer), kListOpen, kListClose);
  TextArray candidates;
  const int count = extractAllBetween(recognition, kGroupOpen, kGroupClose, candidates);
  clearItems();
  if (count == 0) return;
  const auto rowOfCode = firstRowOfEachCode();
  for (int k = 1; k <= count; ++k) {
    // Codes compare byte for byte: case counts.
    const Text code = extractBetween(candidates(k), kCodeMarker, kCodeEnd);
    if (const auto found = rowOfCode.find(code.view()); found != rowOfCode.end()) {
      addItem(CourierTable(found->second, 1), found->second);
    }
    setCurrentSelection(0);
  }
}

void onGetInfoClicked() {
  setDisabled(true);
  fillCourierTable(WebAccess(concatText(ServiceBase, kCourierListPath)));
  const Text number = readText();
  // The number goes into the address as typed; the request carries an empty body.
  offerCandidates(WebAccess(concatText(ServiceBase, kRecognitionPath, number), kPost));
  setDisabled(false);
}

}  // namespace corvane
