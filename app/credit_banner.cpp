#include "app/credit_banner.h"

#include <string_view>

#include "app/handlers.h"
#include "app/text_drawing.h"
#include "text/byte_set.h"

namespace corvane {
namespace {

// GBK bytes. "作者：柯文"
constexpr std::string_view kCreditBytes = "\xD7\xF7\xD5\xDF\xA3\xBA\xBF\xC2\xCE\xC4";
// "联系 kw@cv.test": an address under a name reserved for testing, never a real mailbox.
constexpr std::string_view kContactBytes = "\xC1\xAA\xCF\xB5 kw@cv.test";
// "宋体"
constexpr std::string_view kDefaultFontName = "\xCB\xCE\xCC\xE5";
constexpr std::string_view kDefaultLine = "Corvane";

constexpr int kCreditLeft = 350;
constexpr int kCreditTop = 8;
constexpr int kContactTop = 22;
constexpr int kCreditFontSize = 15;
constexpr int kCreditColour = 0xff8800;  // red 0, green 136, blue 255

}  // namespace

Text creditLine() { return bytesToText(ByteSet(kCreditBytes)); }
Text contactLine() { return bytesToText(ByteSet(kContactBytes)); }

void drawTextOnWindow(std::optional<WindowHandle> window, std::optional<Text> lineText,
                      std::optional<Text> fontName, std::optional<int> fontSize,
                      std::optional<int> textColour, int x, int y) {
  const WindowHandle target = window ? *window : foregroundWindow();
  drawTextLine(target, lineText ? *lineText : Text(kDefaultLine),
               fontName ? *fontName : Text(kDefaultFontName), fontSize.value_or(kDefaultFontSize),
               textColour.value_or(kDefaultTextColour), x, y);
}

void onWindowFirstActivated() {
  drawTextOnWindow(windowHandle(), creditLine(), std::nullopt, kCreditFontSize, kCreditColour,
                   kCreditLeft, kCreditTop);
  drawTextOnWindow(windowHandle(), contactLine(), std::nullopt, kCreditFontSize, kCreditColour,
                   kCreditLeft, kContactTop);
}

}  // namespace corvane
