// What a long command reaches of the place it runs in: the status line, a
// yield to the message loop, the cancel request and the command buttons.
// The window, the batch tool and the benchmarks each provide one.
#pragma once

#include "UserInterface.h"

#include <QString>

namespace vexa {

class CommandHost {
public:
    virtual ~CommandHost() = default;
    // Shown at the next yield.
    virtual void setStatus(const QString &text) = 0;
    // Shown at once.
    virtual void showStatusNow(const QString &text) = 0;
    // Lets pending input and painting run; a click on Cancel lands here.
    virtual void yield() = 0;
    virtual bool cancelRequested() const = 0;
    virtual void clearCancelRequest() = 0;
    virtual void setCancelShown(bool) {}
    // Select All, Clear All, Save, Delete, Delete All and Done.
    virtual void setCommandButtonsShown(bool) {}
};

// The check after each record of a long command: yield, and when Cancel was
// pressed ask `question`. Yes stops the command (true); No clears the
// request and the command goes on.
inline bool stopRequested(CommandHost &host, UserInterface &ui, const QString &question)
{
    host.yield();
    if (!host.cancelRequested())
        return false;
    if (ui.ask(question))
        return true;
    host.clearCancelRequest();
    return false;
}

} // namespace vexa
