// While a command runs and yields to the message loop, the window must take
// no input but a click on Cancel: the command's entries and list positions
// must not change under it. The guard swallows mouse and key input to the
// window's controls while it is armed; other windows (the questions the
// command asks) are not affected.
#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace vexa {

class InputGuard : public QObject {
public:
    InputGuard(QWidget *window, QWidget *allowed);
    ~InputGuard() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> m_window;
    QPointer<QWidget> m_allowed;
};

} // namespace vexa
