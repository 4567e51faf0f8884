// The scatter of a table window's scans in a window of its own: what it
// shows in one line, the scatter, and Save as PNG.
#pragma once

#include "ScatterView.h"

#include "core/UserInterface.h"

class QLabel;

namespace vexa {

class ScatterWindow : public QWidget {
    Q_OBJECT

public:
    // A window of `parent`'s: it closes with it.
    ScatterWindow(const QString &logsName, ScatterPoints points, const CellTable &table,
                  UserInterface &ui, QWidget *parent);

    ScatterView *view() const { return m_view; }
    QLabel *caption() const { return m_caption; }
    void savePng();

private:
    UserInterface &m_ui;
    QLabel *m_caption = nullptr;
    ScatterView *m_view = nullptr;
};

} // namespace vexa
