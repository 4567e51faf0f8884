#include "SavedPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>

namespace vexa {

namespace {

const QString Section = QStringLiteral("SavedPaths");

QSettings userSettings()
{
    return QSettings(QSettings::UserScope, QCoreApplication::applicationName());
}

} // namespace

QString UserSettings::read(const QString &section, const QString &key, const QString &fallback)
{
    return userSettings().value(section + QLatin1Char('/') + key, fallback).toString();
}

void UserSettings::write(const QString &section, const QString &key, const QString &value)
{
    QSettings settings = userSettings();
    settings.setValue(section + QLatin1Char('/') + key, value);
}

QString SavedPaths::defaultDrive()
{
#if defined(Q_OS_WIN)
    return QStringLiteral("C:");
#else
    return QStringLiteral("/");
#endif
}

QString SavedPaths::defaultDir()
{
    return QString(QDir::separator());
}

QString SavedPaths::drive() const
{
    return m_store.read(Section, QStringLiteral("Drive"), defaultDrive());
}

QString SavedPaths::dir() const
{
    return m_store.read(Section, QStringLiteral("Dir"), defaultDir());
}

void SavedPaths::remember(const QString &dir, const QString &drive)
{
    m_store.write(Section, QStringLiteral("Dir"), dir);
    m_store.write(Section, QStringLiteral("Drive"), drive);
}

} // namespace vexa
