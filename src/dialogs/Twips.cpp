#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>

namespace vexa {

Twips::Twips(const QWidget *widget)
{
    const QScreen *screen =
        widget && widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    m_dpi = screen ? screen->logicalDotsPerInch() : 96.0;
}

int Twips::px(int twips) const
{
    return qRound(twips * m_dpi / 1440.0);
}

QRect Twips::rect(int left, int top, int width, int height) const
{
    return QRect(px(left), px(top), px(width), px(height));
}

} // namespace vexa
