#pragma once
// The modal about box "Velmaris...": the station's picture (an SVG drawn
// at the screen's resolution, so it stays sharp at any device pixel ratio)
// above a framed box with the version line, and "OK".
//
// The picture comes from `picturePath` (a resource or a file); a picture
// that cannot be read leaves the space empty. User-interface thread only.

#include <QDialog>

class QLabel;
class QSvgRenderer;

namespace velmaris {

inline constexpr const char* kAboutPicture = ":/images/about.svg";

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(
        const QString& picturePath = QString::fromLatin1(kAboutPicture), QWidget* parent = nullptr);

    bool PictureLoaded() const;
    QString VersionText() const;

private:
    QSvgRenderer* picture_ = nullptr;
    QLabel* version_ = nullptr;
};

} // namespace velmaris
