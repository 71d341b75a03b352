#include "shell/qt/QtReporter.h"

#include <QMessageBox>

namespace velmaris {

QtReporter::~QtReporter()
{
    CloseAll();
}

QMessageBox::Icon QtReporter::BoxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

void QtReporter::Report(const std::string& text, MessageIcon icon)
{
    if (closed_)
        return;
    waiting_.push_back({text, icon});
    ScheduleNext();
}

void QtReporter::ScheduleNext()
{
    if (scheduled_ || box_ != nullptr || waiting_.empty())
        return;
    scheduled_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            scheduled_ = false;
            ShowNext();
        },
        Qt::QueuedConnection);
}

void QtReporter::ShowNext()
{
    if (closed_ || box_ != nullptr || waiting_.empty())
        return;
    const Message message = std::move(waiting_.front());
    waiting_.pop_front();
    auto* box = new QMessageBox(BoxIcon(message.icon), QStringLiteral("Velmaris"),
        QString::fromStdString(message.text), QMessageBox::Ok, parent_.data());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    connect(box, &QMessageBox::finished, this, [this, box] {
        if (box_ == box)
            box_ = nullptr;
        ScheduleNext();
    });
    box_ = box;
    box->show();
}

void QtReporter::CloseAll()
{
    closed_ = true;
    waiting_.clear();
    if (QMessageBox* box = box_) {
        box_ = nullptr;
        box->disconnect(this);
        box->done(QMessageBox::Ok);
        box->deleteLater(); // a slot of the box may be on the stack
    }
}

} // namespace velmaris
