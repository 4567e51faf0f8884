// Answers for benchmarks that drive the window or a command without anyone
// at the screen.
#pragma once

#include "core/CommandHost.h"

#include <functional>

namespace vexa::bench {

class BenchUi final : public CommandHost, public UserInterface {
public:
    SaveFileChoice nextFile;
    bool answer = false;
    std::function<void(const QString &)> onQuestion;

    void setStatus(const QString &) override {}
    void showStatusNow(const QString &) override {}
    void yield() override {}
    bool cancelRequested() const override { return false; }
    void clearCancelRequest() override {}

    void showMessage(const QString &, const QString &, Icon) override {}
    bool askYesNo(const QString &text, const QString &) override
    {
        if (onQuestion)
            onQuestion(text);
        return answer;
    }
    SaveFileChoice chooseSaveFile(const QString &, const QList<FileFilter> &) override
    {
        return nextFile;
    }
    SaveLocation chooseSaveLocation(bool) override { return {}; }
};

} // namespace vexa::bench
