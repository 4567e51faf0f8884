// The logbook window as the place a long command runs in: its status bar
// shows the progress, and the window keeps painting between records.
#pragma once

#include "core/CommandHost.h"

#include <QElapsedTimer>

class QStatusBar;

namespace vexa {

class StatusBarHost final : public CommandHost {
public:
    explicit StatusBarHost(QStatusBar &bar) : m_bar(bar) {}

    void setStatus(const QString &text) override { m_pending = text; }
    void showStatusNow(const QString &text) override;
    void yield() override;
    // Nothing in the window cancels: its commands are short.
    bool cancelRequested() const override { return false; }
    void clearCancelRequest() override {}

private:
    QStatusBar &m_bar;
    QString m_pending;
    QElapsedTimer m_slice;
};

} // namespace vexa
