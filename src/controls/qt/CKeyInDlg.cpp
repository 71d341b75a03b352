#include "controls/qt/CKeyInDlg.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace velmaris {

CKeyInDlg::CKeyInDlg(SettingsOperations* operations, QWidget* mainWindow)
    : QDialog(mainWindow)
    , operations_(operations)
    , mainWindow_(mainWindow)
    , promptLabel_(new QLabel(this))
    , edit_(new QLineEdit(this))
    , ok_(new QPushButton(QStringLiteral("OK"), this))
{
    setObjectName(QStringLiteral("keyInDialog"));
    setWindowTitle(QStringLiteral("Input"));
    setModal(false);
    promptLabel_->setObjectName(QStringLiteral("promptLabel"));
    edit_->setObjectName(QStringLiteral("valueEdit"));
    edit_->setMaxLength(kKeyInMaxChars);
    edit_->setMinimumWidth(edit_->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 8);
    ok_->setObjectName(QStringLiteral("okButton"));
    ok_->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(promptLabel_, 0, 0, 1, 2);
    grid->addWidget(edit_, 1, 0);
    grid->addWidget(ok_, 1, 1);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    connect(ok_, &QPushButton::clicked, this, &CKeyInDlg::accept);
    promptLabel_->setText(prompt_);
}

void CKeyInDlg::ShowKeyIn(KeyInKind kind, const QString& prompt, const QRect& mainWindowGeometry)
{
    kind_ = kind;
    prompt_ = prompt;
    promptLabel_->setText(prompt_);
    edit_->clear();
    ensurePolished();
    adjustSize();
    // The frame is known only once the window is shown: place it before (no
    // jump on screen) and again after, against the real frame.
    auto place = [&] {
        if (!mainWindowGeometry.isValid())
            return;
        const ScreenPoint at = KeyInWindowPosition(mainWindowGeometry.x(), mainWindowGeometry.y(),
            mainWindowGeometry.width(), frameGeometry().width());
        move(at.x, at.y); // the frame's top-left corner
    };
    place();
    show();
    place();
    raise();
    activateWindow();
    edit_->setFocus(Qt::OtherFocusReason);
}

std::string CKeyInDlg::Prompt() const
{
    return prompt_.toStdString();
}

void CKeyInDlg::Present(KeyInKind kind, const std::string& prompt)
{
    // Without a main window the window stays where it is.
    const QRect anchor = mainWindow_ != nullptr ? mainWindow_->frameGeometry() : QRect();
    ShowKeyIn(kind, QString::fromStdString(prompt), anchor);
}

void CKeyInDlg::accept()
{
    value_ = KeyInValueFromText(edit_->text().toStdString(), value_);
    if (operations_ != nullptr && value_ >= 0)
        value_ = ApplyKeyIn(*operations_, kind_, value_);
    HideAndReturnFocus();
}

void CKeyInDlg::reject()
{
    HideAndReturnFocus();
}

void CKeyInDlg::HideAndReturnFocus()
{
    hide();
    if (mainWindow_ != nullptr)
        mainWindow_->activateWindow();
}

bool CKeyInDlg::event(QEvent* event)
{
    // Focus gone to another window (main frame, panel, diagnostics): hide
    // without applying.
    if (event->type() == QEvent::WindowDeactivate && isVisible())
        hide();
    return QDialog::event(event);
}

} // namespace velmaris
