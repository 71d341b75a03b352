#include "station/FileDialogs.h"

#include "support/PlaybackRig.h"

#include <gtest/gtest.h>

namespace velmaris {
namespace {

using velmaris::testing::FakeFileDialogs;

TEST(FileDialogs, SaveDialogFollowsTheExtensionType)
{
    const SaveDialogRequest serial = RecordSaveDialog("/d/", "/d/Velmaris x.52a", SonarType::SerialK52A);
    EXPECT_EQ(serial.filterText, "Velmaris Data File: (*.52a)");
    EXPECT_EQ(serial.filterPattern, "*.52a");
    EXPECT_EQ(serial.defaultExtension, "52a");
    const SaveDialogRequest ethernet = RecordSaveDialog("/d/", "/d/Velmaris x.52l", SonarType::EthernetK52L);
    EXPECT_EQ(ethernet.filterText, "Velmaris Data File: (*.52L)");
    EXPECT_EQ(ethernet.filterPattern, "*.52L");
    EXPECT_EQ(ethernet.defaultExtension, "52l");
    EXPECT_TRUE(ethernet.overwritePrompt && ethernet.pathMustExist);
}

TEST(FileDialogs, RecordDirectoryComesFromTheFolderBrowser)
{
    FakeFileDialogs dialogs;
    EXPECT_FALSE(AskRecordDirectory(dialogs, "/old/")); // Cancel
    ASSERT_EQ(dialogs.folders.size(), 1u);
    EXPECT_EQ(dialogs.folders[0].title, "Pick a Record Directory: ");
    EXPECT_EQ(dialogs.folders[0].initialFolder, "/old/");
    dialogs.folderAnswers = {"/media/dives"};
    EXPECT_EQ(AskRecordDirectory(dialogs, "/old/"), "/media/dives");
}

TEST(FileDialogs, DocumentWithoutFileWindowsAnswersCancel)
{
    velmaris::testing::PlaybackRig rig;
    rig.doc.SetFileWindows(nullptr, nullptr);
    rig.Recorder().StartStop();
    rig.Player().OpenFileToPlayback();
    EXPECT_FALSE(rig.doc.IsRecording());
    EXPECT_FALSE(rig.Player().IsPlaying());
    EXPECT_TRUE(rig.dialogs.saves.empty() && rig.dialogs.opens.empty());
    EXPECT_FALSE(AskRecordDirectory(rig.doc.Dialogs(), "/"));
}

} // namespace
} // namespace velmaris
