#pragma once
// The modal "Change IP Address" dialog: an IPv4 address control of four
// parts (0 to 255 each) filled from the stored address text. OK joins the
// parts as "%d.%d.%d.%d"; Cancel leaves the text as it was. A stored text
// the control cannot show (shorter than 7 characters, or a part of more
// than three characters) leaves the control empty; OK on a control left
// wholly empty keeps the stored text rather than writing 0.0.0.0.
//
// User-interface thread only.

#include <QDialog>

#include <array>
#include <optional>
#include <string>

class QLineEdit;
class QPushButton;

namespace velmaris {

class CIPAddressDlg : public QDialog {
    Q_OBJECT
public:
    explicit CIPAddressDlg(std::string address, QWidget* parent = nullptr);

    // The address text: as given until OK, then the control's four parts.
    const std::string& Address() const { return address_; }

    QLineEdit* Part(int index) const { return parts_[static_cast<std::size_t>(index)]; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

public slots:
    void accept() override;

private:
    std::string address_;
    std::array<QLineEdit*, 4> parts_ {};
    QPushButton* ok_;
    QPushButton* cancel_;
};

// Runs the dialog modally; the address after OK, nullopt on Cancel.
std::optional<std::string> RunIpAddressDialog(const std::string& current, QWidget* parent);

} // namespace velmaris
