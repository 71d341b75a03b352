#pragma once
// The modal windows behind the command hooks: the hot-keys list and the about box.

namespace velmaris {

class StationHooks;
class CMainFrame;

void PlugStandardDialogs(StationHooks& hooks, CMainFrame& frame);

} // namespace velmaris
