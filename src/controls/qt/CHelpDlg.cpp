#include "controls/qt/CHelpDlg.h"

#include "controls/HelpTexts.h"

#include <QHeaderView>
#include <QResizeEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

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
    list_->setColumnWidth(0, kHotKeyCommandWidth);
    list_->setColumnWidth(1, kHotKeyKeyWidth);
    list_->setColumnWidth(2, kInitialWidth - kHotKeyDescriptionInset);
    resize(kInitialWidth, kInitialHeight);
}

void CHelpDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    const QSize size = event->size();
    if (size.width() <= 0 || size.height() <= 0 || list_ == nullptr)
        return;
    const int width = HotKeyDescriptionWidth(size.width(), list_->columnWidth(0), list_->columnWidth(1));
    list_->setColumnWidth(2, std::max(width, 0));
}

} // namespace velmaris
