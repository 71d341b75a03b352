#pragma once
// A pair of arrow buttons without a text field: the station's spins. A click
// moves the position one step inside the range and reports the step; the
// owner's rule then decides what the step means and usually writes the
// position back. Auto-repeats while an arrow is held.

#include <QWidget>

class QToolButton;

namespace velmaris {

class CUpDown : public QWidget {
    Q_OBJECT
public:
    explicit CUpDown(QWidget* parent = nullptr);

    // Lower and upper bound in either order; the position is kept inside.
    void SetRange(int lower, int upper);
    int Lower() const { return m_lower; }
    int Upper() const { return m_upper; }
    void SetPosition(int position);
    int Position() const { return m_position; }

    // Simulates a click on the up (+1) or down (-1) arrow.
    void Step(int delta);

    QToolButton* UpButton() const { return m_up; }
    QToolButton* DownButton() const { return m_down; }

signals:
    // After every arrow click (and auto-repeat), with +1 or -1; the position
    // has already moved (or stayed at its bound).
    void deltaPosition(int delta);
    // The mouse button was released after pressing an arrow.
    void released();

private:
    QToolButton* m_up;
    QToolButton* m_down;
    int m_lower = 0;
    int m_upper = 100;
    int m_position = 0;
};

} // namespace velmaris
