// The logbook window's controls: the table, the log's description and note,
// the commands' toolbar, context menu and shortcuts, and what the window
// remembers of its layout.
#include "LogbookWindow.h"

#include "LogbookFilterBar.h"
#include "LogbookFilterModel.h"
#include "LogbookTableModel.h"

#include "desktop/SavedPaths.h"
#include "logbook/LogbookText.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace vexa {

namespace {

const QString Section = QStringLiteral("Logbook");

QLabel *paneTitle(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

QWidget *LogbookWindow::buildTablePane()
{
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("logTable"));
    m_table->setModel(m_shown);
    m_table->setSortingEnabled(true);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->setAlternatingRowColors(true);
    m_table->verticalHeader()->hide();
    // Rows of one height: 10,000 of them lay out at once.
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->horizontalHeader()->setSectionsMovable(true);
    m_table->setContextMenuPolicy(Qt::CustomContextMenu);
    m_table->installEventFilter(this);
    // Wide enough for what each column holds, so that the text keeps room.
    const QFontMetrics fm = m_table->fontMetrics();
    const auto fits = [&fm](const QString &widest) { return fm.horizontalAdvance(widest) + 14; };
    LogbookEntry sample;
    sample.start = QStringLiteral("2004-12-28T23:59:59");
    const std::pair<int, int> widths[] = {
        {LogbookTableModel::User, 80},
        {LogbookTableModel::Kind, fits(kindName(LogKind::TroubleCode))},
        {LogbookTableModel::Start, fits(startText(sample, m_dates))},
        {LogbookTableModel::Duration, fits(QStringLiteral("0:00:00.00"))},
        {LogbookTableModel::Scans, fits(QStringLiteral("32,767"))},
        {LogbookTableModel::Channels, fits(QStringLiteral("Channels"))},
        {LogbookTableModel::State, fits(stateName(LogState::OnHandheld))},
        {LogbookTableModel::Note, 70}};
    for (const auto &[column, width] : widths)
        m_table->setColumnWidth(column, width);
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &LogbookWindow::showSelected);
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &LogbookWindow::showSelected);
    connect(m_table, &QTableView::doubleClicked, this, &LogbookWindow::plotSelected);
    return m_table;
}

QWidget *LogbookWindow::buildLogPane()
{
    auto *pane = new QWidget(this);
    auto *column = new QVBoxLayout(pane);
    column->setContentsMargins(0, 0, 0, 0);
    m_description = new QPlainTextEdit(pane);
    m_description->setObjectName(QStringLiteral("description"));
    m_description->setReadOnly(true);
    m_note = new QPlainTextEdit(pane);
    m_note->setObjectName(QStringLiteral("noteEditor"));
    m_note->setTabChangesFocus(true);
    m_note->setPlaceholderText(QStringLiteral("A note of your own on this log"));
    m_note->setMaximumHeight(110);
    m_note->installEventFilter(this);
    column->addWidget(paneTitle(QStringLiteral("&Description"), m_description, pane));
    column->addWidget(m_description, 1);
    column->addWidget(paneTitle(QStringLiteral("N&ote"), m_note, pane));
    column->addWidget(m_note);
    pane->setMinimumWidth(200);
    return pane;
}

void LogbookWindow::buildActions()
{
    const auto action = [this](const char *name, const QString &text, const QKeySequence &keys,
                               void (LogbookWindow::*slot)()) {
        auto *a = new QAction(text, this);
        a->setObjectName(QLatin1String(name));
        a->setShortcut(keys);
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, slot);
        addAction(a);
        return a;
    };
    m_plot = action("actionPlot", QStringLiteral("&Plot"), QKeySequence(Qt::CTRL | Qt::Key_P),
                    &LogbookWindow::plotSelected);
    m_tuningTable = action("actionTable", QStringLiteral("&Table..."),
                           QKeySequence(Qt::CTRL | Qt::Key_T), &LogbookWindow::tableOfSelected);
    m_save = action("actionSave", QStringLiteral("&Save as..."), QKeySequence::Save,
                    &LogbookWindow::saveSelected);
    m_putBack = action("actionPutBack", QStringLiteral("Put &back on the handheld"),
                       QKeySequence(Qt::CTRL | Qt::Key_B), &LogbookWindow::putBackSelected);
    m_pull = action("actionPull", QStringLiteral("Pull &now"), QKeySequence(Qt::Key_F5),
                    &LogbookWindow::pullNow);
    m_purge = action("actionPurge", QStringLiteral("P&urge..."),
                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Delete), &LogbookWindow::purge);
    auto *find = new QAction(this);
    find->setShortcut(QKeySequence::Find);
    connect(find, &QAction::triggered, this, [this] { m_filter->searchBox()->setFocus(); });
    addAction(find);
    auto *close = new QAction(this);
    close->setShortcuts({QKeySequence::Close, QKeySequence::Quit});
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);

    QToolBar *bar = addToolBar(QStringLiteral("Logs"));
    bar->setObjectName(QStringLiteral("logActions"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    bar->addActions({m_plot, m_tuningTable, m_save, m_putBack});
    bar->addSeparator();
    bar->addActions({m_pull, m_purge});
    for (QAction *a : {m_plot, m_tuningTable, m_save, m_putBack, m_pull, m_purge})
        a->setToolTip(a->text().remove(QLatin1Char('&')) + QStringLiteral(" (") +
                      a->shortcut().toString(QKeySequence::NativeText) + QLatin1Char(')'));
    connect(m_table, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        QMenu menu(this);
        menu.addActions({m_plot, m_tuningTable, m_save, m_putBack});
        menu.addSeparator();
        menu.addActions({m_pull, m_purge});
        menu.exec(m_table->viewport()->mapToGlobal(at));
    });
}

void LogbookWindow::restoreSettings()
{
    const QByteArray header =
        QByteArray::fromBase64(m_settings.read(Section, QStringLiteral("Columns"), {}).toLatin1());
    QHeaderView *columns = m_table->horizontalHeader();
    if (!header.isEmpty() && columns->restoreState(header))
        m_table->sortByColumn(columns->sortIndicatorSection(), columns->sortIndicatorOrder());
    const QByteArray geometry =
        QByteArray::fromBase64(m_settings.read(Section, QStringLiteral("Geometry"), {}).toLatin1());
    m_split->restoreState(
        QByteArray::fromBase64(m_settings.read(Section, QStringLiteral("Split"), {}).toLatin1()));
    if (geometry.isEmpty() || !restoreGeometry(geometry))
        resize(1000, 700); // fits a 1024x768 screen
}

void LogbookWindow::saveSettings()
{
    m_settings.write(Section, QStringLiteral("Columns"),
                     QString::fromLatin1(m_table->horizontalHeader()->saveState().toBase64()));
    m_settings.write(Section, QStringLiteral("Split"),
                     QString::fromLatin1(m_split->saveState().toBase64()));
    m_settings.write(Section, QStringLiteral("Geometry"),
                     QString::fromLatin1(saveGeometry().toBase64()));
}

} // namespace vexa
