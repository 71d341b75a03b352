#pragma once
// A plain up-down control: two arrow buttons without a buddy field. A press
// reports a step of +1 (up) or -1 (down) at once and repeats while held; the
// end of a press reports `released` (the mouse capture is let go). The
// control keeps a range and a position like its counterpart on the other
// platform: a step moves the position within the range, but the step is
// reported even at either end, so wrapping rules can act there.

#include <QTimer>
#include <QWidget>

class QToolButton;

namespace velmaris {

class CSpinButton : public QWidget {
    Q_OBJECT
public:
    explicit CSpinButton(QWidget* parent = nullptr);

    void setRange(int lower, int upper);
    void setPosition(int position); // limited to the range
    int lower() const { return lower_; }
    int upper() const { return upper_; }
    int position() const { return position_; }

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

signals:
    void stepped(int delta);
    void released();

private:
    void Press(int delta);
    void Release();
    void Step();

    QToolButton* up_;
    QToolButton* down_;
    QTimer repeat_;
    int delta_ = 0;
    int lower_ = 0;
    int upper_ = 100;
    int position_ = 0;
};

} // namespace velmaris
