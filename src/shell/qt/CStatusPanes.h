#pragma once
// The status bar with its 17 panes (message line, labels, value read-outs,
// spacers and the ping's date and time). Panes are addressed by id; ids 10
// and 11 occur twice and a lookup finds the first, as the read-out expects.

#include <QStatusBar>

#include <vector>

class QLabel;

namespace velmaris {

// A pane that is not always there (GPS, position, web address) gives way
// when the window is narrow: it shrinks and clips its text, which its tool
// tip keeps whole, rather than widen the window past the screen.
void LetPaneGiveWay(QLabel* pane);

class CStatusPanes : public QStatusBar {
    Q_OBJECT
public:
    explicit CStatusPanes(QWidget* parent = nullptr);

    int PaneCount() const { return static_cast<int>(panes_.size()); }
    // By position 0..16; nullptr / -1 outside.
    QLabel* PaneAt(int index) const;
    int PaneIdAt(int index) const;
    // By id: the first pane carrying it; nullptr when none does.
    QLabel* Pane(int id) const;
    // Writes a pane's text; false for an unknown id.
    bool SetPaneText(int id, const QString& text);
    QString PaneText(int id) const;

    // The "GPS" pane at the right end, shown while GPS input runs.
    void SetGpsText(const QString& text);
    void HideGpsPane();
    QLabel* GpsPane() const { return gps_; }

    // The cursor's latitude and longitude, after the ping's date and time; shown
    // only while the cursor has a position.
    void SetPositionText(const QString& text);
    void HidePositionPane();
    QLabel* PositionPane() const { return position_; }

private:
    struct Entry {
        int id;
        QLabel* label;
    };
    std::vector<Entry> panes_;
    QLabel* gps_ = nullptr; // created on first use
    QLabel* position_ = nullptr; // likewise
};

} // namespace velmaris
