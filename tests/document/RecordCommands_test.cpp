#include "document/RecordCommands.h"

#include "support/PlaybackRig.h"

#include <gtest/gtest.h>

namespace velmaris {
namespace {

using velmaris::testing::FakeFileDialogs;

TEST(RecordCommands, EnableAndCheckRules)
{
    EXPECT_TRUE(OpenPlaybackRule().enabled);
    EXPECT_FALSE(OpenPlaybackRule().checked);
    EXPECT_TRUE(RecordRule(true).checked);
    EXPECT_TRUE(RecordRule(false).enabled);
    EXPECT_FALSE(RecordRule(false).checked);

    EXPECT_TRUE(RealTimePlayRule(true, 85, false).enabled);
    EXPECT_FALSE(RealTimePlayRule(true, 0, true).enabled); // no loop time known
    EXPECT_TRUE(RealTimePlayRule(true, 0, true).checked);
    EXPECT_FALSE(RealTimePlayRule(false, 85, false).enabled); // live

    EXPECT_TRUE(AutoSaveFileNamesRule(1).checked);
    EXPECT_FALSE(AutoSaveFileNamesRule(0).checked);
}

TEST(RecordCommands, RecordDirectoryFromTheFolderBrowserEndsWithOneSeparator)
{
    FakeFileDialogs dialogs;
    SonarSettings settings;
    settings.writeFileDirectory = "/old/";
    EXPECT_FALSE(SetRecordDirectory(dialogs, settings)); // Cancel
    EXPECT_EQ(settings.writeFileDirectory, "/old/");
    ASSERT_EQ(dialogs.folders.size(), 1u);
    EXPECT_EQ(dialogs.folders[0].title, "Pick a Record Directory: ");
    EXPECT_EQ(dialogs.folders[0].initialFolder, "/old/");

    dialogs.folderAnswers = {"/media/dives", "/"};
    EXPECT_TRUE(SetRecordDirectory(dialogs, settings));
    EXPECT_EQ(settings.writeFileDirectory, "/media/dives/");
    EXPECT_TRUE(SetRecordDirectory(dialogs, settings));
    EXPECT_EQ(settings.writeFileDirectory, "/");

    ToggleAutoSaveFileNames(settings);
    EXPECT_EQ(settings.autoSaveFileName, 1);
    ToggleAutoSaveFileNames(settings);
    EXPECT_EQ(settings.autoSaveFileName, 0);
}

TEST(RecordCommands, DocumentWithoutFileWindowsAnswersCancel)
{
    velmaris::testing::PlaybackRig rig;
    rig.doc.SetFileWindows(nullptr, nullptr);
    rig.Recorder().StartStop();
    rig.Player().OpenFileToPlayback();
    EXPECT_FALSE(rig.doc.Recording());
    EXPECT_FALSE(rig.Player().IsPlaying());
    EXPECT_TRUE(rig.dialogs.saves.empty() && rig.dialogs.opens.empty());
    EXPECT_FALSE(SetRecordDirectory(rig.doc.Dialogs(), rig.state.settings));
}

} // namespace
} // namespace velmaris
