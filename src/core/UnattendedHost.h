// The one host of a command that runs with nobody at the screen: the batch
// tools, benchmarks, fuzz targets and tests. Questions get a set answer,
// Cancel is pressed only when asked for, and what a window would show goes
// to hooks the caller sets; with none set, nothing is kept.
#pragma once

#include "CommandHost.h"

#include <QElapsedTimer>

#include <functional>

namespace vexa {

class UnattendedHost final : public CommandHost, public UserInterface {
public:
    // Every status text as it is set, and every message box's text.
    std::function<void(const QString &)> onStatus;
    std::function<void(const QString &)> onMessage;
    // Every question and the answer it got.
    std::function<void(const QString &, bool answer)> onQuestion;
    // After each yield, with the count of yields so far (from 1).
    std::function<void(int yield)> onYield;

    bool answer = false;         // to every question
    SaveFileChoice nextFile;     // what the file-save dialog returns
    SaveLocation nextLocation;   // what the save-location dialog returns
    QString nextFolder;          // what the folder choice returns
    FormatChoice nextFormat;     // what the format choice returns
    int pressCancelAtYield = -1; // 1-based; -1: never

    // Status texts for a person reading along (the batch tools' standard
    // error): shown at once, or set and shown at a yield at most once a
    // `intervalMs`, so a long save doesn't print a line per scan.
    void printProgress(std::function<void(const QString &)> print, int intervalMs = 1000);

    int yields() const { return m_yields; }
    void resetYields() { m_yields = 0; }
    bool cancelShown() const { return m_cancelShown; }
    void pressCancel() { m_cancel = true; }

    void setStatus(const QString &text) override;
    void showStatusNow(const QString &text) override;
    void yield() override;
    bool cancelRequested() const override { return m_cancel; }
    void clearCancelRequest() override { m_cancel = false; }
    void setCancelShown(bool shown) override { m_cancelShown = shown; }

    void showMessage(const QString &text, const QString &title, Icon icon) override;
    bool askYesNo(const QString &text, const QString &title) override;
    SaveFileChoice chooseSaveFile(const QString &title, const QList<FileFilter> &filters,
                                  const QString &suggested = QString()) override;
    SaveLocation chooseSaveLocation(bool rirodFormats) override;
    QString chooseFolder(const QString &) override { return nextFolder; }
    FormatChoice chooseFormat(const QString &, const QList<FormatOffer> &) override
    {
        return nextFormat;
    }

private:
    // Progress lines start the interval again; boxes don't.
    void print(const QString &text, bool isProgress);

    std::function<void(const QString &)> m_print;
    int m_printInterval = 0;
    QElapsedTimer m_lastPrinted;
    QString m_pending;
    int m_yields = 0;
    bool m_cancel = false;
    bool m_cancelShown = false;
};

} // namespace vexa
