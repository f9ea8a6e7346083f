// Texts between the program (GBK) and Qt (Unicode).
#pragma once

#include <QString>

#include "text/text.h"

namespace corvane {

[[nodiscard]] QString toQString(const Text& text);

// The missing text for an empty string.
[[nodiscard]] Text fromQString(const QString& string);

// A message for a box: CR LF breaks the line.
[[nodiscard]] QString toBoxText(const Text& message);

}  // namespace corvane
