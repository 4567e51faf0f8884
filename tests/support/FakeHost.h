// A command host without a window: it records the status texts and can
// press Cancel at a given yield.
#pragma once

#include "QtPrinters.h"

#include "core/CommandHost.h"

#include <functional>

namespace vexa::test {

class FakeHost final : public CommandHost {
public:
    QStringList statuses; // every text set, in order
    int yields = 0;
    int pressCancelAtYield = -1; // 1-based; -1: never
    std::function<void(int yield)> onYield;
    bool cancelShown = false;

    void setStatus(const QString &text) override { statuses << text; }
    void showStatusNow(const QString &text) override { statuses << text; }
    void yield() override
    {
        ++yields;
        if (yields == pressCancelAtYield)
            m_cancel = true;
        if (onYield)
            onYield(yields);
    }
    bool cancelRequested() const override { return m_cancel; }
    void clearCancelRequest() override { m_cancel = false; }
    void pressCancel() { m_cancel = true; }
    void setCancelShown(bool shown) override { cancelShown = shown; }
    void setCommandButtonsShown(bool) override {}

private:
    bool m_cancel = false;
};

} // namespace vexa::test
