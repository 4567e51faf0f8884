#include "BatchHost.h"

#include <cstdio>

namespace vexa {

namespace {

void printLine(const QString &text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

} // namespace

void BatchHost::setStatus(const QString &text)
{
    m_status = text;
}

void BatchHost::showStatusNow(const QString &text)
{
    printLine(text);
    m_lastShown.restart();
}

void BatchHost::yield()
{
    if (m_lastShown.isValid() && m_lastShown.elapsed() < 1000)
        return;
    printLine(m_status);
    m_lastShown.restart();
}

void BatchHost::showMessage(const QString &text, const QString &, Icon)
{
    printLine(text);
}

bool BatchHost::askYesNo(const QString &text, const QString &)
{
    printLine(text + QStringLiteral(" (no)"));
    return false;
}

} // namespace vexa
