// Progress on standard error for the batch tool; nobody can press Cancel.
#pragma once

#include "core/CommandHost.h"

#include <QElapsedTimer>

namespace vexa {

class BatchHost final : public CommandHost, public UserInterface {
public:
    void setStatus(const QString &text) override;
    void showStatusNow(const QString &text) override;
    void yield() override;
    bool cancelRequested() const override { return false; }
    void clearCancelRequest() override {}

    void showMessage(const QString &text, const QString &title, Icon icon) override;
    bool askYesNo(const QString &text, const QString &title) override;
    SaveFileChoice chooseSaveFile(const QString &, const QList<FileFilter> &) override
    {
        return {};
    }
    SaveLocation chooseSaveLocation(bool) override { return {}; }

private:
    QString m_status;
    QElapsedTimer m_lastShown;
};

} // namespace vexa
