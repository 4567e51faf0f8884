// The handheld's single-byte code page, Windows-1252, kept lossless: each of
// the 256 bytes maps to its own character and back, the five bytes the code
// page leaves undefined to the control characters of the same number.
#pragma once

#include <QByteArray>
#include <QString>

#include <string_view>

namespace vexa::cp1252 {

QString decode(std::string_view bytes);
// Characters outside the code page become '?'.
QByteArray encode(const QString &text);
// One character; false when the code page has no byte for it.
bool encodeChar(QChar c, char &byte);

} // namespace vexa::cp1252
