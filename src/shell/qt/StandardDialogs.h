#pragma once
// The platform's standard dialogs behind the command hooks: the about box.

namespace velmaris {

class StationHooks;
class CMainFrame;

void PlugStandardDialogs(StationHooks& hooks, CMainFrame& frame);

} // namespace velmaris
