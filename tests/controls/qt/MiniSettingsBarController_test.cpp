#include "DialogTestSupport.h"

#include <QLabel>

namespace velmaris::testing {
namespace {

using MiniBar = ControlsTest;

TEST_F(MiniBar, ShowsTheSixFieldsInOneRow)
{
    settings.sectorMode = DisplayMode::Sector;
    settings.sectorWidthSector = 20;
    settings.trainSector = 40;
    MoveModeSettingsIntoCommand(settings, message);
    BuildWindows();
    EXPECT_EQ(BarText("rangeValue"), "30 m");
    EXPECT_EQ(BarText("gainValue"), "6 dB");
    EXPECT_EQ(BarText("sectorValue"), "60 deg.");
    EXPECT_EQ(BarText("trainValue"), "300 deg.");
    EXPECT_EQ(BarText("speedValue"), "Fast");
    EXPECT_EQ(BarText("modeValue"), "Sector");
    const auto labels = bar->findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 6);
    bar->adjustSize();
    for (int i = 1; i < labels.size(); ++i) // left to right on one line
        EXPECT_GT(labels[i]->geometry().left(), labels[i - 1]->geometry().right());
    for (const QLabel* label : labels)
        EXPECT_EQ(label->geometry().top(), labels[0]->geometry().top());
    const auto spins = bar->findChildren<CSpinButton*>();
    ASSERT_EQ(spins.size(), 6);
    EXPECT_EQ(spins[0]->upper(), 14);
    EXPECT_EQ(spins[1]->upper(), 40);
}

TEST_F(MiniBar, SpinsShareThePanelsRules)
{
    BuildWindows();
    ClickBar("gainSpin", +1);
    ExpectMessageChange({{CommandMessage::kGain, 7}});
    EXPECT_EQ(BarText("gainValue"), "7 dB");
    EXPECT_EQ(PanelText("gainValue"), "7 dB"); // apply refreshes both
    ClickBar("rangeSpin", -1);
    ExpectMessageChange({{CommandMessage::kRange, 20}});
    EXPECT_EQ(BarText("rangeValue"), "20 m");
    EXPECT_EQ(host.imageClears, 2); // the release after the click clears once more
    EXPECT_EQ(host.panelRefreshes, 3);
}

TEST_F(MiniBar, RangeReleaseClearsTheImageEvenAt200Metres)
{
    settings.rangeIndex = 14;
    message[CommandMessage::kRange] = 200;
    BuildWindows();
    ClickBar("rangeSpin", +1); // the step changes nothing, the release clears
    ExpectMessageChange({});
    EXPECT_EQ(settings.rangeIndex, 14);
    EXPECT_EQ(host.imageClears, 1);
    EXPECT_EQ(BarText("rangeValue"), "200 m");

    // The panel's range spin has no release rule.
    panel->findChild<CSpinButton*>(QStringLiteral("rangeSpin"))->upButton()->click();
    EXPECT_EQ(host.imageClears, 1);

    // During playback the release does nothing either.
    flags.playback = true;
    ClickBar("rangeSpin", -1);
    EXPECT_EQ(host.imageClears, 1);
    ExpectMessageChange({});
}

TEST_F(MiniBar, ReleaseUsesTheSpinPosition)
{
    settings.rangeIndex = 3;
    message[CommandMessage::kRange] = 4;
    BuildWindows();
    auto* spin = bar->findChild<CSpinButton*>(QStringLiteral("rangeSpin"));
    // A range set from elsewhere since the last refresh: the release takes
    // the spin's own position.
    spin->setRange(0, 3);
    spin->setPosition(3);
    settings.autoSettings = 1;
    emit spin->released();
    EXPECT_EQ(spin->upper(), 14);
    EXPECT_EQ(settings.rangeIndex, 3);
    const AutoRow row = settings.automaticTable[3];
    ExpectMessageChange({{CommandMessage::kFrequency, row.frequency},
        {CommandMessage::kAbsorption, row.absorption}, {CommandMessage::kPulseLength, row.pulseLength}});
    EXPECT_EQ(host.imageClears, 1);
}

TEST_F(MiniBar, ControllerSkipsMissingControls)
{
    BuildWindows();
    SharedFieldControls partial;
    partial.values[kFieldGain] = bar->findChild<QLineEdit*>(QStringLiteral("gainValue"));
    MiniSettingsBarController controller(partial, settings, message, ops);
    settings.gain = 33;
    controller.Refresh();
    EXPECT_EQ(BarText("gainValue"), "33 dB");
    EXPECT_EQ(BarText("rangeValue"), "30 m");
}

} // namespace
} // namespace velmaris::testing
