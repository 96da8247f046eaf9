#pragma once
// Start-up and shut-down: component object support, the program's folder as working
// directory, the main window created hidden and shown centred, the event loop, and the
// exit code (0 after the window closes, -1 after a failure that ends the program).

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// The top-left corner that centres a window of the given outer size on the screen:
// half of the room left on each axis, by integer division.
QPoint CentredTopLeft(const QRect& screen, QSize outer);

// Shows the window centred on the primary screen (the whole screen, not the work area),
// by its frame size when the window system reports one, else by its client size, and
// centres it again once a frame added on showing becomes known.
void ShowCentred(QWidget& window);

// The whole program; gives the process's exit code.
int RunProgram(int& argc, char** argv);
