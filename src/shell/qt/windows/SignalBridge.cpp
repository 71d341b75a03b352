#include "shell/qt/SignalBridge.h"

#include <QMetaObject>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace velmaris {

namespace {
// The console runs its control handler on a thread of its own: the bridge
// is reached under this lock, and the destructor clears it.
std::mutex g_lock;
std::condition_variable g_gone;
SignalBridge* g_bridge = nullptr;

BOOL WINAPI OnConsoleControl(DWORD event)
{
    std::unique_lock<std::mutex> lock(g_lock);
    if (g_bridge == nullptr)
        return FALSE; // the default: end the process
    SignalBridge* bridge = g_bridge;
    QMetaObject::invokeMethod(
        bridge, [bridge] { emit bridge->terminationRequested(); }, Qt::QueuedConnection);
    // Windows ends the process once the handler returns from a close, log-off
    // or shut-down event: wait (within the few seconds it grants) for the
    // station to have shut down in order.
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        g_gone.wait_for(lock, std::chrono::milliseconds(4500), [] { return g_bridge == nullptr; });
    return TRUE;
}
} // namespace

SignalBridge::SignalBridge(QObject* parent)
    : QObject(parent)
{
    {
        const std::lock_guard<std::mutex> lock(g_lock);
        g_bridge = this;
    }
    ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

SignalBridge::~SignalBridge()
{
    ::SetConsoleCtrlHandler(OnConsoleControl, FALSE);
    {
        const std::lock_guard<std::mutex> lock(g_lock);
        g_bridge = nullptr;
    }
    g_gone.notify_all();
    // A request still queued for this object is discarded with it.
}

} // namespace velmaris
