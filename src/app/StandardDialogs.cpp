#include "app/StandardDialogs.h"

#include "app/CMainFrame.h"
#include "app/StationHooks.h"

#include <QFileDialog>
#include <QMessageBox>

namespace velmaris {

void PlugStandardDialogs(StationHooks& hooks, CMainFrame& frame)
{
    hooks.chooseRecordDirectory = [&frame]() -> std::optional<std::string> {
        const QString folder = QFileDialog::getExistingDirectory(
            &frame, QStringLiteral("Pick a Record Directory: "), QString(), QFileDialog::ShowDirsOnly);
        if (folder.isEmpty())
            return std::nullopt;
        return folder.toStdString();
    };
    hooks.runAboutBox = [&frame] {
        QMessageBox::about(&frame, QStringLiteral("About Velmaris"),
            QStringLiteral("Velmaris %1\nThe operator's station for K52 imaging sonar heads.")
                .arg(QStringLiteral(VELMARIS_VERSION)));
    };
}

} // namespace velmaris
