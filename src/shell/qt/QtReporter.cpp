#include "shell/qt/QtReporter.h"

#include <QMessageBox>

namespace velmaris {

QtReporter::~QtReporter()
{
    CloseAll();
}

void QtReporter::ShowMessage(const std::string& text)
{
    if (closed_)
        return;
    waiting_.push_back(text);
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
    const QString text = QString::fromStdString(waiting_.front());
    waiting_.pop_front();
    auto* box = new QMessageBox(
        QMessageBox::Information, QStringLiteral("Velmaris"), text, QMessageBox::Ok, parent_.data());
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
