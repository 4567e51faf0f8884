#include "PlotWindow.h"

#include "PlotView.h"
#include "core/RuntimeError.h"
#include "export/LogFile.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vexa {

PlotWindow::PlotWindow(PlotData plot, QDate logDate, UserInterface &ui, QWidget *parent)
    : QWidget(parent, Qt::Window), m_ui(ui)
{
    setObjectName(QStringLiteral("frmPlot"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Plot - %1").arg(plot.title));
    resize(1100, 820);

    auto *reset = new QPushButton(tr("Reset Zoom"), this);
    reset->setObjectName(QStringLiteral("cmdResetZoom"));
    reset->setToolTip(tr("Show the whole log (Esc)"));
    auto *png = new QPushButton(tr("Save PNG..."), this);
    png->setObjectName(QStringLiteral("cmdSavePng"));
    auto *svg = new QPushButton(tr("Save SVG..."), this);
    svg->setObjectName(QStringLiteral("cmdSaveSvg"));
    auto *hint = new QLabel(tr("Drag across a panel to zoom; right-click to zoom out."), this);

    m_view = new PlotView(std::move(plot), logDate, this);
    m_readout = new QLabel(this);
    m_readout->setObjectName(QStringLiteral("lblReadout"));
    m_readout->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_readout->setFixedWidth(190);
    m_readout->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(reset);
    buttons->addWidget(png);
    buttons->addWidget(svg);
    buttons->addSpacing(12);
    buttons->addWidget(hint, 1);
    auto *body = new QHBoxLayout;
    body->addWidget(m_view, 1);
    body->addWidget(m_readout);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addLayout(body, 1);

    connect(reset, &QPushButton::clicked, m_view, &PlotView::resetZoom);
    connect(png, &QPushButton::clicked, this, [this] {
        save({tr("PNG picture (*.png)"), QStringLiteral("*.png")}, &PlotView::png);
    });
    connect(svg, &QPushButton::clicked, this, [this] {
        save({tr("SVG picture (*.svg)"), QStringLiteral("*.svg")}, &PlotView::svg);
    });
    connect(m_view, &PlotView::cursorAt, this,
            [this](double ms) { m_readout->setText(m_view->readout(ms)); });
    m_readout->setText(m_view->readout(m_view->range().from));

    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
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

void PlotWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        m_view->resetZoom();
    else
        QWidget::keyPressEvent(event);
}

void PlotWindow::save(const FileFilter &filter, QByteArray (PlotView::*picture)())
{
    const SaveFileChoice choice = m_ui.chooseSaveFile(tr("Save plot as..."), {filter});
    if (choice.path.isEmpty())
        return;
    try {
        writeFileBytes(choice.path, (m_view->*picture)());
    } catch (...) {
        m_ui.inform(errorBoxText(tr("There was an error saving the file."), currentError()));
    }
}

} // namespace vexa
