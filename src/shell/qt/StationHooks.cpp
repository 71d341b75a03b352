#include "shell/qt/StationHooks.h"

#include "image/qt/CVelmarisView.h"

namespace velmaris {

void StationHooks::UpdateAllViews(int hint)
{
    if (view_ != nullptr)
        view_->OnUpdate(hint);
}

void StationHooks::ToggleMeasureMode()
{
    if (view_ != nullptr)
        view_->ToggleMeasureMode();
}

bool StationHooks::MeasureModeOn() const
{
    return view_ != nullptr && view_->MeasureModeOn();
}

} // namespace velmaris
