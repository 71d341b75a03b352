// The station's reporter: a message reported from inside a handler opens its
// box only after the handler has returned, boxes come one at a time in the
// order reported, and the shutdown closes them all.

#include "shell/qt/QtReporter.h"
#include "support/SpinUntil.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QHostAddress>
#include <QMessageBox>
#include <QNetworkDatagram>
#include <QTimer>
#include <QUdpSocket>

namespace velmaris {
namespace {

QMessageBox* ModalBox()
{
    return qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
}

void PressOk(QMessageBox* box)
{
    ASSERT_NE(box, nullptr);
    box->button(QMessageBox::Ok)->click();
}

TEST(QtReporter, AReportFromASocketsReadableHandlerOpensItsBoxAfterTheHandlerReturns)
{
    QtReporter reporter;
    QUdpSocket socket;
    ASSERT_TRUE(socket.bind(QHostAddress::LocalHost, 0));
    bool insideHandler = false;
    int handled = 0;
    bool boxSeenInsideHandler = false;
    QObject::connect(&socket, &QUdpSocket::readyRead, &socket, [&] {
        while (socket.hasPendingDatagrams())
            socket.receiveDatagram();
        ++handled;
        insideHandler = true;
        // Should the box run its own event loop in here, this timer finds
        // it while the handler is still on the stack, and ends it.
        QTimer::singleShot(0, [&] {
            if (QMessageBox* box = ModalBox()) {
                boxSeenInsideHandler = insideHandler;
                if (insideHandler)
                    box->done(QMessageBox::Ok);
            }
        });
        reporter.ShowMessage("Recording stopped");
        EXPECT_EQ(ModalBox(), nullptr);
        insideHandler = false;
    });
    QUdpSocket sender;
    sender.writeDatagram("x", 1, QHostAddress::LocalHost, socket.localPort());
    const bool shown = SpinUntil([&] { return handled > 0 && ModalBox() != nullptr; }, 5000);
    EXPECT_FALSE(boxSeenInsideHandler) << "the box ran its loop inside the socket's handler";
    ASSERT_TRUE(shown);
    EXPECT_EQ(handled, 1);
    QMessageBox* box = ModalBox();
    EXPECT_EQ(box, reporter.Showing());
    EXPECT_EQ(box->text(), QStringLiteral("Recording stopped"));
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Velmaris"));
    EXPECT_TRUE(box->isVisible());
    PressOk(box);
    EXPECT_TRUE(SpinUntil([&] { return ModalBox() == nullptr && reporter.Showing() == nullptr; }, 2000));
}

TEST(QtReporter, BoxesComeOneAtATimeInOrderWithTheirIconsUntilCloseAllDropsTheRest)
{
    QtReporter reporter;
    reporter.ShowMessage("first");
    reporter.ShowMessage("second", MessageIcon::Exclamation);
    reporter.ShowMessage("third");
    EXPECT_EQ(reporter.Showing(), nullptr);
    ASSERT_TRUE(SpinUntil([&] { return ModalBox() != nullptr; }, 2000));
    EXPECT_EQ(ModalBox()->text(), QStringLiteral("first"));
    EXPECT_EQ(ModalBox()->icon(), QMessageBox::NoIcon); // a plain box
    // While the first is open the others wait, however long the loop runs.
    EXPECT_FALSE(SpinUntil([&] { return ModalBox()->text() != QStringLiteral("first"); }, 100));
    EXPECT_EQ(reporter.Waiting(), 2u);
    PressOk(ModalBox());
    ASSERT_TRUE(SpinUntil([&] { return ModalBox() != nullptr && ModalBox()->text() == "second"; }, 2000));
    EXPECT_EQ(ModalBox()->icon(), QMessageBox::Warning); // the exclamation
    EXPECT_EQ(reporter.Waiting(), 1u);

    reporter.CloseAll();
    reporter.ShowMessage("after the shutdown began");
    EXPECT_EQ(reporter.Showing(), nullptr);
    EXPECT_EQ(reporter.Waiting(), 0u);
    EXPECT_FALSE(SpinUntil([&] { return ModalBox() != nullptr; }, 100));
}

} // namespace
} // namespace velmaris
