// "Choose Comm Port" over pseudo-terminals mapped as COM numbers, and
// "Change IP Address".
#include "controls/qt/CComPortDlg.h"
#include "controls/qt/CIPAddressDlg.h"

#include "support/PtyPeer.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPort>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <unistd.h>

namespace velmaris {
namespace {

using test::PtyPeer;

struct RecordingReporter : Reporter {
    void Report(const std::string& text, MessageIcon icon) override
    {
        messages.push_back(text);
        icons.push_back(icon);
    }
    std::vector<std::string> messages;
    std::vector<MessageIcon> icons;
};

// COM numbers mapped to fresh pseudo-terminals in "[Serial Devices]"; every
// other number up to 32 is mapped to nothing, so no real port is probed.
class MappedPorts {
public:
    explicit MappedPorts(std::initializer_list<int> comPorts)
    {
        const auto path = std::filesystem::temp_directory_path()
            / ("velmaris-comports-" + std::to_string(::getpid()) + ".ini");
        {
            std::ofstream out(path);
            out << "[Serial Devices]\n";
            for (int n = 1; n <= 32; ++n) {
                out << "COM" << n << "=";
                if (std::find(comPorts.begin(), comPorts.end(), n) != comPorts.end()) {
                    peers_[n] = std::make_unique<PtyPeer>();
                    out << peers_[n]->Path();
                }
                out << "\n";
            }
        }
        map_ = ComPortMap::FromSettingsFile(path.string());
        std::filesystem::remove(path);
    }

    const ComPortMap& Map() const { return map_; }
    // Opens COMn as the station's serial link or GPS reader would.
    void Hold(int comPort)
    {
        auto port = std::make_unique<QSerialPort>(QString::fromStdString(map_.Device(comPort)));
        ASSERT_TRUE(port->open(QIODevice::ReadWrite)) << comPort;
        held_.push_back(std::move(port));
    }

private:
    std::map<int, std::unique_ptr<PtyPeer>> peers_;
    std::vector<std::unique_ptr<QSerialPort>> held_;
    ComPortMap map_;
};

std::vector<int> Listed(const QComboBox* list)
{
    std::vector<int> ports;
    for (int i = 0; i < list->count(); ++i) {
        EXPECT_TRUE(list->itemText(i).startsWith(QStringLiteral("COM%1").arg(list->itemData(i).toInt())));
        ports.push_back(list->itemData(i).toInt());
    }
    return ports;
}

int Selected(const QComboBox* list)
{
    return list->currentIndex() < 0 ? 0 : list->itemData(list->currentIndex()).toInt();
}

TEST(CComPortDlg, ListsFreePortsAndSelectsTheOneTheLinkHolds)
{
    struct Case {
        const char* name;
        std::initializer_list<int> mapped;
        int held; // by the serial link, 0 for none
        int sonarPort;
        std::vector<int> listed;
        int selected;
    };
    const Case cases[] = {
        {"link on COM3, COM1 and COM4 free", {1, 3, 4}, 3, 3, {1, 3, 4}, 3},
        {"sorted as text", {2, 10, 11}, 2, 2, {10, 11, 2}, 2},
        {"configured port free: no selection", {1, 3}, 0, 3, {1, 3}, 0},
    };
    for (const Case& c : cases) {
        MappedPorts ports(c.mapped);
        if (c.held != 0)
            ports.Hold(c.held);
        RecordingReporter reporter;
        ComPortChoice choice;
        choice.sonarPort = c.sonarPort;
        CComPortDlg dialog(choice, {c.held, 0}, ports.Map(), reporter);
        EXPECT_EQ(Listed(dialog.SonarPorts()), c.listed) << c.name;
        EXPECT_EQ(Listed(dialog.GpsPorts()), c.listed) << c.name;
        EXPECT_EQ(Selected(dialog.SonarPorts()), c.selected) << c.name;
        EXPECT_EQ(Selected(dialog.GpsPorts()), 0) << c.name;
    }
}

TEST(CComPortDlg, PickingAPortAndRtsModeGivesTheChoice)
{
    MappedPorts ports({1, 5, 6});
    ports.Hold(5); // the GPS reader
    RecordingReporter reporter;
    ComPortChoice choice;
    choice.sonarPort = 1;
    choice.gpsPort = 5;
    choice.rtsMode = true;
    choice.gpsBaudIndex = 3;
    CComPortDlg dialog(choice, {0, 5}, ports.Map(), reporter);
    EXPECT_TRUE(dialog.RtsEnable()->isChecked());
    EXPECT_FALSE(dialog.AutoEnable()->isChecked());
    EXPECT_EQ(Selected(dialog.GpsPorts()), 5);
    EXPECT_EQ(dialog.GpsBauds()->currentText(), QStringLiteral("38400"));

    const int six = dialog.SonarPorts()->findData(6);
    ASSERT_GE(six, 0);
    dialog.SonarPorts()->setCurrentIndex(six);
    emit dialog.SonarPorts()->activated(six);
    dialog.AutoEnable()->click();
    EXPECT_EQ(dialog.Choice().sonarPort, 6);
    EXPECT_FALSE(dialog.Choice().rtsMode);

    // An entry that is not COM1..COM32 is refused and the old number kept.
    dialog.SonarPorts()->addItem(QStringLiteral("COM40"));
    emit dialog.SonarPorts()->activated(dialog.SonarPorts()->count() - 1);
    EXPECT_EQ(reporter.messages, std::vector<std::string> {"COM Port number is out of range (COM1 - COM32)"});
    EXPECT_EQ(dialog.Choice().sonarPort, 6);

    // Typing into the edit part counts for nothing.
    dialog.SonarPorts()->setEditText(QStringLiteral("COM9"));
    EXPECT_EQ(dialog.Choice().sonarPort, 6);
}

TEST(CComPortDlg, GpsBoxShowsUseGpsButCannotBeChangedAndOkGivesZero)
{
    MappedPorts ports({1});
    RecordingReporter reporter;
    for (const SonarType sonarType : {SonarType::SerialK52A, SonarType::EthernetK52L}) {
        ComPortChoice choice;
        choice.useGps = 1;
        choice.sonarType = sonarType;
        CComPortDlg dialog(choice, {}, ports.Map(), reporter);
        EXPECT_TRUE(dialog.GpsEnable()->isChecked());
        EXPECT_FALSE(dialog.GpsEnable()->isEnabled());
        EXPECT_FALSE(dialog.GpsPorts()->isEnabled());
        EXPECT_FALSE(dialog.GpsBauds()->isEnabled());
        EXPECT_EQ(dialog.SonarPorts()->isEnabled(), sonarType == SonarType::SerialK52A);
        EXPECT_EQ(dialog.RtsEnable()->isEnabled(), sonarType == SonarType::SerialK52A);
        dialog.OkButton()->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.Choice().useGps, 0);
    }
}

// Presses `button` of the modal dialog once it is up.
void PressWhenShown(const char* button)
{
    QTimer::singleShot(0, [button] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        auto* press = dialog->findChild<QPushButton*>(QLatin1String(button));
        ASSERT_NE(press, nullptr);
        press->click();
    });
}

TEST(ConnectionDialogs, CancelChangesNothingOkWritesBack)
{
    MappedPorts ports({2, 4});
    RecordingReporter reporter;
    ComPortChoice choice;
    choice.sonarPort = 4;
    choice.rtsMode = true;
    choice.useGps = 1;
    const ComPortChoice before = choice;
    PressWhenShown("cancelButton");
    EXPECT_FALSE(RunComPortDialog(choice, {}, ports.Map(), reporter, nullptr));
    EXPECT_EQ(choice.useGps, before.useGps);
    EXPECT_EQ(choice.rtsMode, before.rtsMode);
    PressWhenShown("okButton");
    EXPECT_TRUE(RunComPortDialog(choice, {}, ports.Map(), reporter, nullptr));
    EXPECT_EQ(choice.useGps, 0);
    EXPECT_EQ(choice.sonarPort, 4);

    PressWhenShown("cancelButton");
    EXPECT_EQ(RunIpAddressDialog("192.168.0.5", nullptr), std::nullopt);
    PressWhenShown("okButton");
    EXPECT_EQ(RunIpAddressDialog("127.0.0.1", nullptr), "127.0.0.1");
}

TEST(CIPAddressDlg, FillsTheFourPartsOrLeavesTheControlEmpty)
{
    struct Case {
        const char* stored;
        std::array<const char*, 4> shown;
        const char* afterOk;
    };
    const Case cases[] = {
        {"192.168.0.5", {"192", "168", "0", "5"}, "192.168.0.5"},
        {"1.2.3.4", {"1", "2", "3", "4"}, "1.2.3.4"}, {"256.1.2", {"0", "1", "2", "0"}, "0.1.2.0"},
        {"1.2.3.", {"", "", "", ""}, "1.2.3."}, // too short: empty, and OK keeps it
        {"10.1.20000.4", {"", "", "", ""}, "10.1.20000.4"}, // over-long part
    };
    for (const Case& c : cases) {
        CIPAddressDlg dialog(c.stored);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(dialog.Part(i)->text().toStdString(), c.shown[static_cast<std::size_t>(i)]) << c.stored;
        dialog.OkButton()->click();
        EXPECT_EQ(dialog.Address(), c.afterOk);
    }

    CIPAddressDlg edited("1.2.3.");
    for (int i = 0; i < 4; ++i)
        edited.Part(i)->setText(QString::number(10 + i));
    edited.Part(3)->setText(QStringLiteral(""));
    edited.OkButton()->click();
    EXPECT_EQ(edited.Address(), "10.11.12.0") << "an empty part counts as 0";
    CIPAddressDlg limited("0.0.0.0");
    QLineEdit* part = limited.Part(0);
    part->clear();
    for (int i = 0; i < 3; ++i) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_9, Qt::NoModifier, QStringLiteral("9"));
        QApplication::sendEvent(part, &key);
    }
    EXPECT_EQ(part->text(), QStringLiteral("255")) << "a part stays within 0..255";
}

} // namespace
} // namespace velmaris
