// The window's controls, at their places.
#include "MainWindow.h"
#include "dialogs/Twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

namespace vexa {

namespace {

template <typename Control> Control *named(Control *control, const char *name)
{
    control->setObjectName(QLatin1String(name));
    return control;
}

} // namespace

void MainWindow::buildControls()
{
    const Twips tw(this);
    setFixedSize(tw.px(8400), tw.px(7170));
    setWindowTitle(QStringLiteral("VEXA Synchronization"));
    setObjectName(QStringLiteral("frmMain"));
    // The positions were laid out for an 8-point face.
    QFont face = font();
    face.setPointSize(8);
    setFont(face);

    // The tabs carry no controls of their own: everything else stands on top
    // of the strip and shows on every tab.
    tabMain = named(new QTabWidget(this), "tabMain");
    for (const LogKind kind :
         {LogKind::Rirod, LogKind::LTrim, LogKind::AccelTest, LogKind::TroubleCode})
        tabMain->addTab(new QWidget, QLatin1String(logKindInfo(kind).caption));
    tw.place(tabMain, 120, 720, 8175, 6375);

    lblStatus = named(new QLabel(QStringLiteral("Searching..."), this), "lblStatus");
    tw.place(lblStatus, 120, 240, 6255, 255);

    Frame1 = named(new QGroupBox(QStringLiteral("Saved Data"), this), "Frame1");
    tw.place(Frame1, 360, 1200, 6135, 5655);

    lstSavedData = named(new QListWidget(this), "lstSavedData");
    lstSavedData->setSelectionMode(QAbstractItemView::MultiSelection);
    tw.place(lstSavedData, 480, 1560, 5835, 3375);

    txtDesc = named(new QPlainTextEdit(this), "txtDesc");
    txtDesc->setReadOnly(true);
    tw.place(txtDesc, 480, 5040, 5895, 1575);

    const auto button = [&](const char *name, const char *caption, int top) {
        auto *b = named(new QPushButton(QLatin1String(caption), this), name);
        tw.place(b, 6600, top, 1095, 495);
        return b;
    };
    cmdCancel = button("cmdCancel", "Cancel", 120);
    cmdSelectAll = button("cmdSelectAll", "Select All", 1320);
    cmdClearAll = button("cmdClearAll", "Clear All", 1800);
    cmdDelete = button("cmdDelete", "Delete...", 2520);
    cmdDeleteAll = button("cmdDeleteAll", "Delete All...", 3000);
    cmdSave = button("cmdSave", "Save...", 3720);
    cmdDone = button("cmdDone", "Done", 5040);
    cmdCancel->hide();
    setLogButtonsEnabled(false);

    Timer1 = named(new QTimer(this), "Timer1");
    Timer1->setInterval(1000);

    connect(Timer1, &QTimer::timeout, this, &MainWindow::onTimerTick);
    connect(tabMain, &QTabWidget::currentChanged, this, &MainWindow::onTabChanged);
    connect(lstSavedData, &QListWidget::itemClicked, this, &MainWindow::showLogDescription);
    // Moving through the list with the keys describes the line reached too.
    connect(lstSavedData, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && lstSavedData->hasFocus())
            showLogDescription();
    });
    connect(lstSavedData, &QListWidget::itemDoubleClicked, this, &MainWindow::openPlot);
    lstSavedData->installEventFilter(this);
    // A right-click must leave the selection and the current line alone.
    m_listViewport = lstSavedData->viewport();
    m_listViewport->installEventFilter(this);
    mnuLogLine = named(new QMenu(this), "mnuLogLine");
    connect(mnuLogLine->addAction(QStringLiteral("Show in Logbook")), &QAction::triggered, this,
            &MainWindow::showInLogbook);
    connect(cmdCancel, &QPushButton::clicked, this, [this] { m_cancelRequested = true; });
    connect(cmdSelectAll, &QPushButton::clicked, this, &MainWindow::onSelectAll);
    connect(cmdClearAll, &QPushButton::clicked, this, &MainWindow::onClearAll);
    connect(cmdDelete, &QPushButton::clicked, this, &MainWindow::onDelete);
    connect(cmdDeleteAll, &QPushButton::clicked, this, &MainWindow::onDeleteAll);
    connect(cmdSave, &QPushButton::clicked, this, &MainWindow::onSave);
    connect(cmdDone, &QPushButton::clicked, this, &MainWindow::close);
}

void MainWindow::setLogButtonsEnabled(bool enabled)
{
    for (QPushButton *b : {cmdSelectAll, cmdClearAll, cmdSave, cmdDelete, cmdDeleteAll})
        b->setEnabled(enabled);
}

} // namespace vexa
