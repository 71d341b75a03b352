#include "shell/qt/ScreenCapture.h"

#include <gtest/gtest.h>

#include "support/CycleFakes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace velmaris {
namespace {

// A main window with a menu bar, a red client area and a status bar.
struct CaptureCase : ::testing::Test {
    QTemporaryDir dir;
    QMainWindow window;
    testing::RecordingReporter reporter;
    ScreenCapture capture {window, reporter};
    QString asked; // the starting folder the dialog was given

    CaptureCase()
    {
        window.menuBar()->addMenu(QStringLiteral("&File"));
        auto* client = new QLabel;
        client->setAutoFillBackground(true);
        client->setStyleSheet(QStringLiteral("background: rgb(250, 0, 0)"));
        window.setCentralWidget(client);
        window.statusBar()->showMessage(QStringLiteral("Ready"));
        window.resize(320, 240);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    void Answer(std::optional<QString> path)
    {
        capture.askPath = [this, path](const QString& start) {
            asked = start;
            return path;
        };
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
};

TEST_F(CaptureCase, EachFormatIsWrittenAndReadsBackWithTheWindowsSize)
{
    const struct {
        const char* name;
        const char* readFormat;
    } cases[] = {{"shot.bmp", "bmp"}, {"shot.gif", "gif"}, {"shot.jpg", "jpeg"}, {"shot.tif", "tiff"},
        {"shot.png", "png"}, {"Upper.PNG", "png"}, {"long.tiff", "tiff"}};
    for (const auto& c : cases) {
        Answer(Path(c.name));
        EXPECT_TRUE(capture.Run(QStringLiteral("/records"))) << c.name;
        EXPECT_EQ(asked, QStringLiteral("/records"));
        QImageReader reader(Path(c.name)); // saved under the name as typed
        EXPECT_EQ(reader.format(), QByteArray(c.readFormat)) << c.name;
        const QImage back = reader.read();
        ASSERT_FALSE(back.isNull()) << c.name << reader.errorString().toStdString();
        // Offscreen there is no window manager's frame to read: the window's own content.
        EXPECT_EQ(back.size(), window.size()) << c.name;
        // The client area is in the picture, not only the frame's outline.
        const QPoint centre = window.centralWidget()->geometry().center();
        EXPECT_GT(qRed(back.pixel(centre)), 200) << c.name;
        EXPECT_LT(qGreen(back.pixel(centre)), 60) << c.name;
    }
    EXPECT_TRUE(reporter.messages.empty());
    // Only the pictures remain: no temporary files beside them.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 7);
}

TEST_F(CaptureCase, RefusedNamesAndCancelWriteNothing)
{
    Answer(Path("shot.jpeg"));
    EXPECT_FALSE(capture.Run({}));
    Answer(Path("shot"));
    EXPECT_FALSE(capture.Run({}));
    Answer(std::nullopt); // cancelled: no message
    EXPECT_FALSE(capture.Run({}));
    EXPECT_EQ(reporter.messages, (std::vector<std::string> {"Invalid File Format", "Invalid File Format"}));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(CaptureCase, EachMessageShowsItsIcon)
{
    // A refused extension is an exclamation; the screen that cannot be
    // saved is a plain box.
    const struct {
        const char* name;
        const char* message; // its beginning
        MessageIcon icon;
    } cases[] = {{"shot.jpeg", "Invalid File Format", MessageIcon::Exclamation},
        {"shot", "Invalid File Format", MessageIcon::Exclamation},
        {"missing/shot.png", "Can't save the screen!\n", MessageIcon::None}};
    for (const auto& c : cases) {
        reporter.messages.clear();
        reporter.icons.clear();
        Answer(Path(c.name));
        EXPECT_FALSE(capture.Run({}));
        ASSERT_EQ(reporter.messages.size(), 1u) << c.name;
        EXPECT_EQ(reporter.messages[0].rfind(c.message, 0), 0u) << c.name;
        EXPECT_EQ(reporter.icons, std::vector<MessageIcon> {c.icon}) << c.name;
    }
}

TEST_F(CaptureCase, ReadOnlyFolderReportsTheFailureAndKeepsTheOldPicture)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    const QString old = Path("old.png");
    QImage previous(10, 10, QImage::Format_RGB32);
    previous.fill(Qt::blue);
    ASSERT_TRUE(previous.save(old));
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);

    Answer(old);
    EXPECT_FALSE(capture.Run({}));
    ASSERT_EQ(reporter.messages.size(), 1u);
    const std::string& message = reporter.messages[0];
    EXPECT_EQ(message.rfind("Can't save the screen!\n" + old.toStdString() + "\n", 0), 0u) << message;
    EXPECT_GT(message.size(), std::string("Can't save the screen!\n").size() + old.size() + 1); // a cause

    QFile::setPermissions(
        dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(QImage(old).size(), QSize(10, 10)); // the old picture is intact
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(CaptureCase, FailedRenameReportsTheCauseAndLeavesNoTemporaryFile)
{
    // A folder where the picture should go cannot be replaced by it.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("taken.png")));
    Answer(Path("taken.png"));
    EXPECT_FALSE(capture.Run({}));
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(
        reporter.messages[0].rfind("Can't save the screen!\n" + Path("taken.png").toStdString() + "\n", 0),
        0u);
    EXPECT_TRUE(QFileInfo(Path("taken.png")).isDir());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());

    // A folder that does not exist fails the same way.
    Answer(Path("missing/shot.png"));
    EXPECT_FALSE(capture.Run({}));
    ASSERT_EQ(reporter.messages.size(), 2u);
    EXPECT_EQ(reporter.messages[1].rfind("Can't save the screen!\n", 0), 0u);
}

TEST_F(CaptureCase, WindowWithoutAreaCannotBeSaved)
{
    QWidget empty;
    ScreenCapture none {empty, reporter};
    none.askPath = [this](const QString&) { return std::optional<QString>(Path("x.png")); };
    empty.resize(0, 0);
    EXPECT_TRUE(none.Capture().isNull());
    EXPECT_FALSE(none.Run({}));
    EXPECT_EQ(reporter.messages, std::vector<std::string> {"Can't save the screen!"});
    EXPECT_EQ(reporter.icons, std::vector<MessageIcon> {MessageIcon::None}); // a plain box
    EXPECT_FALSE(QFile::exists(Path("x.png")));
}

} // namespace
} // namespace velmaris
