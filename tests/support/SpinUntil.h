#pragma once
// Runs the Qt event loop until a condition holds or a time runs out; what
// the in-process station tests wait with. User-interface thread only.
#include <QApplication>
#include <QElapsedTimer>

namespace velmaris {

// Runs the event loop until `done()` holds (true) or `ms` pass (false).
template <typename Done>
bool SpinUntil(Done done, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

} // namespace velmaris
