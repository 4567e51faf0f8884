// Draws a plot scene: what stays while the cursor moves (drawn once into a
// picture the window keeps), and the cursor with each channel's value over
// it.
#pragma once

#include "PlotScene.h"

#include <functional>
#include <optional>

class QPainter;

namespace vexa {

class DateText;

// The log's date, time and first line of text, as the title and the
// pictures carry them.
QString plotHeading(const PlotData &plot, const DateText &dates);

// What `paint` draws, as a PNG or an SVG file's bytes.
using Painting = std::function<void(QPainter &)>;
QByteArray pngPicture(QSize size, const Painting &paint);
QByteArray svgPicture(QSize size, const QString &title, const Painting &paint);

// Heading, panels, lines, gap marks, legends and axes, on white.
void paintScene(QPainter &painter, const PlotStyle &style, const PlotScene &scene);

// The cursor's line across every panel at `scan`, the marked range from
// `mark` shaded, and each channel's value at the cursor beside its legend.
void paintCursor(QPainter &painter, const PlotStyle &style, const PlotScene &scene,
                 std::size_t scan, std::optional<std::size_t> mark);

// Where a channel's value at the cursor is written: after its legend line.
QPointF valueAnchor(const PlotStyle &style, const PanelScene &panel, std::size_t line);

} // namespace vexa
