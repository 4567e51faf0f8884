// Inside the window's own files: marks the window busy while a command or a
// box runs.
#pragma once

#include "InputGuard.h"
#include "MainWindow.h"

#include <QPushButton>
#include <QTimer>

namespace vexa {

// Marks the window busy for its lifetime: input to the window is held off
// and a close request waits until the outermost scope ends.
class MainWindow::BusyScope {
public:
    explicit BusyScope(MainWindow &window) : m_window(window)
    {
        if (m_window.m_busyDepth++ == 0)
            m_window.m_inputGuard = std::make_unique<InputGuard>(&m_window, m_window.cmdCancel);
    }
    ~BusyScope()
    {
        if (--m_window.m_busyDepth > 0)
            return;
        m_window.m_inputGuard.reset();
        if (m_window.m_closePending)
            QTimer::singleShot(0, &m_window, &MainWindow::close);
    }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    MainWindow &m_window;
};

} // namespace vexa
