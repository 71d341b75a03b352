#include "shell/qt/StandardDialogs.h"

#include "controls/qt/CAboutDlg.h"
#include "controls/qt/CHelpDlg.h"
#include "shell/qt/CMainFrame.h"
#include "shell/qt/StationHooks.h"

namespace velmaris {

void PlugStandardDialogs(StationHooks& hooks, CMainFrame& frame)
{
    hooks.runHotKeysHelp = [&frame] {
        CHelpDlg dialog(&frame);
        frame.InstallAccelerators(&dialog); // F2, F3... from inside the modal list
        dialog.exec();
    };
    hooks.runAboutBox = [&frame] {
        CAboutDlg dialog(QString::fromLatin1(kAboutPicture), &frame);
        dialog.exec();
    };
}

} // namespace velmaris
