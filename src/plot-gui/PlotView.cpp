#include "PlotView.h"

#include "ChannelPanel.h"

#include <QBuffer>
#include <QDateTime>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QSvgGenerator>
#include <QVBoxLayout>

namespace vexa {

PlotView::PlotView(PlotData plot, QDate logDate, QWidget *parent)
    : QWidget(parent), m_plot(std::move(plot))
{
    setObjectName(QStringLiteral("plotView"));
    setAutoFillBackground(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(0);
    auto *title = new QLabel(m_plot.title, this);
    title->setObjectName(QStringLiteral("plotTitle"));
    layout->addWidget(title);
    if (m_plot.channels.empty() || m_plot.times.empty()) {
        auto *none = new QLabel(m_plot.times.empty() ? tr("The log holds no scans.")
                                                     : tr("The log has no channels."),
                                this);
        none->setAlignment(Qt::AlignCenter);
        layout->addWidget(none, 1);
    }
    // The axis counts local time from the log's midnight, so its labels read
    // as the files' time of day.
    const qint64 offset = logDate.startOfDay().toMSecsSinceEpoch();
    for (std::size_t i = 0; i < m_plot.channels.size() && !m_plot.times.empty(); ++i) {
        auto *panel = new ChannelPanel(m_plot, m_plot.channels[i], offset,
                                       i + 1 == m_plot.channels.size(), this);
        layout->addWidget(panel, 1);
        connect(panel, &ChannelPanel::rangeChosen, this, &PlotView::showRange,
                Qt::QueuedConnection);
        connect(panel, &ChannelPanel::cursorAt, this, &PlotView::cursorAt);
        m_panels.push_back(panel);
    }
    resetZoom();
}

void PlotView::showRange(TimeRange range)
{
    // Never narrower than one scan's hundredth, never wider than the log.
    const TimeRange all = fullRange(m_plot);
    range.from = std::max(range.from, all.from);
    range.to = std::min(range.to, all.to);
    if (range.to - range.from < 10)
        return;
    m_range = range;
    for (ChannelPanel *panel : m_panels)
        panel->showRange(range);
}

QString PlotView::readout(double ms) const
{
    if (m_plot.times.empty())
        return {};
    const std::size_t scan = m_plot.scanAt(ms);
    QStringList lines{tr("Scan %1 at %2").arg(scan + 1).arg(timeOfDayText(m_plot.times[scan]))};
    for (const ChannelSeries &c : m_plot.channels)
        lines << QStringLiteral("%1 %2 %3")
                     .arg(QString::fromStdString(c.code), QString::fromStdString(c.valueText(scan)),
                          QString::fromStdString(c.units));
    return lines.join(QLatin1Char('\n'));
}

QByteArray PlotView::png()
{
    QImage image(size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        render(&painter);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "png");
    return bytes;
}

QByteArray PlotView::svg()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size());
    generator.setViewBox(rect());
    generator.setTitle(m_plot.title);
    {
        QPainter painter(&generator);
        render(&painter);
    }
    return bytes;
}

} // namespace vexa
