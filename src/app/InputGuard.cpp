#include "InputGuard.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace vexa {

InputGuard::InputGuard(QWidget *window, QWidget *allowed) : m_window(window), m_allowed(allowed)
{
    qApp->installEventFilter(this);
}

InputGuard::~InputGuard()
{
    qApp->removeEventFilter(this);
}

bool InputGuard::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::Shortcut:
        break;
    default:
        return false;
    }
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || !m_window)
        return false;
    const bool inWindow = widget == m_window || m_window->isAncestorOf(widget);
    const bool allowed = m_allowed && (widget == m_allowed || m_allowed->isAncestorOf(widget));
    return inWindow && !allowed;
}

} // namespace vexa
