#include "shell/qt/ScreenCapture.h"

#include "files/PlatformFiles.h"
#include "files/Reporter.h"
#include "image/PictureFormat.h"
#include "image/qt/PictureWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QStringList>
#include <QTemporaryFile>
#include <QWidget>
#include <QWindow>

namespace velmaris {

namespace {

const char* const kCantSave = "Can't save the screen!";

QString FromView(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

ScreenCapture::ScreenCapture(QWidget& window, Reporter& reporter)
    : window_(window)
    , reporter_(reporter)
{
    askPath = [this](const QString& startFolder) { return AskWithDialog(startFolder); };
}

std::optional<QString> ScreenCapture::AskWithDialog(const QString& startFolder)
{
    QStringList filters;
    for (const PictureFilter& filter : kSaveScreenFilters)
        filters << FromView(filter.description) + QStringLiteral(" (") + FromView(filter.pattern)
                + QLatin1Char(')');
    // No default suffix: the name is saved as typed. The dialog asks before
    // it overwrites a file.
    const QString path
        = QFileDialog::getSaveFileName(&window_, FromView(kSaveScreenTitle), startFolder, filters.join(";;"));
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

QImage ScreenCapture::Capture() const
{
    const QSize logical = window_.frameGeometry().size();
    if (logical.isEmpty() || window_.size().isEmpty())
        return {};
    QPixmap shot;
    QScreen* screen = window_.screen();
    if (QGuiApplication::platformName() == QStringLiteral("xcb") && screen != nullptr
        && window_.isVisible()) {
        // X11 lets a program read the screen: the frame rectangle includes
        // the window manager's border and title bar.
        const QRect frame = window_.frameGeometry().translated(-screen->geometry().topLeft());
        shot = screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    }
    if (shot.isNull())
        shot = window_.grab(); // the window's own content, at any platform
    QImage picture = shot.toImage().convertToFormat(QImage::Format_RGB32);
    // One picture pixel per window pixel, whatever the device pixel ratio.
    const QSize size = shot.deviceIndependentSize().toSize();
    if (picture.size() != size && !size.isEmpty())
        picture = picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    picture.setDevicePixelRatio(1.0);
    return picture;
}

bool ScreenCapture::Run(const QString& startFolder)
{
    const std::optional<QString> path = askPath ? askPath(startFolder) : std::nullopt;
    // Whatever the answer, the dialog must be gone from the screen before
    // the window is read.
    window_.repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (!path)
        return false;
    const QImage picture = Capture();
    if (picture.isNull()) {
        reporter_.ShowMessage(kCantSave);
        return false;
    }
    return Save(picture, *path);
}

bool ScreenCapture::Save(const QImage& picture, const QString& path)
{
    const std::optional<PictureFormat> format = SaveScreenFormatForPath(path.toStdString());
    if (!format) {
        reporter_.ShowMessage("Invalid File Format", MessageIcon::Exclamation);
        return false;
    }
    const auto fail = [this, &path](const QString& cause) {
        reporter_.ShowMessage(
            std::string(kCantSave) + "\n" + path.toStdString() + "\n" + cause.toStdString());
        return false;
    };
    const QFileInfo target(path);
    QTemporaryFile temp(target.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName())));
    temp.setAutoRemove(true);
    if (!temp.open())
        return fail(temp.errorString());
    temp.close();
    const QString written = WritePicture(picture, temp.fileName(), *format);
    if (!written.isEmpty())
        return fail(written);
    // A new picture is readable by all like any other file the station writes.
    temp.setPermissions(
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    // An existing picture is replaced in one step.
    std::string cause;
    if (!MoveFileOver(temp.fileName().toStdString(), target.absoluteFilePath().toStdString(), &cause))
        return fail(QString::fromStdString(cause));
    temp.setAutoRemove(false);
    return true;
}

} // namespace velmaris
