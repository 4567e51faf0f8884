#include "Cp1252.h"

#include <array>

namespace vexa::cp1252 {

namespace {

// Characters of bytes 0x80..0x9F; undefined bytes keep their own value.
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QChar toChar(unsigned char byte)
{
    return byte >= 0x80 && byte <= 0x9F ? QChar(HighControls[byte - 0x80]) : QChar(byte);
}

} // namespace

QString decode(std::string_view bytes)
{
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char b : bytes)
        *out++ = toChar(static_cast<unsigned char>(b));
    return text;
}

bool encodeChar(QChar c, char &byte)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
        byte = static_cast<char>(u);
        return true;
    }
    for (std::size_t i = 0; i < HighControls.size(); ++i) {
        if (HighControls[i] == u) {
            byte = static_cast<char>(0x80 + i);
            return true;
        }
    }
    return false;
}

QByteArray encode(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        char b = '?';
        encodeChar(c, b);
        bytes.append(b);
    }
    return bytes;
}

} // namespace vexa::cp1252
