// Ending the station whatever window is open: a request made inside nested
// modal dialogs ends them all and tears down once, from the outermost event
// loop, after every handler underneath has returned.

#include "shell/qt/ShutdownRequest.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

namespace velmaris {
namespace {

int LoopLevel()
{
    return QThread::currentThread()->loopLevel();
}

// A dialog that will not be ended by anyone but itself.
class StubbornDialog final : public QDialog {
public:
    void done(int) override { }
};

struct Outcome {
    int teardowns = 0;
    int reportEnds = 0;
    int teardownLoopLevel = -1;
    std::vector<int> dialogResults; // innermost first, as each exec returned
    bool dialogsReturnedBeforeTeardown = false;
};

// Runs `scenario` from the program's own event loop, as the station does,
// and returns when it ended (or after 5 s). Closing the dialogs must not
// end the loop by itself.
void RunInProgramLoop(const std::function<void()>& scenario)
{
    const bool quitOnClose = QApplication::quitOnLastWindowClosed();
    QApplication::setQuitOnLastWindowClosed(false);
    QTimer start;
    start.setSingleShot(true);
    QObject::connect(&start, &QTimer::timeout, scenario);
    start.start(0);
    QTimer failSafe;
    failSafe.setSingleShot(true);
    QObject::connect(&failSafe, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    failSafe.start(5000);
    QApplication::exec();
    QApplication::setQuitOnLastWindowClosed(quitOnClose);
}

TEST(ShutdownRequest, EndsNestedDialogsThenTearsDownOnceFromTheOutermostLoop)
{
    Outcome outcome;
    ShutdownRequest request([&] { ++outcome.reportEnds; },
        [&] {
            ++outcome.teardowns;
            outcome.teardownLoopLevel = LoopLevel();
            outcome.dialogsReturnedBeforeTeardown = outcome.dialogResults.size() == 2;
            QCoreApplication::exit(0);
        });
    QElapsedTimer clock;
    RunInProgramLoop([&] {
        QDialog outer;
        QTimer::singleShot(0, &outer, [&] {
            QDialog inner;
            // The request arrives inside both dialogs' loops, twice.
            QTimer::singleShot(0, &inner, [&] {
                clock.start();
                request.Request();
                request.Request();
            });
            outcome.dialogResults.push_back(inner.exec());
        });
        outcome.dialogResults.push_back(outer.exec());
    });
    EXPECT_EQ(outcome.teardowns, 1);
    EXPECT_EQ(outcome.teardownLoopLevel, 1);
    EXPECT_TRUE(outcome.dialogsReturnedBeforeTeardown);
    EXPECT_EQ(outcome.dialogResults, (std::vector<int> {QDialog::Rejected, QDialog::Rejected}));
    EXPECT_GE(outcome.reportEnds, 1);
    EXPECT_LT(clock.elapsed(), ShutdownRequest::kGiveUpMs);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(request.TornDown());
}

TEST(ShutdownRequest, ADialogThatWillNotEndStillLetsTheProgramLoopReturn)
{
    Outcome outcome;
    ShutdownRequest request([&] { ++outcome.reportEnds; }, [&] { ++outcome.teardowns; });
    int returned = -2;
    QElapsedTimer clock;
    RunInProgramLoop([&] {
        StubbornDialog dialog;
        QTimer::singleShot(0, &dialog, [&] {
            clock.start();
            request.Request();
        });
        returned = dialog.exec(); // ended by the exit of every loop
        outcome.dialogResults.push_back(returned);
    });
    // The owner tears down once the program's loop has returned.
    EXPECT_EQ(outcome.teardowns, 0);
    EXPECT_EQ(outcome.dialogResults.size(), 1u);
    EXPECT_GE(clock.elapsed(), ShutdownRequest::kGiveUpMs);
    EXPECT_LT(clock.elapsed(), 3000);
}

} // namespace
} // namespace velmaris
