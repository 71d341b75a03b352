#include "DialogTestSupport.h"

#include "controls/SoundVelocity.h"
#include "controls/qt/CSoundVDlg.h"

#include <QPushButton>
#include <QTimer>

namespace velmaris::testing {
namespace {

class SoundVelocity : public ::testing::Test {
protected:
    std::string EditText(const CSoundVDlg& dialog) const { return dialog.Edit()->text().toStdString(); }
    void Up(CSoundVDlg& dialog) { dialog.Spin()->upButton()->click(); }
    void Down(CSoundVDlg& dialog) { dialog.Spin()->downButton()->click(); }

    SonarSettings settings;
    DocumentFlags flags;
    RecordingReporter reporter;
};

TEST_F(SoundVelocity, StartsFromTheStoredSpeed)
{
    settings.speedOfSound = 1523.7;
    CSoundVDlg dialog(&settings, &flags, reporter);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Input Sound Velocity"));
    EXPECT_EQ(EditText(dialog), "1523.7");
    EXPECT_EQ(dialog.Spin()->upper(), 2000);
    EXPECT_EQ(dialog.Spin()->position(), 1237);
    Up(dialog); // from the whole number
    EXPECT_EQ(EditText(dialog), "1523.1");
}

TEST_F(SoundVelocity, SpinStopsAt1600And1400)
{
    settings.speedOfSound = 1599.0;
    CSoundVDlg dialog(&settings, &flags, reporter);
    for (int i = 0; i < 9; ++i)
        Up(dialog);
    EXPECT_EQ(EditText(dialog), "1599.9");
    Up(dialog);
    EXPECT_EQ(EditText(dialog), "1600.0");
    Up(dialog);
    Up(dialog);
    EXPECT_EQ(EditText(dialog), "1600.0");
    EXPECT_EQ(dialog.WorkingSpeed(), 1600.0);
    Down(dialog);
    EXPECT_EQ(EditText(dialog), "1599.9");

    settings.speedOfSound = 1400.0;
    CSoundVDlg low(&settings, &flags, reporter);
    Down(low);
    EXPECT_EQ(EditText(low), "1400.0");
    Up(low);
    EXPECT_EQ(EditText(low), "1400.1");

    flags.playback = true; // the spin rests while playing back
    Up(low);
    EXPECT_EQ(EditText(low), "1400.1");
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(SoundVelocity, DefaultThenOkStores1500)
{
    settings.speedOfSound = 1432.5;
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CSoundVDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        const int position = dialog->Spin()->position();
        dialog->DefaultButton()->click();
        EXPECT_EQ(dialog->Edit()->text(), QStringLiteral("1500.0"));
        EXPECT_EQ(dialog->Spin()->position(), position); // not moved by "Default"
        dialog->OkButton()->click();
    });
    EXPECT_TRUE(RunSoundVelocityCommand(settings, flags, reporter, nullptr));
    EXPECT_EQ(settings.speedOfSound, 1500.0);
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(SoundVelocity, OutOfRangeIsRefusedWithTheMessage)
{
    settings.speedOfSound = 1480.0;
    QTimer::singleShot(0, [this] {
        auto* dialog = qobject_cast<CSoundVDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        for (const char* typed : {"1399.9", "1600.1", "fast", ""}) {
            dialog->Edit()->setText(QString::fromLatin1(typed));
            dialog->OkButton()->click();
            EXPECT_TRUE(dialog->isVisible()) << typed;
        }
        EXPECT_EQ(reporter.messages.size(), 4u);
        dialog->Edit()->setText(QStringLiteral("1400.0"));
        dialog->CancelButton()->click(); // Cancel keeps the stored speed
    });
    EXPECT_FALSE(RunSoundVelocityCommand(settings, flags, reporter, nullptr));
    EXPECT_EQ(settings.speedOfSound, 1480.0);
    ASSERT_FALSE(reporter.messages.empty());
    EXPECT_EQ(reporter.messages[0], "Wrong Input!!! Make sure the input is between 1400.0 and 1600.0   ");
}

TEST_F(SoundVelocity, TypedLimitsAreAccepted)
{
    for (const char* typed : {"1400.0", "1600", "1555.5"}) {
        CSoundVDlg dialog(&settings, &flags, reporter);
        dialog.show();
        dialog.Edit()->setText(QString::fromLatin1(typed));
        dialog.OkButton()->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << typed;
        EXPECT_EQ(dialog.WorkingSpeed(), SoundVelocityFromText(typed));
    }
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(SoundVelocity, WithoutDocumentSpinAndDefaultRest)
{
    CSoundVDlg dialog(nullptr, nullptr, reporter);
    dialog.Edit()->setText(QStringLiteral("1450.0"));
    Up(dialog);
    dialog.DefaultButton()->click();
    EXPECT_EQ(EditText(dialog), "1450.0");
}

} // namespace
} // namespace velmaris::testing
