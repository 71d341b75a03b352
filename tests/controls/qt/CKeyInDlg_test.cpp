#include "DialogTestSupport.h"

#include "controls/qt/CKeyInDlg.h"
#include "station/CommandRules.h"

#include <QLabel>
#include <QPushButton>

namespace velmaris::testing {
namespace {

class KeyIn : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        BuildWindows();
        mainWindow.setGeometry(100, 60, 900, 700);
        mainWindow.show(); // its frame is known from here on
        keyIn = std::make_unique<CKeyInDlg>(&ops, &mainWindow);
    }

    // What the R, G, S or T hot key does: the kind's prompt (the last one
    // when the kind has none for these settings) and the window shown.
    void Open(KeyInKind kind)
    {
        const auto prompt = KeyInPrompt(kind, settings.metricScale, settings.sectorMode);
        keyIn->Present(kind, prompt ? *prompt : keyIn->Prompt());
    }

    // The hot key, the typed text, then Enter.
    void Enter(KeyInKind kind, const char* typed)
    {
        Open(kind);
        ASSERT_TRUE(keyIn->isVisible());
        EXPECT_TRUE(keyIn->Edit()->text().isEmpty());
        TypeText(keyIn->Edit(), QString::fromLatin1(typed));
        PressKey(keyIn->Edit(), Qt::Key_Return);
        EXPECT_FALSE(keyIn->isVisible());
    }

    QWidget mainWindow;
    std::unique_ptr<CKeyInDlg> keyIn;
};

TEST_F(KeyIn, PlacedAtTheMainWindowsTopRightWithThePrompt)
{
    Open(KeyInKind::Range);
    EXPECT_EQ(keyIn->windowTitle(), QStringLiteral("Input"));
    EXPECT_EQ(keyIn->findChild<QLabel*>(QStringLiteral("promptLabel"))->text(),
        QStringLiteral("Key In Range (meters): 1 - 200"));
    const QRect main = mainWindow.frameGeometry();
    const QRect frame = keyIn->frameGeometry();
    EXPECT_EQ(frame.x() + frame.width(), main.x() + main.width() - 15);
    EXPECT_EQ(frame.y(), main.y() + 31);
    EXPECT_EQ(keyIn->Edit()->maxLength(), 3);

    keyIn->ShowKeyIn(KeyInKind::Train, QStringLiteral("T"), QRect(0, 0, 1280, 1024));
    EXPECT_EQ(keyIn->frameGeometry().right() + 1, 1280 - 15);
    EXPECT_EQ(keyIn->frameGeometry().top(), 31);
    EXPECT_EQ(keyIn->Kind(), KeyInKind::Train);
}

TEST_F(KeyIn, RangeInMetresAndFeet)
{
    Enter(KeyInKind::Range, "7");
    ExpectMessageChange({{CommandMessage::kRange, 5}});
    EXPECT_EQ(PanelText("rangeValue"), "5 m");
    Enter(KeyInKind::Range, "250");
    ExpectMessageChange({{CommandMessage::kRange, 200}});
    Enter(KeyInKind::Range, "0");
    ExpectMessageChange({{CommandMessage::kRange, 30}});
    EXPECT_EQ(settings.rangeIndex, 7);
    Enter(KeyInKind::Range, "1234"); // only three characters count
    ExpectMessageChange({{CommandMessage::kRange, 100}});

    settings.metricScale = 1;
    Enter(KeyInKind::Range, "600");
    ExpectMessageChange({{CommandMessage::kRange, 200}});
    EXPECT_EQ(PanelText("rangeValue"), "600 ft");
    Enter(KeyInKind::Range, "30");
    ExpectMessageChange({{CommandMessage::kRange, 10}});
    EXPECT_EQ(BarText("rangeValue"), "30 ft");
    // Enter on an empty field repeats 30 ft, not a third of it.
    Enter(KeyInKind::Range, "600");
    ExpectMessageChange({{CommandMessage::kRange, 200}});
    Enter(KeyInKind::Range, "");
    ExpectMessageChange({});
    EXPECT_EQ(settings.rangeIndex, 14);
}

TEST_F(KeyIn, NothingTypedRightAfterStartUpChangesNothing)
{
    Enter(KeyInKind::Range, "");
    EXPECT_EQ(keyIn->Value(), -10);
    ExpectMessageChange({});
    EXPECT_EQ(host.barRefreshes, 0);
    EXPECT_EQ(host.imageClears, 0);
    Enter(KeyInKind::Gain, "-5"); // negative: hidden, nothing applied
    ExpectMessageChange({});
}

TEST_F(KeyIn, GainIsLimitedTo40)
{
    Enter(KeyInKind::Gain, "99");
    ExpectMessageChange({{CommandMessage::kGain, 40}});
    EXPECT_EQ(settings.gain, 40);
    EXPECT_EQ(keyIn->Value(), 40);
    Enter(KeyInKind::Gain, "12");
    ExpectMessageChange({{CommandMessage::kGain, 12}});
    Enter(KeyInKind::Gain, "1234");
    ExpectMessageChange({{CommandMessage::kGain, 40}});
    EXPECT_EQ(PanelText("gainValue"), "40 dB");
}

TEST_F(KeyIn, SectorWidthInBothModes)
{
    settings.sectorMode = DisplayMode::Sector;
    settings.sectorWidthSector = 20;
    settings.trainSector = 40;
    MoveModeSettingsIntoCommand(settings, message);
    before = message.Bytes();
    EXPECT_EQ(keyIn->Prompt(), "");
    Enter(KeyInKind::SectorWidth, "200");
    EXPECT_EQ(keyIn->Prompt(), "Key In Sctor Width: (0-180 deg.)");
    ExpectMessageChange({{CommandMessage::kSectorWidth, 60}});
    EXPECT_EQ(PanelText("sectorValue"), "180 deg.");
    EXPECT_EQ(settings.sectorWidthSector, 60);

    settings.sectorMode = DisplayMode::Polar;
    settings.sectorWidthPolar = 30;
    settings.trainPolar = 40;
    MoveModeSettingsIntoCommand(settings, message);
    before = message.Bytes();
    Enter(KeyInKind::SectorWidth, "360");
    EXPECT_EQ(keyIn->Prompt(), "Key In Sctor Width: (0-360 deg.)");
    ExpectMessageChange({{CommandMessage::kSectorWidth, 120}}); // the train is left alone
    EXPECT_EQ(settings.sectorWidthPolar, 120);
    EXPECT_EQ(PanelText("sectorValue"), "360 deg.");
}

TEST_F(KeyIn, TrainAngles)
{
    settings.sectorMode = DisplayMode::Sector;
    settings.sectorWidthSector = 30;
    settings.trainSector = 30;
    MoveModeSettingsIntoCommand(settings, message);
    before = message.Bytes();
    Enter(KeyInKind::Train, "0");
    ExpectMessageChange({{CommandMessage::kTrain, 60}});
    EXPECT_EQ(PanelText("trainValue"), "0 deg.");
    Enter(KeyInKind::Train, "180");
    ExpectMessageChange({{CommandMessage::kTrain, 0}});
    EXPECT_EQ(PanelText("trainValue"), "180 deg.");
    Enter(KeyInKind::Train, "357");
    ExpectMessageChange({{CommandMessage::kTrain, 59}});
    EXPECT_EQ(PanelText("trainValue"), "357 deg.");
    EXPECT_EQ(settings.trainSector, 59);
    settings.sonarUpDown = 1; // not consulted by the key-in
    Enter(KeyInKind::Train, "3");
    ExpectMessageChange({{CommandMessage::kTrain, 61}});
}

TEST_F(KeyIn, CloseEscapeAndFocusLossHideWithoutApplying)
{
    Open(KeyInKind::Gain);
    TypeText(keyIn->Edit(), QStringLiteral("30"));
    PressKey(keyIn->Edit(), Qt::Key_Escape);
    EXPECT_FALSE(keyIn->isVisible());

    Open(KeyInKind::Gain);
    TypeText(keyIn->Edit(), QStringLiteral("30"));
    EXPECT_TRUE(keyIn->close());
    EXPECT_FALSE(keyIn->isVisible());

    Open(KeyInKind::Gain);
    TypeText(keyIn->Edit(), QStringLiteral("30"));
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(keyIn.get(), &deactivate);
    EXPECT_FALSE(keyIn->isVisible());
    ExpectMessageChange({});
    EXPECT_EQ(keyIn->Value(), -10);

    // The OK button applies like Enter.
    Open(KeyInKind::Gain);
    TypeText(keyIn->Edit(), QStringLiteral("30"));
    keyIn->OkButton()->click();
    ExpectMessageChange({{CommandMessage::kGain, 30}});
}

TEST(KeyInWithoutDocument, OkOnlyHides)
{
    CKeyInDlg keyIn(nullptr);
    keyIn.ShowKeyIn(KeyInKind::Gain, QStringLiteral("G"), QRect());
    TypeText(keyIn.Edit(), QStringLiteral("12"));
    keyIn.OkButton()->click();
    EXPECT_FALSE(keyIn.isVisible());
    EXPECT_EQ(keyIn.Value(), 12);
}

} // namespace
} // namespace velmaris::testing
