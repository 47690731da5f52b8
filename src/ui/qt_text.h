// The program holds GBK texts; Qt shows and returns UTF-16 strings.
#pragma once

#include <QString>

#include "text/text.h"

namespace sp {

QString toQString(const Text& text);
// Characters that GBK lacks become "?", as in any GBK program.
Text toText(const QString& string);

}  // namespace sp
