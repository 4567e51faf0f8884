// The window that shows one scan log's plot: zoom with the mouse, Esc or
// "Reset Zoom" to see the whole log, a readout at the cursor, and the view
// saved as a PNG or SVG picture. It reads nothing from the handheld itself.
#pragma once

#include "core/UserInterface.h"
#include "plot/PlotData.h"

#include <QDate>
#include <QWidget>

class QLabel;
class QPushButton;

namespace vexa {

class PlotView;

class PlotWindow : public QWidget {
    Q_OBJECT

public:
    PlotWindow(PlotData plot, QDate logDate, UserInterface &ui, QWidget *parent = nullptr);

    PlotView *view() const { return m_view; }
    QLabel *readout() const { return m_readout; }

signals:
    // Any mouse or key input in the window: the user is still there.
    void userActed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The view drawn by `picture`, to a file the user names.
    void save(const FileFilter &filter, QByteArray (PlotView::*picture)());

    UserInterface &m_ui;
    PlotView *m_view = nullptr;
    QLabel *m_readout = nullptr;
};

} // namespace vexa
