#include "UnattendedHost.h"

namespace vexa {

void UnattendedHost::printProgress(std::function<void(const QString &)> print, int intervalMs)
{
    m_print = std::move(print);
    m_printInterval = intervalMs;
}

void UnattendedHost::print(const QString &text, bool isProgress)
{
    if (!m_print)
        return;
    m_print(text);
    if (isProgress)
        m_lastPrinted.restart();
}

void UnattendedHost::setStatus(const QString &text)
{
    if (onStatus)
        onStatus(text);
    if (m_print)
        m_pending = text;
}

void UnattendedHost::showStatusNow(const QString &text)
{
    if (onStatus)
        onStatus(text);
    print(text, true);
}

void UnattendedHost::yield()
{
    ++m_yields;
    if (m_yields == pressCancelAtYield)
        m_cancel = true;
    if (m_print && !(m_lastPrinted.isValid() && m_lastPrinted.elapsed() < m_printInterval))
        print(m_pending, true);
    if (onYield)
        onYield(m_yields);
}

void UnattendedHost::showMessage(const QString &text, const QString &, Icon)
{
    if (onMessage)
        onMessage(text);
    print(text, false);
}

bool UnattendedHost::askYesNo(const QString &text, const QString &)
{
    if (onQuestion)
        onQuestion(text, answer);
    print(text + (answer ? QStringLiteral(" (yes)") : QStringLiteral(" (no)")), false);
    return answer;
}

SaveFileChoice UnattendedHost::chooseSaveFile(const QString &, const QList<FileFilter> &,
                                              const QString &)
{
    return nextFile;
}

SaveLocation UnattendedHost::chooseSaveLocation(bool)
{
    return nextLocation;
}

} // namespace vexa
