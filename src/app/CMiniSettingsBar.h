#pragma once
// The mini settings bar: one line under the toolbar with the six head
// settings (range, gain, sector, train, speed, mode), each a read-only value
// field and a spin. It only shows and reports; the document's refresh writes
// the fields and the spin rules decide what a click does.

#include <QWidget>

#include <map>

class QLineEdit;

namespace velmaris {

class CUpDown;

class CMiniSettingsBar : public QWidget {
    Q_OBJECT
public:
    explicit CMiniSettingsBar(QWidget* parent = nullptr);

    // Controls by id (document/ControlIds.h); nullptr for an unknown id.
    QLineEdit* ValueField(int valueFieldId) const;
    CUpDown* Spin(int spinId) const;

    // Each returns false (and does nothing) for an unknown id.
    bool SetFieldText(int valueFieldId, const QString& text);
    bool SetSpinRange(int spinId, int lower, int upper);
    bool SetSpinPosition(int spinId, int position);

signals:
    // A spin was clicked: its id and +1 or -1.
    void spinDelta(int spinId, int delta);
    // The mouse was released on the range spin.
    void rangeSpinReleased();

private:
    std::map<int, QLineEdit*> m_fields;
    std::map<int, CUpDown*> m_spins;
};

} // namespace velmaris
