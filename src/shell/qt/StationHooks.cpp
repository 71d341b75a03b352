#include "shell/qt/StationHooks.h"

#include "image/qt/CVelmarisView.h"

namespace velmaris {

void StationHooks::UpdateAllViews(int hint)
{
    if (view_ != nullptr)
        view_->OnUpdate(hint);
}

} // namespace velmaris
