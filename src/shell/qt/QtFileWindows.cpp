#include "shell/qt/QtFileWindows.h"

#include "shell/qt/CMainFrame.h"
#include "shell/qt/CPlaybackBar.h"
#include "station/CVelmarisDoc.h"

#include <QFileDialog>

namespace velmaris {

namespace {
QString Filter(const std::string& text, const std::string& pattern)
{
    return QString::fromStdString(text + " (" + pattern + ")");
}
} // namespace

QtFileWindows::QtFileWindows(CMainFrame& frame, CVelmarisDoc& doc)
    : frame_(frame)
    , doc_(doc)
{
    CPlaybackBar* bar = frame.PlaybackBar();
    connect(
        bar, &CPlaybackBar::positionPressed, this, [this] { doc_.PlaybackControl().SetSliderHeld(true); });
    connect(bar, &CPlaybackBar::positionReleased, this, [this] {
        doc_.PlaybackControl().SliderReleased(frame_.PlaybackBar()->Position());
        frame_.activateWindow(); // the focus goes back to the main window
    });
    connect(
        bar, &CPlaybackBar::speedDelta, this, [this](int delta) { doc_.PlaybackControl().StepSpeed(delta); });
}

std::string QtFileWindows::AskSaveFile(const SaveDialogRequest& request)
{
    QFileDialog dialog(&frame_, QString::fromStdString(request.title),
        QString::fromStdString(request.initialFolder), Filter(request.filterText, request.filterPattern));
    if (!request.moreFilters.empty()) {
        QStringList filters {Filter(request.filterText, request.filterPattern)};
        for (const auto& [text, pattern] : request.moreFilters)
            filters << Filter(text, pattern);
        dialog.setNameFilters(filters);
        // A name typed without an extension takes the chosen filter's.
        connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
            const qsizetype dot = filter.lastIndexOf(QStringLiteral("*."));
            if (dot >= 0)
                dialog.setDefaultSuffix(filter.mid(dot + 2).chopped(1));
        });
    }
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    dialog.selectFile(QString::fromStdString(request.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front().toStdString();
}

std::string QtFileWindows::AskOpenFile(const OpenDialogRequest& request)
{
    return QFileDialog::getOpenFileName(&frame_, QString::fromStdString(request.title),
        QString::fromStdString(request.initialFolder), Filter(request.filterText, request.filterPattern))
        .toStdString();
}

std::string QtFileWindows::AskFolder(const FolderDialogRequest& request)
{
    return QFileDialog::getExistingDirectory(&frame_, QString::fromStdString(request.title),
        QString::fromStdString(request.initialFolder), QFileDialog::ShowDirsOnly)
        .toStdString();
}

void QtFileWindows::ShowPlaybackBar(const PlaybackBarSetup& setup)
{
    frame_.ApplyModeBars(OperatingMode::Playback);
    frame_.ShowPlaybackBar(setup.speed, setup.fileLength);
    if (hidePanel_)
        hidePanel_();
}

void QtFileWindows::SetPositionSlider(int position)
{
    frame_.SetPositionSlider(position);
}

void QtFileWindows::SetSpeed(int speed)
{
    frame_.PlaybackBar()->SetSpeed(speed);
}

} // namespace velmaris
