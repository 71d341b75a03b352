#include "shell/qt/StandardDialogs.h"

#include "shell/qt/CMainFrame.h"
#include "shell/qt/StationHooks.h"

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
