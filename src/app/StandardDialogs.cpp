#include "app/StandardDialogs.h"

#include "app/CMainFrame.h"
#include "app/StationHooks.h"

#include <QMessageBox>

namespace velmaris {

void PlugStandardDialogs(StationHooks& hooks, CMainFrame& frame)
{
    hooks.runAboutBox = [&frame] {
        QMessageBox::about(&frame, QStringLiteral("About Velmaris"),
            QStringLiteral("Velmaris %1\nThe operator's station for K52 imaging sonar heads.")
                .arg(QStringLiteral(VELMARIS_VERSION)));
    };
}

} // namespace velmaris
