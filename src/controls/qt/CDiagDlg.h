#pragma once
// The floating "Diagnostics:" window: a column of labels and, beside each,
// a value text that always starts with a colon and three blanks. All
// decisions (which line changes, its text) are DiagnosticsLines'; the window
// copies only the texts of the lines a refresh wrote, and a label given the
// text it already has does not repaint, so an unchanged window costs
// nothing.
//
// A modeless tool window owned by the main window, created hidden; closing
// it with its close box only hides it and clears `Diagnostics Visible`.
// When it is activated or pressed with any mouse button it asks for the
// key-in window to be hidden.
//
// Ownership: `settings` belongs to the document, which outlives the window.
// User-interface thread only.

#include "controls/DiagnosticsLines.h"
#include "protocol/SonarSettings.h"

#include <QWidget>

#include <array>

class QGridLayout;
class QLabel;

namespace velmaris {

class CDiagDlg : public QWidget {
    Q_OBJECT
public:
    explicit CDiagDlg(SonarSettings& settings, QWidget* mainWindow = nullptr);

    // Blanks the first 18 value fields and forgets what they showed.
    void Reset();
    // One refresh from the document's current values.
    void Refresh(const DiagnosticsInput& in);
    // Lines shown below the twenty (e.g. the GPS read-out), as (label, value).
    void SetExtraLines(DiagnosticsLines::ExtraLines lines);

    // Lines 0 to 19, then the extra lines from kDiagLineCount on.
    QString ValueText(int line) const;
    // The "Dropped" line's value; empty while it is not shown.
    QString DroppedText() const;
    const DiagnosticsLines& Lines() const { return lines_; }

signals:
    // The key-in window must hide: the window was activated or pressed.
    void hideKeyInRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Show(DiagnosticsLines::Mask written);
    void ShowExtraLines();

    SonarSettings& settings_;
    DiagnosticsLines lines_;
    QGridLayout* grid_ = nullptr;
    std::array<QLabel*, kDiagLineCount> values_ {};
    std::vector<std::pair<QLabel*, QLabel*>> extra_;
    QLabel* dropped_ = nullptr; // made with the first datagram dropped
};

} // namespace velmaris
