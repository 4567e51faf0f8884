// The drive and folder the save-location dialog remembers between runs, in
// the per-user settings under the program's name, section "SavedPaths".
#pragma once

#include <QString>

namespace vexa {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual QString read(const QString &section, const QString &key, const QString &fallback) = 0;
    virtual void write(const QString &section, const QString &key, const QString &value) = 0;
};

// QSettings in the user's scope, under the application's name.
class UserSettings final : public SettingsStore {
public:
    QString read(const QString &section, const QString &key, const QString &fallback) override;
    void write(const QString &section, const QString &key, const QString &value) override;
};

class SavedPaths {
public:
    explicit SavedPaths(SettingsStore &store) : m_store(store) {}

    QString drive() const; // "C:" on Windows, the root volume "/" elsewhere
    QString dir() const;   // the root folder
    // "Dir" first, then "Drive".
    void remember(const QString &dir, const QString &drive);

    static QString defaultDrive();
    static QString defaultDir();

private:
    SettingsStore &m_store;
};

} // namespace vexa
