#pragma once

class QWidget;

/// Places a window in the middle of its screen's free area.
void centreOnScreen(QWidget &window);

/// Shows a window that is already created, in front of the others and with the keyboard
/// focus, so that typing goes into `focus` (or the window's first field) at once.
void bringUp(QWidget &window, QWidget *focus = nullptr);
