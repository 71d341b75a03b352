#pragma once
// The modal "Hot Keys..." window: one report-style list of every keyboard
// command in three columns ("Command", "Hot Key", "Discription"), filling
// the resizable window; the third column follows the width. Each column is
// at least as wide as its longest text in the list's font, so no text is
// cut whatever the desktop font. The hot keys
// themselves are given to the window by its caller (the main frame's copy
// for modal windows), so F2 and F3 work from inside it.
//
// User-interface thread only.

#include <QDialog>

class QTreeWidget;

namespace velmaris {

class CHelpDlg : public QDialog {
    Q_OBJECT
public:
    explicit CHelpDlg(QWidget* parent = nullptr);

    QTreeWidget* List() const { return list_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int NeededWidth(int column) const;
    void FitColumns();
    void FitDescription(int clientWidth);

    QTreeWidget* list_ = nullptr;
    int neededDescription_ = 0;
};

} // namespace velmaris
