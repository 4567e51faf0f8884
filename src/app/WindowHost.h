// The main window as the place a long command runs in. Commands yield once
// per record; repainting the status line that often would cost more than
// the work, so the window runs its message loop and shows the latest status
// once per time slice: the status still counts visibly and Cancel answers
// within a slice.
#pragma once

#include "core/CommandHost.h"

#include <QElapsedTimer>
#include <QList>

class QLabel;
class QPushButton;

namespace vexa {

class WindowHost final : public CommandHost {
public:
    static constexpr int DefaultSliceMs = 20;

    WindowHost(QLabel *status, QPushButton *cancel, QList<QPushButton *> commands,
               bool &cancelRequested);

    void setStatus(const QString &text) override;
    void showStatusNow(const QString &text) override;
    void yield() override;
    bool cancelRequested() const override { return m_cancelRequested; }
    void clearCancelRequest() override { m_cancelRequested = false; }
    void setCancelShown(bool shown) override;
    void setCommandButtonsShown(bool shown) override;
    // How often the message loop runs: 0 runs it at every yield.
    void setSliceMs(int ms) { m_sliceMs = ms; }

private:
    QLabel *m_status;
    QPushButton *m_cancel;
    QList<QPushButton *> m_commands;
    bool &m_cancelRequested;
    QString m_pending;
    bool m_hasPending = false;
    QElapsedTimer m_slice;
    int m_sliceMs = DefaultSliceMs;
};

} // namespace vexa
