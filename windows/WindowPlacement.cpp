#include "WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void centreOnScreen(QWidget &window)
{
    const QScreen *screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (screen)
        window.move(screen->availableGeometry().center() - window.rect().center());
}

void bringUp(QWidget &window, QWidget *focus)
{
    window.show();
    window.raise();
    window.activateWindow();
    if (focus)
        focus->setFocus(Qt::ActiveWindowFocusReason);
}
