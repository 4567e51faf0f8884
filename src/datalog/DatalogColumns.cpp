#include "DatalogColumns.h"

#include "format/Cp1252.h"
#include "format/OleDate.h"
#include "format/ParamCatalogue.h"
#include "format/ScanRecord.h"

#include <QMap>

#include <limits>

namespace vexa {

std::vector<DatalogChannel> datalogChannels(const LogIndexEntry &entry)
{
    std::vector<DatalogChannel> channels;
    QMap<QByteArray, int> seen;
    for (int slot = 0; slot < ChannelSlots; ++slot) {
        const std::string_view code = paramNumberToCode(entry.paramCodes[slot]);
        if (code == EmptySlotCode)
            continue;
        QByteArray name(code.data(), qsizetype(code.size()));
        if (const int repeat = ++seen[name]; repeat > 1)
            name += ' ' + QByteArray::number(repeat);
        const std::string_view units = paramCodeToUnits(code);
        channels.push_back({slot, name, QByteArray(units.data(), qsizetype(units.size())),
                            ValueFormat::number(code)});
    }
    return channels;
}

QByteArray datalogDescription(const LogIndexEntry &entry)
{
    QString text = entry.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" / "));
    text.replace(QLatin1Char('\r'), QStringLiteral(" / "));
    text.replace(QLatin1Char('\n'), QStringLiteral(" / "));
    text.replace(QLatin1Char('"'), QLatin1Char('\''));
    return "VEXA scan log: " + cp1252::encode(text);
}

QDateTime datalogStart(const LogIndexEntry &entry)
{
    const QTime time = oledate::toTime(entry.logTime);
    return QDateTime(oledate::toDate(entry.logDate),
                     QTime(time.hour(), time.minute(), time.second()), Qt::UTC);
}

float datalogValue(const ScanRecord &scan, const DatalogChannel &channel)
{
    return scan.channelStatus[channel.slot] == 0 ? scan.channelValue[channel.slot]
                                                 : std::numeric_limits<float>::quiet_NaN();
}

} // namespace vexa
