// Settings kept in memory, so that a test never touches the user's.
#pragma once

#include "desktop/SavedPaths.h"

#include <map>

namespace vexa::test {

class MemorySettings final : public SettingsStore {
public:
    std::map<QString, QString> values; // "section/key"

    QString read(const QString &section, const QString &key, const QString &fallback) override
    {
        const auto found = values.find(section + QLatin1Char('/') + key);
        return found == values.end() ? fallback : found->second;
    }
    void write(const QString &section, const QString &key, const QString &value) override
    {
        values[section + QLatin1Char('/') + key] = value;
    }
};

} // namespace vexa::test
