#include "shell/qt/CStatusPanes.h"

#include "shell/FrameLayout.h"

#include <QLabel>

#include <algorithm>

namespace velmaris {

namespace {
bool IsReadoutPane(int id)
{
    return id == kPaneTargetSize || id == kPaneRange || id == kPaneBearing || id == kPaneHorizontal
        || id == kPaneVertical;
}
} // namespace

CStatusPanes::CStatusPanes(QWidget* parent)
    : QStatusBar(parent)
{
    setObjectName(QStringLiteral("statusBar"));
    for (const StatusPane& pane : StatusPanes()) {
        auto* label
            = new QLabel(QString::fromUtf8(pane.text.data(), static_cast<qsizetype>(pane.text.size())), this);
        label->setObjectName(QStringLiteral("statusPane%1").arg(panes_.size()));
        label->setProperty("paneId", pane.id);
        if (pane.spacer) {
            label->setFrameShape(QFrame::NoFrame);
            label->setEnabled(false);
        } else {
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        }
        if (pane.width == StatusPane::Width::Fixed && pane.id == kPaneDateTime) {
            // The ping's date and time must fit whatever the desktop font: the
            // pane is at least its nominal width, wider when the text needs it.
            const int text = label->fontMetrics().horizontalAdvance(QStringLiteral("07-DEC-2026   14:30:05"));
            label->setFixedWidth(std::max(pane.pixels, text + 2 * label->frameWidth() + 6));
        } else if (pane.width == StatusPane::Width::Fixed && IsReadoutPane(pane.id)) {
            // The cursor read-outs likewise: the widest value must not be cut.
            const int text = label->fontMetrics().horizontalAdvance(QStringLiteral("-9999.99 ft"));
            label->setFixedWidth(std::max(pane.pixels, text + 2 * label->frameWidth() + 6));
        } else if (pane.width == StatusPane::Width::Fixed) {
            label->setFixedWidth(pane.pixels);
        } else if (pane.width == StatusPane::Width::FitText)
            label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
        addWidget(label, pane.width == StatusPane::Width::Stretch ? 1 : 0);
        panes_.push_back({pane.id, label});
    }
}

QLabel* CStatusPanes::PaneAt(int index) const
{
    if (index < 0 || index >= PaneCount())
        return nullptr;
    return panes_[static_cast<std::size_t>(index)].label;
}

int CStatusPanes::PaneIdAt(int index) const
{
    if (index < 0 || index >= PaneCount())
        return -1;
    return panes_[static_cast<std::size_t>(index)].id;
}

QLabel* CStatusPanes::Pane(int id) const
{
    for (const Entry& entry : panes_)
        if (entry.id == id)
            return entry.label;
    return nullptr;
}

bool CStatusPanes::SetPaneText(int id, const QString& text)
{
    QLabel* label = Pane(id);
    if (label == nullptr)
        return false;
    label->setText(text);
    return true;
}

QString CStatusPanes::PaneText(int id) const
{
    const QLabel* label = Pane(id);
    return label == nullptr ? QString() : label->text();
}

void LetPaneGiveWay(QLabel* pane)
{
    pane->setMinimumWidth(pane->fontMetrics().averageCharWidth() * 4);
    pane->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

void CStatusPanes::SetGpsText(const QString& text)
{
    if (gps_ == nullptr) {
        gps_ = new QLabel(this);
        gps_->setObjectName(QStringLiteral("gpsPane"));
        gps_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        LetPaneGiveWay(gps_);
        addPermanentWidget(gps_);
    }
    gps_->setText(text);
    gps_->setToolTip(text);
    gps_->show();
}

void CStatusPanes::SetPositionText(const QString& text)
{
    if (position_ == nullptr) {
        position_ = new QLabel(this);
        position_->setObjectName(QStringLiteral("positionPane"));
        position_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        // Wide enough for any position, so the panes after it stay put.
        const int width = position_->fontMetrics().horizontalAdvance(
            QStringLiteral("89\u00b059.999'S 179\u00b059.999'W"));
        LetPaneGiveWay(position_);
        position_->setMaximumWidth(width + 2 * position_->frameWidth() + 8);
        insertWidget(PaneCount(), position_);
    }
    position_->setText(text);
    position_->setToolTip(text);
    position_->show();
}

void CStatusPanes::HidePositionPane()
{
    if (position_ != nullptr)
        position_->hide();
}

void CStatusPanes::HideGpsPane()
{
    if (gps_ != nullptr)
        gps_->hide();
}

} // namespace velmaris
