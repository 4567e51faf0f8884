#include "TableWindow.h"

#include "ScatterWindow.h"
#include "TableColours.h"

#include "analysis/Breakpoints.h"
#include "analysis/TableText.h"
#include "core/ChosenFile.h"
#include "core/RuntimeError.h"
#include "desktop/SavedPaths.h"
#include "export/LogFile.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStyleOptionHeader>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vexa {

namespace {

QLineEdit *channelBox(const QString &code)
{
    auto *box = new QLineEdit(code);
    box->setMaximumWidth(80);
    return box;
}

// The grid's corner button draws a bare header; this draws its text too,
// where a spreadsheet or a tuning tool's table names its axes.
class CornerText final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        auto *corner = static_cast<QAbstractButton *>(watched);
        QStyleOptionHeader header;
        header.initFrom(corner);
        // Disabled only so that a click selects nothing: drawn as the headers are.
        header.state |= QStyle::State_Enabled;
        header.palette.setCurrentColorGroup(QPalette::Active);
        header.rect = corner->rect();
        header.position = QStyleOptionHeader::OnlyOneSection;
        header.text = corner->text();
        header.textAlignment = Qt::AlignCenter;
        QPainter painter(corner);
        corner->style()->drawControl(QStyle::CE_Header, &header, &painter, corner);
        return true;
    }
};

const QString ChoicesSection = QStringLiteral("TableChoices");

} // namespace

TableWindow::TableWindow(const QString &logsName, TableSource source, UserInterface &ui,
                         SettingsStore &settings, QWidget *parent)
    : QWidget(parent, Qt::Window), m_source(std::move(source)), m_ui(ui), m_settings(settings),
      m_logsName(logsName)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Table - %1").arg(logsName));

    m_x = channelBox(QStringLiteral("RPM"));
    m_y = channelBox(QStringLiteral("MAP"));
    m_value = channelBox(QStringLiteral("LFT1"));
    m_stat = new QComboBox;
    m_stat->addItems({tr("mean"), tr("min"), tr("max"), tr("count")});
    m_minHits = new QSpinBox;
    m_minHits->setRange(1, 1'000'000);
    m_minHits->setValue(TableRequest{}.minHits);
    auto *channels = new QHBoxLayout;
    for (auto [label, box] : {std::pair<QString, QWidget *>{tr("X"), m_x},
                              {tr("Y"), m_y},
                              {tr("Value"), m_value},
                              {tr("Statistic"), m_stat},
                              {tr("Minimum scans"), m_minHits}}) {
        channels->addWidget(new QLabel(label));
        channels->addWidget(box);
    }
    channels->addStretch();

    m_conditions = new QPlainTextEdit;
    m_conditions->setPlaceholderText(
        tr("Conditions, all must hold: one per line or separated by \";\", "
           "e.g. CLSD = 1; ECT >= 160; |dTPS/dt| <= 20"));
    m_conditions->setMaximumHeight(60);
    m_xAxis = new QLineEdit;
    m_yAxis = new QLineEdit;
    for (QLineEdit *axis : {m_xAxis, m_yAxis})
        axis->setPlaceholderText(tr("Usual or even breakpoints; or a list, e.g. 800, 1200, 1600"));
    auto *form = new QFormLayout;
    form->addRow(tr("Where"), m_conditions);
    form->addRow(tr("X breakpoints"), m_xAxis);
    form->addRow(tr("Y breakpoints"), m_yAxis);

    auto *make = new QPushButton(tr("&Make Table"));
    make->setDefault(true);
    connect(make, &QPushButton::clicked, this, &TableWindow::makeTable);
    m_counts = new QCheckBox(tr("Co&unts"));
    connect(m_counts, &QCheckBox::toggled, this, &TableWindow::showGrid);
    connect(m_stat, &QComboBox::currentIndexChanged, this, &TableWindow::showGrid);
    auto *copy = new QPushButton(tr("&Copy"));
    connect(copy, &QPushButton::clicked, this, &TableWindow::copyTable);
    auto *csv = new QPushButton(tr("&Save as CSV..."));
    connect(csv, &QPushButton::clicked, this, &TableWindow::saveCsv);
    auto *scatter = new QPushButton(tr("Sc&atter..."));
    connect(scatter, &QPushButton::clicked, this, &TableWindow::openScatter);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(make);
    buttons->addWidget(scatter);
    buttons->addWidget(m_counts);
    buttons->addStretch();
    buttons->addWidget(copy);
    buttons->addWidget(csv);

    m_message = new QLabel;
    m_message->setStyleSheet(QStringLiteral("color: #b00000"));
    m_message->setWordWrap(true);
    m_grid = new QTableWidget;
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setCornerButtonEnabled(false);
    m_corner = m_grid->findChild<QAbstractButton *>();
    if (m_corner)
        m_corner->installEventFilter(new CornerText(m_grid));
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_leftOut = new QLabel;
    m_leftOut->setWordWrap(true);
    m_leftOut->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(channels);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addWidget(m_message);
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_leftOut);
    resize(900, 600);
    restoreChoices();
}

void TableWindow::restoreChoices()
{
    const auto read = [this](const char *key, const QString &fallback) {
        return m_settings.read(ChoicesSection, QLatin1String(key), fallback);
    };
    setChannels(read("X", m_x->text()), read("Y", m_y->text()), read("Value", m_value->text()));
    const int stat = read("Statistic", QString()).toInt();
    m_stat->setCurrentIndex(stat >= 0 && stat < m_stat->count() ? stat : 0);
    const int minHits = read("MinimumScans", QString()).toInt();
    if (minHits > 0)
        setMinHits(minHits);
    m_conditions->setPlainText(read("Where", QString()));
    m_xAxis->setText(read("XBreakpoints", QString()));
    m_yAxis->setText(read("YBreakpoints", QString()));
}

void TableWindow::keepChoices() const
{
    const auto write = [this](const char *key, const QString &value) {
        m_settings.write(ChoicesSection, QLatin1String(key), value);
    };
    write("X", m_x->text().trimmed());
    write("Y", m_y->text().trimmed());
    write("Value", m_value->text().trimmed());
    write("Statistic", QString::number(m_stat->currentIndex()));
    write("MinimumScans", QString::number(m_minHits->value()));
    write("Where", m_conditions->toPlainText());
    write("XBreakpoints", m_xAxis->text());
    write("YBreakpoints", m_yAxis->text());
}

void TableWindow::setChannels(const QString &x, const QString &y, const QString &value)
{
    m_x->setText(x);
    m_y->setText(y);
    m_value->setText(value);
}

void TableWindow::setStat(CellStat stat)
{
    m_stat->setCurrentIndex(int(stat));
}

void TableWindow::setMinHits(int minHits)
{
    m_minHits->setValue(minHits);
}

TableRequest TableWindow::readRequest() const
{
    TableRequest request;
    request.x = m_x->text().trimmed().toStdString();
    request.y = m_y->text().trimmed().toStdString();
    request.value = m_value->text().trimmed().toStdString();
    for (const std::string &code : {request.x, request.y, request.value})
        checkChannelCode(code);
    static const QRegularExpression between(QStringLiteral("[;\\n]"));
    for (const QString &text : m_conditions->toPlainText().split(between, Qt::SkipEmptyParts))
        if (!text.trimmed().isEmpty())
            request.conditions.push_back(parseCondition(text.trimmed().toStdString()));
    if (!m_xAxis->text().trimmed().isEmpty())
        request.xAxis = parseBreakpoints(m_xAxis->text().toStdString());
    if (!m_yAxis->text().trimmed().isEmpty())
        request.yAxis = parseBreakpoints(m_yAxis->text().toStdString());
    request.minHits = m_minHits->value();
    return request;
}

CellStat TableWindow::shownStat() const
{
    return m_counts->isChecked() ? CellStat::Count : CellStat(m_stat->currentIndex());
}

void TableWindow::makeTable()
{
    m_message->clear();
    m_points.reset();
    try {
        const TableRequest request = readRequest();
        keepChoices();
        // Pooling a whole logbook takes seconds: the pointer says so.
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        const struct Restore {
            ~Restore() { QGuiApplication::restoreOverrideCursor(); }
        } restore;
        LogbookTable made = m_source(request);
        m_points = std::make_shared<const std::vector<CountedScan>>(std::move(made.points));
        QStringList names;
        for (const LeftOutLog &log : made.leftOut)
            names << tr("log %1: %2").arg(log.id).arg(log.why);
        m_leftOut->setText(
            names.isEmpty() ? QString() : tr("Left out: %1").arg(names.join(QStringLiteral("; "))));
        m_table = made.table;
        if (made.logsUsed == 0)
            m_message->setText(made.leftOut.empty()
                                   ? tr("No table: no Rirod log is chosen.")
                                   : tr("No table: none of the logs can be used."));
        else if (!m_table)
            m_message->setText(tr("No table: no scan counts, so an axis with neither usual nor "
                                  "given breakpoints has none."));
    } catch (...) {
        m_message->setText(currentError().description());
        return;
    }
    showGrid();
}

void TableWindow::openScatter()
{
    m_scatter = nullptr;
    makeTable();
    if (!m_points || !m_table)
        return; // the message says why
    if (m_points->empty()) {
        if (m_message->text().isEmpty())
            m_message->setText(tr("No scatter: no scan counts."));
        return;
    }
    m_scatter = new ScatterWindow(m_logsName, m_points, *m_table, m_ui, this);
    m_scatter->show();
}

ScatterWindow *TableWindow::scatterWindow() const
{
    return m_scatter;
}

void TableWindow::showGrid()
{
    m_grid->clear();
    if (m_corner) {
        m_corner->setText(cornerText());
        m_corner->setToolTip(m_table ? tr("%1 down, %2 across")
                                           .arg(QString::fromStdString(m_table->y),
                                                QString::fromStdString(m_table->x))
                                     : QString());
    }
    if (!m_table) {
        m_grid->setRowCount(0);
        m_grid->setColumnCount(0);
        return;
    }
    // The corner's text must fit beside the Y breakpoints.
    const QFontMetrics metrics(m_grid->verticalHeader()->font());
    m_grid->verticalHeader()->setMinimumWidth(metrics.horizontalAdvance(cornerText()) + 12);
    const CellTable &table = *m_table;
    const CellStat stat = shownStat();
    const ColourScale scale = colourScale(table, stat);
    m_grid->setColumnCount(int(table.xAxis.size()));
    m_grid->setRowCount(int(table.yAxis.size()));
    QStringList xs, ys;
    for (const double x : table.xAxis)
        xs << QString::fromStdString(shortestText(x));
    for (const double y : table.yAxis)
        ys << QString::fromStdString(shortestText(y));
    m_grid->setHorizontalHeaderLabels(xs);
    m_grid->setVerticalHeaderLabels(ys);
    for (std::size_t yi = 0; yi < table.yAxis.size(); ++yi)
        for (std::size_t xi = 0; xi < table.xAxis.size(); ++xi) {
            auto *item =
                new QTableWidgetItem(QString::fromStdString(cellText(table, xi, yi, stat)));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            item->setBackground(table.filled(xi, yi)
                                    ? qColor(scale.colour(table.at(xi, yi).stat(stat)))
                                    : EmptyCellColour);
            item->setForeground(Qt::black);
            m_grid->setItem(int(yi), int(xi), item);
        }
}

QString TableWindow::cornerText() const
{
    return m_table ? QString::fromStdString(cornerName(*m_table)) : QString();
}

QString TableWindow::tableText() const
{
    return m_table ? QString::fromStdString(vexa::tableText(*m_table, shownStat())) : QString();
}

void TableWindow::copyTable()
{
    if (m_table)
        QApplication::clipboard()->setText(tableText());
}

void TableWindow::saveCsv()
{
    if (!m_table)
        return;
    const QByteArray csv = QByteArray::fromStdString(vexa::tableText(*m_table, shownStat(), ','));
    saveChosenFile(m_ui, this, tr("Save table as..."),
                   {tr("CSV file (*.csv)"), QStringLiteral("*.csv")},
                   [&csv](const QString &path) { writeFileBytes(path, csv); });
}

} // namespace vexa
