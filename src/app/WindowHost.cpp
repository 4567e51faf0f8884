#include "WindowHost.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

namespace vexa {

WindowHost::WindowHost(QLabel *status, QPushButton *cancel, QList<QPushButton *> commands,
                       bool &cancelRequested)
    : m_status(status), m_cancel(cancel), m_commands(std::move(commands)),
      m_cancelRequested(cancelRequested)
{}

void WindowHost::setStatus(const QString &text)
{
    m_pending = text;
    m_hasPending = true;
}

void WindowHost::showStatusNow(const QString &text)
{
    m_hasPending = false;
    m_status->setText(text);
    m_status->repaint();
}

void WindowHost::yield()
{
    if (m_slice.isValid() && m_slice.elapsed() < m_sliceMs)
        return;
    if (m_hasPending) {
        m_status->setText(m_pending);
        m_hasPending = false;
    }
    QCoreApplication::processEvents();
    m_slice.restart();
}

void WindowHost::setCancelShown(bool shown)
{
    m_cancel->setVisible(shown);
}

void WindowHost::setCommandButtonsShown(bool shown)
{
    for (QPushButton *button : m_commands)
        button->setVisible(shown);
}

} // namespace vexa
