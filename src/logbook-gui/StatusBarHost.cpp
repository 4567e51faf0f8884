#include "StatusBarHost.h"

#include <QCoreApplication>
#include <QStatusBar>

namespace vexa {

namespace {

// As the main window: the loop runs once per slice, not once per record.
constexpr int SliceMs = 20;

} // namespace

void StatusBarHost::showStatusNow(const QString &text)
{
    m_pending.clear();
    m_bar.showMessage(text);
    m_bar.repaint();
}

void StatusBarHost::yield()
{
    if (m_slice.isValid() && m_slice.elapsed() < SliceMs)
        return;
    m_slice.start();
    if (!m_pending.isEmpty())
        showStatusNow(m_pending);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace vexa
