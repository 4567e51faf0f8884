#include "PlotWindow.h"

#include "PlotPainter.h"
#include "PlotView.h"
#include "RangeCsv.h"
#include "core/ChosenFile.h"
#include "core/RuntimeError.h"
#include "desktop/SavedPaths.h"
#include "export/LogFile.h"
#include "store/DateText.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace vexa {

namespace {

const QString Section = QStringLiteral("Plot");
const QString TimeModeKey = QStringLiteral("TimeMode");
const QString FromStartText = QStringLiteral("FromStart");
constexpr int NumbersWidth = 900; // the narrowest window that shows the numbers by itself

QString panelsKey(const PlotData &plot)
{
    return QStringLiteral("Panels-") + parameterSetKey(plot);
}

} // namespace

QRect cascadedPlace(QSize size, const QRect &screen, int openWindows)
{
    // Each a step further, smaller where the screen ends; room kept for the
    // frame the window manager adds.
    const int offset = 8 + (openWindows % 6) * 28;
    const QSize fitted(std::min(size.width(), screen.width() - offset - 8),
                       std::min(size.height(), screen.height() - offset - 40));
    return {screen.topLeft() + QPoint(offset, offset), fitted};
}

PlotWindow::PlotWindow(PlotData plot, const DateText &dates, UserInterface &ui,
                       SettingsStore &settings, TableOpener openTable, QWidget *parent)
    : QWidget(parent, Qt::Window), m_ui(ui), m_settings(settings),
      m_openTable(std::move(openTable)), m_dates(dates)
{
    setObjectName(QStringLiteral("frmPlot"));
    setAttribute(Qt::WA_DeleteOnClose);
    const QString title = plotHeading(plot, dates);
    setWindowTitle(tr("Plot - %1").arg(title));

    m_view = new PlotView(std::move(plot), title, this);
    const PlotData &data = m_view->data();
    m_view->setPanelLayout(PanelLayout::fromText(
        m_settings.read(Section, panelsKey(data), QString()), data.channels.size()));
    if (m_settings.read(Section, TimeModeKey, QString()) == FromStartText)
        m_view->setTimeMode(TimeMode::FromStart);

    auto *panels = new QScrollArea(this);
    panels->setObjectName(QStringLiteral("scrPanels"));
    panels->setWidget(m_view);
    panels->setWidgetResizable(true);
    panels->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    panels->setFrameShape(QFrame::NoFrame);
    m_scroll = new QScrollBar(Qt::Horizontal, this);
    m_scroll->setObjectName(QStringLiteral("sbTime"));
    m_numbers = new QTextBrowser(this);
    m_numbers->setObjectName(QStringLiteral("txtNumbers"));
    m_numbers->setLineWrapMode(QTextEdit::NoWrap);
    m_numbers->setFocusPolicy(Qt::ClickFocus);
    QFont small = m_numbers->font();
    small.setPointSize(8);
    m_numbers->setFont(small);
    auto *hint = new QLabel(tr("Wheel: zoom. Drag: zoom to a range; with Shift or the middle "
                               "button: pan. Click: lock the cursor; Shift+click or Space: mark "
                               "a range. Arrows, Page Up/Down, Home/End: step. Esc: whole log."),
                            this);
    hint->setWordWrap(true);

    auto *left = new QVBoxLayout;
    left->setSpacing(0);
    left->addWidget(panels, 1);
    left->addWidget(m_scroll);
    auto *body = new QHBoxLayout;
    body->addLayout(left, 1);
    body->addWidget(m_numbers);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(buildButtons());
    layout->addLayout(body, 1);
    layout->addWidget(hint);

    connect(m_view, &PlotView::viewChanged, this, &PlotWindow::showView);
    connect(m_scroll, &QScrollBar::valueChanged, m_view, &PlotView::scrollTo);
    showView();

    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
    int open = 0;
    for (const QWidget *w : QApplication::topLevelWidgets())
        open += w != this && w->isVisible() && w->objectName() == objectName();
    setGeometry(cascadedPlace(QSize(1100, 820), available, open));
    m_view->setFocus();

    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
}

QWidget *PlotWindow::buildButtons()
{
    auto *bar = new QWidget(this);
    auto *reset = new QPushButton(tr("Reset Zoom"), bar);
    reset->setObjectName(QStringLiteral("cmdResetZoom"));
    reset->setToolTip(tr("Show the whole log (Esc)"));
    reset->setFocusPolicy(Qt::NoFocus);

    auto *channels = new QToolButton(bar);
    channels->setObjectName(QStringLiteral("cmdChannels"));
    channels->setText(tr("Channels"));
    channels->setPopupMode(QToolButton::InstantPopup);
    auto *menu = new QMenu(channels);
    const PlotData &data = m_view->data();
    for (std::size_t c = 0; c < data.channels.size(); ++c) {
        const QString code = QString::fromStdString(data.channels[c].code);
        QAction *show = menu->addAction(tr("Show %1").arg(channelLegend(data.channels[c])));
        show->setObjectName(QStringLiteral("actShow%1").arg(c));
        show->setCheckable(true);
        QAction *join = nullptr;
        if (c > 0) {
            join = menu->addAction(tr("Draw %1 in the panel above").arg(code));
            join->setObjectName(QStringLiteral("actJoin%1").arg(c));
            join->setCheckable(true);
        }
        const auto sync = [this, c, show, join] {
            const PanelLayout::Place place = m_view->panelLayout().place(c);
            show->setChecked(place != PanelLayout::Place::Hidden);
            if (join)
                join->setChecked(place == PanelLayout::Place::WithAbove);
        };
        sync();
        connect(m_view, &PlotView::viewChanged, show, sync);
        connect(show, &QAction::triggered, this, [this, c, join](bool on) {
            PanelLayout panels = m_view->panelLayout();
            panels.setPlace(c, !on                         ? PanelLayout::Place::Hidden
                               : join && join->isChecked() ? PanelLayout::Place::WithAbove
                                                           : PanelLayout::Place::Own);
            choosePanels(panels);
        });
        if (join)
            connect(join, &QAction::triggered, this, [this, c](bool on) {
                PanelLayout panels = m_view->panelLayout();
                panels.setPlace(c, on ? PanelLayout::Place::WithAbove : PanelLayout::Place::Own);
                choosePanels(panels);
            });
        if (c + 1 < data.channels.size())
            menu->addSeparator();
    }
    channels->setMenu(menu);

    auto *seconds = new QCheckBox(tr("Seconds from start"), bar);
    seconds->setObjectName(QStringLiteral("chkSeconds"));
    seconds->setFocusPolicy(Qt::NoFocus);
    seconds->setChecked(m_view->timeMode() == TimeMode::FromStart);

    auto *copy = new QPushButton(tr("Copy Numbers"), bar);
    copy->setObjectName(QStringLiteral("cmdCopyNumbers"));
    copy->setToolTip(tr("The numbers of the view or the marked range, tab-separated (Ctrl+C)"));
    copy->setFocusPolicy(Qt::NoFocus);

    auto *saving = new QToolButton(bar);
    saving->setObjectName(QStringLiteral("cmdSave"));
    saving->setText(tr("Save"));
    saving->setPopupMode(QToolButton::InstantPopup);
    auto *saveMenu = new QMenu(saving);
    QAction *png = saveMenu->addAction(tr("Picture as PNG..."));
    png->setObjectName(QStringLiteral("actSavePng"));
    QAction *svg = saveMenu->addAction(tr("Picture as SVG..."));
    svg->setObjectName(QStringLiteral("actSaveSvg"));
    QAction *csv = saveMenu->addAction(tr("Range as CSV..."));
    csv->setObjectName(QStringLiteral("actSaveCsv"));
    saving->setMenu(saveMenu);

    auto *numbers = new QCheckBox(tr("Numbers"), bar);
    numbers->setObjectName(QStringLiteral("chkNumbers"));
    numbers->setChecked(true);
    m_numbersShown = numbers;
    numbers->setFocusPolicy(Qt::NoFocus);

    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    for (QWidget *w : std::initializer_list<QWidget *>{reset, channels, seconds, copy, saving})
        row->addWidget(w);
    if (m_openTable) {
        auto *table = new QPushButton(tr("Table..."), bar);
        table->setObjectName(QStringLiteral("cmdTable"));
        table->setToolTip(tr("A value's mean, minimum, maximum or count by cells of two channels"));
        table->setFocusPolicy(Qt::NoFocus);
        connect(table, &QPushButton::clicked, this, [this] { m_openTable(m_view->data(), this); });
        row->addWidget(table);
    }
    row->addStretch(1);
    row->addWidget(numbers);

    connect(reset, &QPushButton::clicked, m_view, &PlotView::resetZoom);
    connect(seconds, &QCheckBox::toggled, this, [this](bool on) {
        m_view->setTimeMode(on ? TimeMode::FromStart : TimeMode::TimeOfDay);
        m_settings.write(Section, TimeModeKey, on ? FromStartText : QStringLiteral("TimeOfDay"));
    });
    const auto copyNumbers = [this] { QGuiApplication::clipboard()->setText(numbersText()); };
    connect(copy, &QPushButton::clicked, this, copyNumbers);
    connect(new QShortcut(QKeySequence::Copy, this), &QShortcut::activated, this, copyNumbers);
    connect(new QShortcut(QKeySequence::Close, this), &QShortcut::activated, this, &QWidget::close);
    connect(numbers, &QCheckBox::toggled, m_numbers, &QWidget::setVisible);
    // Once the user has chosen, the window's width no longer does.
    connect(numbers, &QCheckBox::clicked, this, [this] { m_numbersChosen = true; });
    connect(png, &QAction::triggered, this, [this] {
        save({tr("PNG picture (*.png)"), QStringLiteral("*.png")},
             [this](const QString &path) { writeFileBytes(path, m_view->png()); });
    });
    connect(svg, &QAction::triggered, this, [this] {
        save({tr("SVG picture (*.svg)"), QStringLiteral("*.svg")},
             [this](const QString &path) { writeFileBytes(path, m_view->svg()); });
    });
    connect(csv, &QAction::triggered, this, &PlotWindow::saveRangeCsv);
    return bar;
}

QString PlotWindow::numbersText() const
{
    if (m_view->data().times.empty())
        return {};
    return rangeStatsText(m_view->data(), m_view->stats(), m_view->timeMode());
}

void PlotWindow::showView()
{
    const TimeView &view = m_view->timeView();
    const QSignalBlocker blocker(m_scroll);
    m_scroll->setRange(0, view.scrollMaximum());
    m_scroll->setPageStep(view.scrollPage());
    m_scroll->setSingleStep(std::max(view.scrollPage() / 10, 1));
    m_scroll->setValue(view.scrollValue());
    // After the panels have repainted, once for a burst of changes.
    if (!m_numbersPending) {
        m_numbersPending = true;
        QTimer::singleShot(0, this, &PlotWindow::showNumbers);
    }
}

void PlotWindow::showNumbers()
{
    m_numbersPending = false;
    // The copied text as a table as wide as it needs, without the units the
    // legends show and the counts.
    QString table = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"1\">");
    if (!m_view->data().times.empty())
        for (QStringList cells :
             rangeStatsCells(m_view->data(), m_view->stats(), m_view->timeMode())) {
            if (cells.size() == 6)
                cells = QStringList{cells[0], cells[2], cells[3], cells[4]};
            table += QStringLiteral("<tr>");
            for (const QString &cell : cells)
                table += QStringLiteral("<td>%1&nbsp;</td>").arg(cell.toHtmlEscaped());
            table += QStringLiteral("</tr>");
        }
    table += QStringLiteral("</table>");
    if (table != m_numbersHtml) {
        m_numbersHtml = table;
        m_numbers->setHtml(table);
        // Only ever wider: the panels do not reflow at every step.
        m_numbers->setFixedWidth(
            std::max(m_numbers->width(), static_cast<int>(m_numbers->document()->idealWidth()) +
                                             2 * m_numbers->frameWidth() + 8));
    }
}

void PlotWindow::choosePanels(const PanelLayout &panels)
{
    m_view->setPanelLayout(panels);
    m_settings.write(Section, panelsKey(m_view->data()), panels.text());
}

void PlotWindow::saveRangeCsv()
{
    if (m_view->data().times.empty())
        return;
    const RangeStats range = m_view->stats();
    save({tr("CSV file (*.csv)"), QStringLiteral("*.csv")}, [&](const QString &path) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        writeRangeCsv(buffer, m_view->data(), range.first, range.last, m_dates);
        writeFileBytes(path, bytes);
    });
}

void PlotWindow::save(const FileFilter &filter, const std::function<void(const QString &)> &write)
{
    saveChosenFile(m_ui, this, tr("Save plot as..."), filter, write);
}

void PlotWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // A narrow window gives its width to the panels.
    if (!m_numbersChosen)
        m_numbersShown->setChecked(width() >= NumbersWidth);
}

bool PlotWindow::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::Wheel:
        emit userActed();
        break;
    default:
        break;
    }
    return false;
}

} // namespace vexa
