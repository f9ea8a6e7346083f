#include "app/qt_text.h"

#include "text/codepage.h"

namespace corvane {

QString toQString(const Text& text) {
  if (textLength(text) == 0) return {};
  return QString::fromStdU16String(gbkToUnicode(text));
}

Text fromQString(const QString& string) {
  if (string.isEmpty()) return {};
  return unicodeToGbk(string.toStdU16String());
}

QString toBoxText(const Text& message) {
  QString text = toQString(message);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

}  // namespace corvane
