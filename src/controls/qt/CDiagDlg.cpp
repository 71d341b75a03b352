#include "controls/qt/CDiagDlg.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>

namespace velmaris {

namespace {

bool IsMousePress(const QEvent* event)
{
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick)
        return false;
    const auto button = static_cast<const QMouseEvent*>(event)->button();
    return button == Qt::LeftButton || button == Qt::MiddleButton || button == Qt::RightButton;
}

QLabel* MakeValue(QWidget* parent, const QString& widest)
{
    auto* value = new QLabel(QString::fromLatin1(kDiagnosticsNotAvailable), parent);
    // Wide enough for the longest text of the line, so a changed text never
    // resizes the window.
    value->setMinimumWidth(value->fontMetrics().horizontalAdvance(widest) + 4);
    value->installEventFilter(parent);
    return value;
}

} // namespace

CDiagDlg::CDiagDlg(SonarSettings& settings, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool)
    , settings_(settings)
{
    setObjectName(QStringLiteral("diagnosticsWindow"));
    setWindowTitle(QStringLiteral("Diagnostics:"));
    grid_ = new QGridLayout(this);
    grid_->setHorizontalSpacing(12);
    grid_->setVerticalSpacing(2);
    const QString widest = QStringLiteral(":   1000 ms (1000.1 Hz)");
    for (int line = 0; line < kDiagLineCount; ++line) {
        auto* label = new QLabel(QString::fromLatin1(DiagnosticsLines::Label(line)), this);
        label->installEventFilter(this);
        values_[static_cast<std::size_t>(line)] = MakeValue(this, widest);
        values_[static_cast<std::size_t>(line)]->setObjectName(QStringLiteral("diagValue%1").arg(line));
        grid_->addWidget(label, line, 0);
        grid_->addWidget(values_[static_cast<std::size_t>(line)], line, 1);
    }
    grid_->setSizeConstraint(QLayout::SetFixedSize);
    Reset();
}

void CDiagDlg::Reset()
{
    Show(lines_.Reset());
}

void CDiagDlg::Refresh(const DiagnosticsInput& in)
{
    Show(lines_.Refresh(in));
}

void CDiagDlg::Show(DiagnosticsLines::Mask written)
{
    for (int line = 0; line < kDiagLineCount; ++line) {
        if (((written >> line) & 1U) == 0)
            continue;
        // QLabel ignores a text equal to the one it shows: no repaint.
        values_[static_cast<std::size_t>(line)]->setText(QString::fromStdString(lines_.Text(line)));
    }
    if (((written >> kDiagDropped) & 1U) != 0) {
        // The row appears with the first datagram dropped.
        if (dropped_ == nullptr) {
            auto* label = new QLabel(QString::fromLatin1(kDiagDroppedLabel), this);
            label->installEventFilter(this);
            dropped_ = MakeValue(this, QString());
            dropped_->setObjectName(QStringLiteral("diagDropped"));
            grid_->addWidget(label, kDiagDropped, 0);
            grid_->addWidget(dropped_, kDiagDropped, 1);
        }
        dropped_->setText(QString::fromStdString(lines_.Text(kDiagDropped)));
    }
}

void CDiagDlg::SetExtraLines(DiagnosticsLines::ExtraLines lines)
{
    if (lines_.SetExtraLines(std::move(lines)))
        ShowExtraLines();
}

void CDiagDlg::ShowExtraLines()
{
    const auto& lines = lines_.Extra();
    while (extra_.size() > lines.size()) {
        delete extra_.back().first;
        delete extra_.back().second;
        extra_.pop_back();
    }
    while (extra_.size() < lines.size()) {
        const int row = kDiagDropped + 1 + static_cast<int>(extra_.size());
        auto* label = new QLabel(this);
        label->installEventFilter(this);
        auto* value = MakeValue(this, QString());
        grid_->addWidget(label, row, 0);
        grid_->addWidget(value, row, 1);
        extra_.emplace_back(label, value);
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        extra_[i].first->setText(QString::fromStdString(lines[i].first));
        extra_[i].second->setText(QString::fromStdString(lines[i].second));
    }
}

QString CDiagDlg::DroppedText() const
{
    return dropped_ != nullptr ? dropped_->text() : QString();
}

QString CDiagDlg::ValueText(int line) const
{
    if (line >= 0 && line < kDiagLineCount)
        return values_[static_cast<std::size_t>(line)]->text();
    const std::size_t extra = static_cast<std::size_t>(line - kDiagLineCount);
    return line >= kDiagLineCount && extra < extra_.size() ? extra_[extra].second->text() : QString();
}

void CDiagDlg::closeEvent(QCloseEvent* event)
{
    settings_.diagnosticsVisible = 0;
    event->accept(); // hidden, not destroyed
}

bool CDiagDlg::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate || IsMousePress(event))
        emit hideKeyInRequested();
    return QWidget::event(event);
}

bool CDiagDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (IsMousePress(event))
        emit hideKeyInRequested();
    return QWidget::eventFilter(watched, event);
}

} // namespace velmaris
