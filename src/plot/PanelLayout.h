// Which channels a plot shows and which share a panel, and its words:
// each channel's legend and its value at the cursor. The choice is kept as
// one letter per channel, so that it can be remembered for logs of the same
// parameters.
#pragma once

#include "PlotData.h"

#include <QString>

#include <vector>

namespace vexa {

// "MAP — Manifold air pressure (inHg)"; "RPM — Engine speed" where the code
// is its own unit.
QString channelLegend(const ChannelSeries &channel);
// "MAP (inHg)", "RPM": where the whole legend has no room.
QString shortChannelLegend(const ChannelSeries &channel);
// "2500 RPM" as the readout writes it; a gap's status alone: "T.O.".
QString cursorValueText(const ChannelSeries &channel, std::size_t scan);

class PanelLayout {
public:
    enum class Place { Own, WithAbove, Hidden };

    explicit PanelLayout(std::size_t channels = 0) : m_places(channels, Place::Own) {}

    Place place(std::size_t channel) const { return m_places[channel]; }
    void setPlace(std::size_t channel, Place place) { m_places[channel] = place; }
    std::size_t channelCount() const { return m_places.size(); }

    // The channels of each panel, top to bottom: a channel "with the one
    // above" joins the panel of the nearest shown channel before it.
    std::vector<std::vector<std::size_t>> panels() const;

    // "oaho": Own, with Above, Hidden per channel.
    QString text() const;
    // A text for as many channels; otherwise every channel in its own panel.
    static PanelLayout fromText(const QString &text, std::size_t channels);

private:
    std::vector<Place> m_places;
};

// The settings key of logs with these parameter numbers.
QString parameterSetKey(const PlotData &plot);

} // namespace vexa
