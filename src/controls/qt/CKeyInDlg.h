#pragma once
// The "Input" window in which the operator types a range, gain, sector
// width or train angle after pressing R, G, S or T. Modeless; created hidden
// once and kept for the whole run. OK (or Enter) applies the number through
// SettingsOperations and hides the window; the close box, Escape and losing
// the focus hide it without applying anything. The last number and the kind
// are remembered between uses: Enter on an empty field applies the last
// number again (nothing at all before the first number was typed).
//
// Ownership: `operations` belongs to the document and may be null (no
// document: OK only hides). `mainWindow` is the owner the window sits over
// and gives the focus back to; it may be null. User-interface thread only.

#include "controls/KeyInRules.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace velmaris {

class CKeyInDlg : public QDialog {
    Q_OBJECT
public:
    explicit CKeyInDlg(SettingsOperations* operations, QWidget* mainWindow = nullptr);

    // Sets prompt and kind, empties the field and gives it the focus, moves
    // the window (size kept) so that its right edge lies 15 px left of the
    // main window's right edge and its top 31 px below the main window's top
    // (frame rectangles), then shows it. An invalid rectangle leaves the
    // window where it is.
    void ShowKeyIn(KeyInKind kind, const QString& prompt, const QRect& mainWindowGeometry);

    // The last prompt shown; Present() shows the window placed against the
    // main window given at construction.
    std::string Prompt() const;
    void Present(KeyInKind kind, const std::string& prompt);

    int Value() const { return value_; }
    KeyInKind Kind() const { return kind_; }
    QLineEdit* Edit() const { return edit_; }
    QPushButton* OkButton() const { return ok_; }

public slots:
    void accept() override; // OK or Enter: apply, hide
    void reject() override; // close box or Escape: hide only

protected:
    bool event(QEvent* event) override;

private:
    void HideAndReturnFocus();

    SettingsOperations* operations_;
    QWidget* mainWindow_;
    QLabel* promptLabel_;
    QLineEdit* edit_;
    QPushButton* ok_;
    int value_ = kKeyInInitialValue;
    KeyInKind kind_ = KeyInKind::Range;
    QString prompt_;
};

} // namespace velmaris
