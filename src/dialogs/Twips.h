// Control positions are given in twips: 1440 to the inch, so 15 to a pixel
// at 96 dpi; on other screens they scale with the screen's dpi.
#pragma once

#include <QRect>
#include <QWidget>

namespace vexa {

class Twips {
public:
    explicit Twips(const QWidget *widget);
    int px(int twips) const;
    QRect rect(int left, int top, int width, int height) const;
    void place(QWidget *widget, int left, int top, int width, int height) const
    {
        widget->setGeometry(rect(left, top, width, height));
    }

private:
    double m_dpi;
};

} // namespace vexa
