// Settings that remember nothing, so that a benchmark never reads or
// changes the user's.
#pragma once

#include "desktop/SavedPaths.h"

namespace vexa::bench {

class NoSettings final : public SettingsStore {
public:
    QString read(const QString &, const QString &, const QString &fallback) override
    {
        return fallback;
    }
    void write(const QString &, const QString &, const QString &) override {}
};

} // namespace vexa::bench
