#include "ui/qt_text.h"

#include <QByteArray>

namespace sp {

QString toQString(const Text& text) {
  return QString::fromStdString(utf8FromGbk(text));
}

Text toText(const QString& string) {
  const QByteArray utf8 = string.toUtf8();
  return gbkFromUtf8(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

}  // namespace sp
