#include "PanelLayout.h"

#include <QStringList>

#include <algorithm>

namespace vexa {

namespace {

constexpr char Letters[] = {'o', 'a', 'h'};
const QString NoText = QStringLiteral("----");

} // namespace

QString channelLegend(const ChannelSeries &channel)
{
    const QString code = QString::fromStdString(channel.code);
    const QString units = QString::fromStdString(channel.units);
    const QString description = QString::fromStdString(channel.description);
    QString text = code;
    if (description != NoText)
        text += QStringLiteral(" \u2014 ") + description;
    if (units != code && units != NoText)
        text += QStringLiteral(" (%1)").arg(units);
    return text;
}

QString shortChannelLegend(const ChannelSeries &channel)
{
    const QString code = QString::fromStdString(channel.code);
    const QString units = QString::fromStdString(channel.units);
    return units == code || units == NoText ? code : QStringLiteral("%1 (%2)").arg(code, units);
}

QString cursorValueText(const ChannelSeries &channel, std::size_t scan)
{
    const QString value = QString::fromStdString(channel.valueText(scan));
    if (!channel.drawn(scan) || channel.units == "----")
        return value;
    return value + QLatin1Char(' ') + QString::fromStdString(channel.units);
}

std::vector<std::vector<std::size_t>> PanelLayout::panels() const
{
    std::vector<std::vector<std::size_t>> panels;
    for (std::size_t c = 0; c < m_places.size(); ++c) {
        if (m_places[c] == Place::Hidden)
            continue;
        if (m_places[c] == Place::WithAbove && !panels.empty())
            panels.back().push_back(c);
        else
            panels.push_back({c});
    }
    return panels;
}

QString PanelLayout::text() const
{
    QString text;
    for (const Place p : m_places)
        text += QLatin1Char(Letters[static_cast<int>(p)]);
    return text;
}

PanelLayout PanelLayout::fromText(const QString &text, std::size_t channels)
{
    PanelLayout layout(channels);
    if (static_cast<std::size_t>(text.size()) != channels)
        return layout;
    for (std::size_t c = 0; c < channels; ++c) {
        const char letter = text[static_cast<qsizetype>(c)].toLatin1();
        const auto *found = std::find(std::begin(Letters), std::end(Letters), letter);
        if (found == std::end(Letters))
            return PanelLayout(channels);
        layout.m_places[c] = static_cast<Place>(found - std::begin(Letters));
    }
    return layout;
}

QString parameterSetKey(const PlotData &plot)
{
    QStringList numbers;
    for (int c = 0; c < ChannelSlots; ++c)
        numbers << QString::number(plot.entry.paramCodes[c]);
    return numbers.join(QLatin1Char('-'));
}

} // namespace vexa
