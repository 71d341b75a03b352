#include "DialogTestSupport.h"

#include "controls/qt/CKeyInDlg.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>

namespace velmaris::testing {
namespace {

using Panel = ControlsTest;
constexpr auto kRange = CommandMessage::kRange;
constexpr auto kTrain = CommandMessage::kTrain;
constexpr auto kWidth = CommandMessage::kSectorWidth;
constexpr auto kStep = CommandMessage::kStep;

TEST_F(Panel, ShowsEveryLabelTitleAndStartingValue)
{
    BuildWindows();
    EXPECT_EQ(panel->windowTitle(), QStringLiteral("Settings"));
    EXPECT_TRUE(panel->windowFlags().testFlag(Qt::Tool));
    EXPECT_EQ(PanelChild<QGroupBox>("manualGroup")->title(), QStringLiteral("Manual Frequecy Setup"));
    EXPECT_EQ(PanelChild<QCheckBox>("enableCheck")->text(), QStringLiteral("Enable"));
    QStringList labels;
    for (const QLabel* label : panel->findChildren<QLabel*>())
        labels << label->text();
    for (const char* text : {"Range:", "Gain:", "Sector:", "Train:", "Speed:", "Mode:", "Freqency:",
             "Absorption:", "PulseLen:", "SwitchDelay:"})
        EXPECT_TRUE(labels.contains(QString::fromLatin1(text))) << text;

    EXPECT_EQ(PanelText("rangeValue"), "30 m");
    EXPECT_EQ(PanelText("gainValue"), "6 dB");
    EXPECT_EQ(PanelText("sectorValue"), "360 deg.");
    EXPECT_EQ(PanelText("trainValue"), "0 deg.");
    EXPECT_EQ(PanelText("speedValue"), "Fast");
    EXPECT_EQ(PanelText("modeValue"), "Polar");
    EXPECT_EQ(PanelText("frequencyValue"), "1000 kHz");
    EXPECT_EQ(PanelText("absorptionValue"), "0.20 dB/m");
    EXPECT_EQ(PanelText("pulseLengthValue"), "100 usec");
    EXPECT_EQ(PanelText("switchDelayValue"), "0 ms");
    EXPECT_TRUE(PanelChild<QLineEdit>("rangeValue")->isReadOnly());
}

TEST_F(Panel, RangeStopsAt200MetresAndShowsFeet)
{
    settings.rangeIndex = 13;
    BuildWindows();
    ClickPanel("rangeSpin", +1);
    ExpectMessageChange({{kRange, 200}});
    EXPECT_EQ(host.imageClears, 1);
    EXPECT_EQ(PanelText("rangeValue"), "200 m");
    EXPECT_EQ(PanelChild<CSpinButton>("rangeSpin")->position(), 14);

    ClickPanel("rangeSpin", +1); // at the end: nothing at all
    ExpectMessageChange({});
    EXPECT_EQ(host.imageClears, 1);
    EXPECT_EQ(settings.rangeIndex, 14);

    settings.metricScale = 1;
    ClickPanel("rangeSpin", -1);
    ExpectMessageChange({{kRange, 150}});
    EXPECT_EQ(PanelText("rangeValue"), "450 ft");
    EXPECT_EQ(BarText("rangeValue"), "450 ft");
    ClickPanel("rangeSpin", +1);
    EXPECT_EQ(PanelText("rangeValue"), "600 ft");
    settings.rangeIndex = 6;
    ClickPanel("rangeSpin", -1);
    EXPECT_EQ(PanelText("rangeValue"), "30 ft");
}

TEST_F(Panel, GainStopsAtBothEnds)
{
    settings.gain = 39;
    message[CommandMessage::kGain] = 39;
    BuildWindows();
    ClickPanel("gainSpin", +1);
    ExpectMessageChange({{CommandMessage::kGain, 40}});
    ClickPanel("gainSpin", +1);
    ExpectMessageChange({});
    EXPECT_EQ(PanelText("gainValue"), "40 dB");
    EXPECT_EQ(host.barRefreshes, 1); // the second click applied nothing
}

TEST_F(Panel, SectorWidthLimitsPerModeAndTheFullCircle)
{
    settings.sectorMode = DisplayMode::Sector;
    settings.sectorWidthSector = 59;
    settings.trainSector = 50;
    MoveModeSettingsIntoCommand(settings, message);
    BuildWindows();
    ClickPanel("sectorSpin", +1);
    ExpectMessageChange({{kWidth, 60}});
    ClickPanel("sectorSpin", +1);
    ExpectMessageChange({});
    EXPECT_EQ(PanelText("sectorValue"), "180 deg.");
    EXPECT_EQ(settings.sectorWidthSector, 60);

    // Polar: up to a full circle, which looks straight ahead and locks the train.
    settings.sectorMode = DisplayMode::Polar;
    settings.sectorWidthPolar = 119;
    settings.trainPolar = 50;
    MoveModeSettingsIntoCommand(settings, message);
    panel->Refresh();
    before = message.Bytes();
    ClickPanel("sectorSpin", +1);
    ExpectMessageChange({{kWidth, 120}, {kTrain, 60}});
    EXPECT_EQ(settings.trainPolar, 60);
    EXPECT_EQ(PanelText("sectorValue"), "360 deg.");
    EXPECT_EQ(PanelText("trainValue"), "0 deg.");
    ClickPanel("sectorSpin", +1);
    ClickPanel("trainSpin", +1);
    ClickPanel("trainSpin", -1);
    ExpectMessageChange({});

    // SideScan has no sector width.
    settings.sectorMode = DisplayMode::SideScan;
    ClickPanel("sectorSpin", -1);
    ExpectMessageChange({});
}

TEST_F(Panel, TrainWrapsAndFollowsTheOrientation)
{
    settings.sectorMode = DisplayMode::Sector;
    settings.sectorWidthSector = 30;
    settings.trainSector = 120;
    MoveModeSettingsIntoCommand(settings, message);
    BuildWindows();
    EXPECT_EQ(PanelText("trainValue"), "180 deg.");
    ClickPanel("trainSpin", +1);
    ExpectMessageChange({{kTrain, 0}});
    EXPECT_EQ(PanelText("trainValue"), "180 deg.");
    ClickPanel("trainSpin", -1);
    ExpectMessageChange({{kTrain, 120}});
    EXPECT_EQ(settings.trainSector, 120);

    message[kTrain] = 59;
    before = message.Bytes();
    ClickPanel("trainSpin", +1);
    ExpectMessageChange({{kTrain, 60}});
    EXPECT_EQ(PanelText("trainValue"), "0 deg.");

    // Mounted upside down the up arrow lowers the train.
    settings.sonarUpDown = 1;
    ClickPanel("trainSpin", +1);
    ExpectMessageChange({{kTrain, 59}});
    EXPECT_EQ(PanelText("trainValue"), "3 deg."); // and the angle is mirrored
}

TEST_F(Panel, SpeedForBothHeadsAtShortRanges)
{
    settings.sectorMode = DisplayMode::Sector;
    MoveModeSettingsIntoCommand(settings, message);
    // Serial head: 1, 2, 3, 4, 8 up and back down, whatever the range.
    settings.sonarType = SonarType::SerialK52A;
    settings.rangeIndex = 2; // 3 m
    message[kStep] = kStepFaster;
    BuildWindows();
    ClickPanel("speedSpin", +1);
    ExpectMessageChange({{kStep, 8}});
    EXPECT_EQ(PanelText("speedValue"), "Fastest");
    ClickPanel("speedSpin", +1);
    ExpectMessageChange({});
    ClickPanel("speedSpin", -1);
    ExpectMessageChange({{kStep, 4}});
    EXPECT_EQ(PanelText("speedValue"), "Faster");
    settings.rangeIndex = 4; // 5 m
    ClickPanel("speedSpin", +1);
    ExpectMessageChange({{kStep, 8}});

    // Ethernet head: "Slow" only up to 4 m, "Slow" or "Medium" at 5 m.
    settings.sonarType = SonarType::EthernetK52L;
    settings.rangeIndex = 2;
    ClickPanel("speedSpin", +1);
    ExpectMessageChange({{kStep, 1}});
    ClickPanel("speedSpin", +1);
    ExpectMessageChange({});
    EXPECT_EQ(PanelText("speedValue"), "Slow");
    settings.rangeIndex = 4;
    ClickPanel("speedSpin", +1);
    ExpectMessageChange({{kStep, 2}});
    ClickPanel("speedSpin", +1);
    ExpectMessageChange({});
    EXPECT_EQ(PanelText("speedValue"), "Medium");
    ClickPanel("speedSpin", -1);
    ExpectMessageChange({{kStep, 1}});
    EXPECT_EQ(settings.stepSize, kStepSlow);

    settings.sectorMode = DisplayMode::SideScan;
    ClickPanel("speedSpin", +1);
    ExpectMessageChange({});
}

TEST_F(Panel, ModeSpinClearsTheImageEvenWhenItStays)
{
    settings.sectorMode = DisplayMode::Sector;
    settings.sectorWidthSector = 40;
    settings.trainSector = 70;
    settings.trainSS = 30;
    MoveModeSettingsIntoCommand(settings, message);
    BuildWindows();
    ClickPanel("modeSpin", -1);
    ExpectMessageChange({});
    EXPECT_EQ(settings.sectorMode, DisplayMode::Sector);
    EXPECT_EQ(host.imageClears, 1);
    EXPECT_EQ(PanelText("modeValue"), "Sector");

    ClickPanel("modeSpin", +1);
    ExpectMessageChange({{kWidth, 120}, {kTrain, 60}});
    EXPECT_EQ(PanelText("modeValue"), "Polar");
    ClickPanel("modeSpin", +1);
    ExpectMessageChange({{kWidth, 0}, {kTrain, 30}, {kStep, 0}});
    EXPECT_EQ(PanelText("modeValue"), "SideScan");
    EXPECT_EQ(PanelText("speedValue"), "None");
    EXPECT_EQ(host.imageClears, 3);
}

TEST_F(Panel, NothingChangesDuringPlayback)
{
    BuildWindows();
    flags.playback = true;
    for (const char* spin : {"rangeSpin", "gainSpin", "sectorSpin", "trainSpin", "speedSpin", "modeSpin"}) {
        ClickPanel(spin, +1);
        ClickPanel(spin, -1);
    }
    ExpectMessageChange({});
    EXPECT_EQ(host.imageClears, 0);
}

TEST_F(Panel, ManualSpinsStopAtTheirLimitsAndSkip253)
{
    settings.absorption = 252;
    settings.frequency = 184;
    settings.pulseLength = 99;
    message[CommandMessage::kSwitchDelay] = 98;
    BuildWindows();
    ClickPanel("absorptionSpin", +1);
    ExpectMessageChange({{CommandMessage::kAbsorption, 254}});
    EXPECT_EQ(PanelText("absorptionValue"), "2.54 dB/m");
    ClickPanel("absorptionSpin", +1);
    ClickPanel("absorptionSpin", +1);
    ExpectMessageChange({{CommandMessage::kAbsorption, 255}});
    EXPECT_EQ(PanelChild<CSpinButton>("absorptionSpin")->position(), 255);

    ClickPanel("frequencySpin", +1);
    ClickPanel("frequencySpin", +1);
    ExpectMessageChange({{CommandMessage::kFrequency, 185}});
    EXPECT_EQ(PanelText("frequencyValue"), "1100 kHz");
    EXPECT_EQ(PanelChild<CSpinButton>("frequencySpin")->position(), 164);
    settings.frequency = 22;
    ClickPanel("frequencySpin", -1);
    ClickPanel("frequencySpin", -1);
    ExpectMessageChange({{CommandMessage::kFrequency, 21}});
    EXPECT_EQ(PanelText("frequencyValue"), "280 kHz");

    ClickPanel("pulseLengthSpin", +1);
    ClickPanel("pulseLengthSpin", +1);
    ExpectMessageChange({{CommandMessage::kPulseLength, 100}});
    EXPECT_EQ(PanelText("pulseLengthValue"), "1000 usec");
    settings.pulseLength = 2;
    ClickPanel("pulseLengthSpin", -1);
    ClickPanel("pulseLengthSpin", -1);
    ExpectMessageChange({{CommandMessage::kPulseLength, 1}});
    EXPECT_EQ(PanelText("pulseLengthValue"), "10 usec");

    ClickPanel("switchDelaySpin", +1);
    ClickPanel("switchDelaySpin", +1);
    ExpectMessageChange({{CommandMessage::kSwitchDelay, 100}});
    EXPECT_EQ(PanelText("switchDelayValue"), "100 ms");
    message[CommandMessage::kSwitchDelay] = 2;
    before = message.Bytes();
    ClickPanel("switchDelaySpin", -1);
    ClickPanel("switchDelaySpin", -1);
    ExpectMessageChange({{CommandMessage::kSwitchDelay, 0}});
    EXPECT_EQ(PanelText("switchDelayValue"), "0 ms");
    EXPECT_EQ(host.barRefreshes, 0); // manual set-up does not apply
}

TEST_F(Panel, EnableBoxSwitchesBetweenAutomaticAndManual)
{
    settings.rangeIndex = 13;
    settings.autoSettings = 1;
    BuildWindows();
    const AutoRow row = settings.automaticTable[13];
    EXPECT_EQ(message[CommandMessage::kFrequency], row.frequency); // loaded when created
    auto* enable = PanelChild<QCheckBox>("enableCheck");
    EXPECT_FALSE(enable->isChecked());
    for (const char* name : {"frequencyValue", "frequencySpin", "absorptionValue", "absorptionSpin",
             "pulseLengthValue", "pulseLengthSpin"})
        EXPECT_FALSE(PanelChild(name)->isEnabled()) << name;
    EXPECT_TRUE(PanelChild("switchDelaySpin")->isEnabled());
    ClickPanel("switchDelaySpin", +1);
    ExpectMessageChange({{CommandMessage::kSwitchDelay, 2}});

    enable->click();
    EXPECT_EQ(settings.autoSettings, 0);
    EXPECT_TRUE(enable->isChecked());
    EXPECT_TRUE(PanelChild("absorptionSpin")->isEnabled());
    ClickPanel("frequencySpin", +1);
    ExpectMessageChange({{CommandMessage::kFrequency, row.frequency + 1}});

    // Back to automatic: the range's values return at once.
    enable->click();
    EXPECT_EQ(settings.autoSettings, 1);
    EXPECT_FALSE(enable->isChecked());
    ExpectMessageChange({{CommandMessage::kFrequency, row.frequency}});
    EXPECT_FALSE(PanelChild("frequencySpin")->isEnabled());

    // With automatic values on, a range change brings the new range's row.
    ClickPanel("rangeSpin", -1);
    const AutoRow next = settings.automaticTable[12];
    ExpectMessageChange({{kRange, 100}, {CommandMessage::kFrequency, next.frequency},
        {CommandMessage::kAbsorption, next.absorption}, {CommandMessage::kPulseLength, next.pulseLength}});
}

TEST_F(Panel, CloseBoxHidesAndClearsTheFlag)
{
    BuildWindows();
    settings.settingsDlgVisible = 1;
    panel->show();
    ASSERT_TRUE(panel->isVisible());
    EXPECT_TRUE(panel->close());
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(settings.settingsDlgVisible, 0);
    panel->show(); // still there to be shown again
    EXPECT_TRUE(panel->isVisible());
}

TEST_F(Panel, PressesAndActivationHideTheKeyIn)
{
    BuildWindows();
    CKeyInDlg keyIn(&ops);
    QObject::connect(panel.get(), &CCtrlPanelDlg::hideKeyInRequested, &keyIn, &QWidget::hide);
    panel->show();

    auto press = [&](QWidget* target, Qt::MouseButton button) {
        keyIn.ShowKeyIn(KeyInKind::Gain, QStringLiteral("Key In Gain: (0-40dB)"), QRect());
        ASSERT_TRUE(keyIn.isVisible());
        QMouseEvent event(QEvent::MouseButtonPress, QPointF(2, 2), target->mapToGlobal(QPointF(2, 2)), button,
            button, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
        EXPECT_FALSE(keyIn.isVisible());
    };
    press(PanelChild("gainValue"), Qt::LeftButton);
    press(PanelChild("manualGroup"), Qt::RightButton);
    press(panel.get(), Qt::MiddleButton);

    keyIn.ShowKeyIn(KeyInKind::Gain, QStringLiteral("x"), QRect());
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(panel.get(), &activate);
    EXPECT_FALSE(keyIn.isVisible());
    ExpectMessageChange({}); // hiding applies nothing
}

} // namespace
} // namespace velmaris::testing
