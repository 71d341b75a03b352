#include "controls/qt/CAboutDlg.h"

#include "controls/HelpTexts.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>
#include <QVBoxLayout>

namespace velmaris {

namespace {

// Paints the picture scaled into its own rectangle; QPainter draws the
// vectors at the device's resolution.
class PictureView final : public QWidget {
public:
    PictureView(QSvgRenderer* renderer, QWidget* parent)
        : QWidget(parent)
        , renderer_(renderer)
    {
        setObjectName(QStringLiteral("aboutPicture"));
        setFixedSize(250, 250);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!renderer_->isValid())
            return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer_->render(&painter, QRectF(rect()));
    }

private:
    QSvgRenderer* renderer_;
};

} // namespace

CAboutDlg::CAboutDlg(const QString& picturePath, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("aboutBox"));
    setWindowTitle(QString::fromLatin1(kAboutTitle));
    picture_ = new QSvgRenderer(picturePath, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new PictureView(picture_, this), 0, Qt::AlignHCenter);

    auto* box = new QFrame(this);
    box->setFrameShape(QFrame::Box);
    auto* boxLayout = new QVBoxLayout(box);
    version_ = new QLabel(QString::fromLatin1(kAboutVersionLine), box);
    version_->setObjectName(QStringLiteral("aboutVersion"));
    version_->setAlignment(Qt::AlignCenter);
    boxLayout->addWidget(version_);
    layout->addWidget(box);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("aboutOk"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool CAboutDlg::PictureLoaded() const
{
    return picture_->isValid();
}

QString CAboutDlg::VersionText() const
{
    return version_->text();
}

} // namespace velmaris
