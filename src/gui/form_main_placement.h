#pragma once

#include <QRect>
#include <QSize>

namespace murmelix {

// Where a window the main window opens the first time goes: under the main window, made
// lower where the screen ends there; beside it (right, else left) when too little room is
// left under it; smaller, down to `smallest`, before it goes over the main window, which it
// does only when the screen has no room anywhere else. The result is the window's outer top
// left with the size of its client area. `frame` is what a window manager adds around a
// window, at most; `least` the client area worth having.
QRect placeBesideMainWindow(const QRect& main, QSize wanted, QSize least, QSize smallest,
                            const QRect& area, int frame);

}  // namespace murmelix
