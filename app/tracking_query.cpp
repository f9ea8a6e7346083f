// The selection flow: the picked courier's tracking record into "超级列表框1", newest on top.
#include "app/courier_table.h"
#include "app/flow_steps.h"
#include "app/handlers.h"
#include "app/service_base.h"
#include "app/window_ops.h"
#include "text/codepage.h"
#include "text/extract.h"
#include "text/operations.h"
#include "text/text_array.h"
#include "web/web_access.h"

namespace corvane {

namespace {

const Text kQueryPath = "/query?type=";
const Text kNumberKey = "&postid=";

// "快递公司参数异常：" in GBK, ending with the full-width colon.
const Text kRejectionMarker =
    "\xBF\xEC\xB5\xDD\xB9\xAB\xCB\xBE\xB2\xCE\xCA\xFD\xD2\xEC\xB3\xA3\xA3\xBA";

// "快递公司参数异常!\r\n可能是快递公司选错或未返回进度信息!" in GBK.
const Text kRejectionMessage =
    "\xBF\xEC\xB5\xDD\xB9\xAB\xCB\xBE\xB2\xCE\xCA\xFD\xD2\xEC\xB3\xA3!\r\n"
    "\xBF\xC9\xC4\xDC\xCA\xC7\xBF\xEC\xB5\xDD\xB9\xAB\xCB\xBE\xD1\xA1\xB4\xED\xBB\xF2"
    "\xCE\xB4\xB7\xB5\xBB\xD8\xBD\xF8\xB6\xC8\xD0\xC5\xCF\xA2!";

}  // namespace

void showTrackingAnswer(const ByteSet& trackingAnswer) {
  static const Text kGroupOpen = "{";
  static const Text kGroupClose = "}";
  static const Text kTimeMarker = "time\":\"";
  static const Text kContextMarker = "context\":\"";
  static const Text kValueEnd = "\"";

  const Text answer = utf8ToGbk(trackingAnswer);
  TextArray entries;
  ExtractAllOptions fromSecondCharacter;
  fromSecondCharacter.startPosition = 2;  // passes over the brace that opens the outer object
  const int count = extractAllBetween(answer, kGroupOpen, kGroupClose, entries, fromSecondCharacter);
  deleteAllRows();
  if (findText(answer, kRejectionMarker, 1, /*ignoreCase=*/true) != -1) {
    messageBox(kRejectionMessage, kMessageBoxInformation);
    return;
  }
  for (int i = 1; i <= count; ++i) {
    const Text time = extractBetween(entries(i), kTimeMarker, kValueEnd);
    const int row = insertRow(0, time);
    setCellText(row, 1, extractBetween(entries(i), kContextMarker, kValueEnd));
  }
}

void onCourierSelected() {
  const int row = itemData(currentSelection());
  // Nothing picked (no item, data -1), or a row the table does not hold: nothing to look up.
  if (row < 1 || row > courierRowCount()) return;
  const Text code = CourierTable(row, 2);
  const Text number = readText();  // read again: an edit since the button press counts
  showTrackingAnswer(WebAccess(concatText(ServiceBase, kQueryPath, code, kNumberKey, number)));
}

}  // namespace corvane
