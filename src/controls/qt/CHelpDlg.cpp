#include "controls/qt/CHelpDlg.h"

#include "controls/HelpTexts.h"

#include <QEvent>
#include <QHeaderView>
#include <QResizeEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace velmaris {

namespace {
constexpr int kInitialWidth = 612; // about 408 by 350 dialog units
constexpr int kInitialHeight = 568;
} // namespace

CHelpDlg::CHelpDlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("hotKeysWindow"));
    setWindowTitle(QString::fromLatin1(kHotKeysTitle));
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("hotKeyList"));
    list_->setColumnCount(3);
    list_->setHeaderLabels({QString::fromLatin1(kHotKeyColumnTitles[0]),
        QString::fromLatin1(kHotKeyColumnTitles[1]), QString::fromLatin1(kHotKeyColumnTitles[2])});
    list_->setRootIsDecorated(false);
    list_->setSortingEnabled(false);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->header()->setSectionsClickable(false);
    list_->header()->setStretchLastSection(false);
    list_->header()->setSectionResizeMode(QHeaderView::Interactive);
    for (const HotKeyRow& row : kHotKeyRows) {
        auto* item = new QTreeWidgetItem(list_);
        item->setText(0, QString::fromLatin1(row.command));
        item->setText(1, QString::fromLatin1(row.hotKey));
        item->setText(2, QString::fromLatin1(row.description));
    }
    layout->addWidget(list_);
    FitColumns();
    // Wide enough at first to show every description whole.
    resize(std::max(kInitialWidth,
               kHotKeyDescriptionInset + neededDescription_ + (list_->columnWidth(0) - kHotKeyCommandWidth)
                   + (list_->columnWidth(1) - kHotKeyKeyWidth)),
        kInitialHeight);
}

int CHelpDlg::NeededWidth(int column) const
{
    // The widest text of the column and its header as this list draws them
    // (text, cell margins and all), in its current font and style.
    const QAbstractItemView& view = *list_; // where the hint is public
    return std::max(view.sizeHintForColumn(column), list_->header()->sectionSizeHint(column));
}

void CHelpDlg::FitColumns()
{
    // The nominal widths are the least; a larger font widens the columns
    // so that no text is cut.
    list_->setColumnWidth(0, std::max(kHotKeyCommandWidth, NeededWidth(0)));
    list_->setColumnWidth(1, std::max(kHotKeyKeyWidth, NeededWidth(1)));
    neededDescription_ = NeededWidth(2);
    FitDescription(width());
}

void CHelpDlg::FitDescription(int clientWidth)
{
    // The rest of the width, but never less than its longest text: a window
    // made narrower scrolls instead of cutting it.
    const int rest = HotKeyDescriptionWidth(clientWidth, list_->columnWidth(0), list_->columnWidth(1));
    list_->setColumnWidth(2, std::max(rest, neededDescription_));
}

void CHelpDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    const QSize size = event->size();
    if (size.width() <= 0 || size.height() <= 0 || list_ == nullptr)
        return;
    FitDescription(size.width());
}

void CHelpDlg::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (list_ != nullptr && (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange))
        FitColumns();
}

} // namespace velmaris
