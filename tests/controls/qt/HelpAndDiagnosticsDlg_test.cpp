// The diagnostics window's widget (texts, no repaint when nothing changed,
// extra lines), the hot-keys list and the about box.

#include "controls/HelpTexts.h"
#include "controls/qt/CAboutDlg.h"
#include "controls/qt/CDiagDlg.h"
#include "controls/qt/CHelpDlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTreeWidget>

namespace velmaris {
namespace {

// Counts the paint events of the watched widgets.
struct PaintCounter : QObject {
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    int paints = 0;
};

DiagnosticsInput LiveInput()
{
    DiagnosticsInput in;
    in.header = "IGX";
    in.headId = 0x10;
    in.status = 1;
    in.replyRangeMetres = 30;
    in.gain = 6;
    in.sectorMode = DisplayMode::Polar;
    in.sectorWidth = 120;
    in.step = kStepFast;
    in.headPosition = 600;
    in.dataBytes = 500;
    in.frequency = 100;
    in.absorption = 20;
    in.pulseLength = 8;
    in.speedOfSound = 1500.0;
    in.comPort = 1;
    in.prfLoopMs = 54;
    in.loopTimeMs = 54;
    return in;
}

TEST(CDiagDlgTest, ShowsTheLinesAndRepaintsNothingWhenNothingChanged)
{
    SonarSettings settings;
    CDiagDlg dialog(settings);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Diagnostics:"));
    for (int line = 0; line < kDiagLineCount; ++line)
        EXPECT_EQ(dialog.ValueText(line), QStringLiteral(":   n/a"));
    const auto labels = dialog.findChildren<QLabel*>();
    EXPECT_TRUE(
        std::any_of(labels.begin(), labels.end(), [](QLabel* l) { return l->text() == "IP Adress"; }));

    dialog.show();
    dialog.Refresh(LiveInput());
    EXPECT_EQ(dialog.ValueText(kDiagHeader), QStringLiteral(":   IGX"));
    EXPECT_EQ(dialog.ValueText(kDiagSectorSize), QStringLiteral(":   360 deg."));
    EXPECT_EQ(dialog.ValueText(kDiagComPort), QStringLiteral(":   COM1"));
    QApplication::processEvents();

    PaintCounter counter;
    for (QLabel* label : labels)
        label->installEventFilter(&counter);
    for (int i = 0; i < 5; ++i) {
        dialog.Refresh(LiveInput());
        QApplication::processEvents();
    }
    EXPECT_EQ(counter.paints, 0);

    DiagnosticsInput moved = LiveInput();
    moved.headPosition = 603;
    dialog.Refresh(moved);
    QApplication::processEvents();
    EXPECT_EQ(dialog.ValueText(kDiagHeadPos), QStringLiteral(":   603 "));
    EXPECT_GT(counter.paints, 0);
}

TEST(CDiagDlgTest, ExtraLinesAppearBelowTheTwentyAndCloseClearsTheFlag)
{
    SonarSettings settings;
    settings.diagnosticsVisible = 1;
    CDiagDlg dialog(settings);
    dialog.SetExtraLines({{"Latitude", ":   n/a"}, {"Longitude", ":   n/a"}});
    EXPECT_EQ(dialog.ValueText(kDiagLineCount + 1), QStringLiteral(":   n/a"));
    dialog.SetExtraLines({{"Latitude", ":   4807.038,N"}});
    EXPECT_EQ(dialog.ValueText(kDiagLineCount), QStringLiteral(":   4807.038,N"));
    EXPECT_EQ(dialog.ValueText(kDiagLineCount + 1), QString());

    dialog.show();
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(settings.diagnosticsVisible, 0);
}

TEST(CDiagDlgTest, DroppedRowAppearsBetweenTheTwentyAndTheExtraLines)
{
    SonarSettings settings;
    CDiagDlg dialog(settings);
    dialog.SetExtraLines({{"Latitude", ":   n/a"}});
    dialog.Refresh(LiveInput());
    EXPECT_EQ(dialog.DroppedText(), QString());
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("diagDropped")), nullptr);

    DiagnosticsInput flooded = LiveInput();
    flooded.droppedDatagrams = 1234;
    dialog.Refresh(flooded);
    EXPECT_EQ(dialog.DroppedText(), QStringLiteral(":   1234 datagrams"));
    auto* value = dialog.findChild<QLabel*>(QStringLiteral("diagDropped"));
    ASSERT_NE(value, nullptr);
    auto* grid = dialog.findChild<QGridLayout*>();
    ASSERT_NE(grid, nullptr);
    int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
    grid->getItemPosition(grid->indexOf(value), &row, &column, &rowSpan, &columnSpan);
    EXPECT_EQ(row, kDiagLineCount);
    const QLayoutItem* label = grid->itemAtPosition(kDiagLineCount, 0);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(qobject_cast<QLabel*>(label->widget())->text(), QStringLiteral("Dropped"));
    EXPECT_EQ(dialog.ValueText(kDiagLineCount), QStringLiteral(":   n/a")); // the extra line, below
}

TEST(CHelpDlgTest, ListsEveryHotKeyAndTheThirdColumnFollowsTheWidth)
{
    CHelpDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Hot Keys..."));
    QTreeWidget* list = dialog.List();
    ASSERT_EQ(list->topLevelItemCount(), 36);
    EXPECT_EQ(list->headerItem()->text(2), QStringLiteral("Discription"));
    EXPECT_FALSE(list->header()->sectionsClickable());
    for (int row = 0; row < 36; ++row) {
        const HotKeyRow& expected = kHotKeyRows[static_cast<std::size_t>(row)];
        const QTreeWidgetItem* item = list->topLevelItem(row);
        EXPECT_EQ(item->text(0), QString::fromLatin1(expected.command)) << row;
        EXPECT_EQ(item->text(1), QString::fromLatin1(expected.hotKey)) << row;
        EXPECT_EQ(item->text(2), QString::fromLatin1(expected.description)) << row;
    }
    EXPECT_EQ(list->topLevelItem(3)->text(2), QString(30, QLatin1Char('-')));
    EXPECT_EQ(list->topLevelItem(26)->text(2), QStringLiteral("Entries: 0 - 360 with increment of 3 "));
    EXPECT_EQ(list->topLevelItem(35)->text(0), QStringLiteral("Mouse LButton Drag"));

    dialog.show();
    const int commandWidth = list->columnWidth(0);
    const int keyWidth = list->columnWidth(1);
    EXPECT_GE(commandWidth, 130);
    EXPECT_GE(keyWidth, 70);
    // The description column's own need.
    const int longest = static_cast<const QAbstractItemView*>(list)->sizeHintForColumn(2);
    for (const int width : {900, 1000}) {
        dialog.resize(width, 400);
        QApplication::processEvents();
        EXPECT_EQ(list->columnWidth(0), commandWidth);
        EXPECT_EQ(list->columnWidth(1), keyWidth);
        EXPECT_EQ(list->columnWidth(2), dialog.width() - commandWidth - keyWidth - 5) << width;
    }
    // Narrower than the longest description: it keeps its width (the list scrolls).
    dialog.resize(420, 400);
    QApplication::processEvents();
    EXPECT_EQ(list->columnWidth(2), longest);
}

// Every text of the list fits its column whole: the column is at least the
// text's advance in the list's font plus the cell's margins.
void ExpectEveryTextFits(const CHelpDlg& dialog)
{
    const QTreeWidget* list = dialog.List();
    const QFontMetrics metrics(list->font());
    const int padding = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1);
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        for (int column = 0; column < 3; ++column) {
            const QString text = list->topLevelItem(row)->text(column);
            EXPECT_GE(list->columnWidth(column), metrics.horizontalAdvance(text) + padding)
                << "row " << row << " column " << column << " \"" << text.toStdString() << "\" at "
                << list->font().pointSizeF() << " pt";
        }
}

TEST(CHelpDlgTest, EveryTextShowsWholeAtAnyFont)
{
    for (const qreal points : {0.0, 7.0, 12.0, 16.0, 24.0}) {
        CHelpDlg dialog;
        if (points > 0) {
            QFont font = dialog.font();
            font.setPointSizeF(points);
            dialog.setFont(font); // as a desktop font would, after the window was built
        }
        dialog.show();
        QApplication::processEvents();
        ExpectEveryTextFits(dialog);
    }
    // Built with a large font already in force.
    const QFont before = QApplication::font();
    QFont large = before;
    large.setPointSizeF(20);
    QApplication::setFont(large);
    {
        CHelpDlg dialog;
        dialog.show();
        QApplication::processEvents();
        ExpectEveryTextFits(dialog);
    }
    QApplication::setFont(before);
}

TEST(CAboutDlgTest, TitleVersionLineAndPicture)
{
    CAboutDlg dialog(QStringLiteral(VELMARIS_SOURCE_DIR "/src/resources/images/about.svg"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Velmaris..."));
    EXPECT_EQ(dialog.VersionText(), QStringLiteral("Velmaris Version Beta 1.0.0.6  27_FEB_2013"));
    EXPECT_TRUE(dialog.PictureLoaded());
    // Drawn at twice the resolution, the picture is not blank.
    QWidget* picture = dialog.findChild<QWidget*>(QStringLiteral("aboutPicture"));
    ASSERT_NE(picture, nullptr);
    QImage image(picture->size() * 2, QImage::Format_ARGB32);
    image.setDevicePixelRatio(2.0);
    image.fill(Qt::transparent);
    picture->render(&image);
    EXPECT_NE(image.pixelColor(image.width() / 2, image.height() / 2).alpha(), 0);

    CAboutDlg missing(QStringLiteral("/nonexistent/about.svg"));
    EXPECT_FALSE(missing.PictureLoaded()); // the space stays empty, the box still opens
}

} // namespace
} // namespace velmaris
