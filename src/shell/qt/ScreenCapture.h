#pragma once
// "&Save Screen": a picture of the whole main window (menus, toolbar, bars,
// view, status bar, and on X11 the window manager's frame and title bar)
// saved as BMP, GIF, JPEG, TIFF or PNG under the name the operator types.
//
// The picture is written to a temporary file beside the target and renamed
// over it, so a failed save leaves no partial picture and keeps an older
// one intact. Failures go to the Reporter: "Can't save the screen!" with the
// file name and the cause; a name whose extension is not one of the five
// gets "Invalid File Format".
//
// Ownership: refers to the window and the reporter, which outlive it.
// User-interface thread only.

#include <QImage>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace velmaris {

class Reporter;

class ScreenCapture {
public:
    ScreenCapture(QWidget& window, Reporter& reporter);

    // The save dialog: starting folder in, chosen path out (nullopt on
    // cancel). Defaults to the "Save Image As:" file dialog with the five
    // filters and an overwrite prompt; tests replace it.
    std::function<std::optional<QString>(const QString& startFolder)> askPath;

    // The whole command: dialog, repaint, capture, save. True when a
    // picture was written.
    bool Run(const QString& startFolder);

    // The window as it shows now, one picture pixel per device-independent
    // pixel. Null when the window has no area.
    QImage Capture() const;

    // Writes `picture` to `path` by the extension rule, reporting failures.
    bool Save(const QImage& picture, const QString& path);

private:
    std::optional<QString> AskWithDialog(const QString& startFolder);

    QWidget& window_;
    Reporter& reporter_;
};

} // namespace velmaris
