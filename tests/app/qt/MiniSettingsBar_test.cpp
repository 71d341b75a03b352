#include "app/CMiniSettingsBar.h"
#include "app/CUpDown.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace velmaris {
namespace {

TEST(MiniSettingsBar, SixFieldsWithLabelsValuesAndSpins)
{
    CMiniSettingsBar bar;
    const std::vector<std::tuple<QString, QString, int, int>> fields {{"Range", "Range:", 1049, 1050},
        {"Gain", "Gain:", 1051, 1052}, {"Sector", "Sector:", 1053, 1054}, {"Train", "Train:", 1055, 1056},
        {"Speed", "Speed:", 1057, 1058}, {"Mode", "Mode:", 1059, 1060}};
    int lastX = -1;
    for (const auto& [stem, label, valueId, spinId] : fields) {
        auto* labelWidget = bar.findChild<QLabel*>("mini" + stem + "Label");
        auto* value = bar.findChild<QLineEdit*>("mini" + stem + "Value");
        auto* spin = bar.findChild<CUpDown*>("mini" + stem + "Spin");
        ASSERT_NE(labelWidget, nullptr) << stem.toStdString();
        ASSERT_NE(value, nullptr);
        ASSERT_NE(spin, nullptr);
        EXPECT_EQ(labelWidget->text(), label);
        EXPECT_TRUE(value->isReadOnly());
        EXPECT_EQ(bar.ValueField(valueId), value);
        EXPECT_EQ(bar.Spin(spinId), spin);
        EXPECT_EQ(value->property("controlId").toInt(), valueId);
        EXPECT_EQ(spin->property("controlId").toInt(), spinId);
        // Left to right in the table's order.
        bar.resize(bar.sizeHint());
        bar.show();
        EXPECT_GT(labelWidget->x(), lastX);
        lastX = spin->x();
    }
}

TEST(MiniSettingsBar, SettersByIdSkipUnknownControls)
{
    CMiniSettingsBar bar;
    EXPECT_TRUE(bar.SetFieldText(1049, "600 ft"));
    EXPECT_EQ(bar.ValueField(1049)->text(), "600 ft");
    EXPECT_TRUE(bar.SetSpinRange(1050, 0, 14));
    EXPECT_TRUE(bar.SetSpinPosition(1050, 20));
    EXPECT_EQ(bar.Spin(1050)->Position(), 14);
    EXPECT_FALSE(bar.SetFieldText(1050, "spin is no field"));
    EXPECT_FALSE(bar.SetSpinRange(1049, 0, 1));
    EXPECT_FALSE(bar.SetSpinPosition(9999, 1));
    EXPECT_EQ(bar.ValueField(1062), nullptr);
}

TEST(MiniSettingsBar, SpinClicksReportTheirIdAndStep)
{
    CMiniSettingsBar bar;
    bar.show();
    QSignalSpy deltas(&bar, &CMiniSettingsBar::spinDelta);
    QSignalSpy released(&bar, &CMiniSettingsBar::rangeSpinReleased);
    QTest::mouseClick(bar.Spin(1054)->UpButton(), Qt::LeftButton);
    QTest::mouseClick(bar.Spin(1056)->DownButton(), Qt::LeftButton);
    ASSERT_EQ(deltas.count(), 2);
    EXPECT_EQ(deltas[0][0].toInt(), 1054);
    EXPECT_EQ(deltas[0][1].toInt(), 1);
    EXPECT_EQ(deltas[1][0].toInt(), 1056);
    EXPECT_EQ(deltas[1][1].toInt(), -1);
    EXPECT_EQ(released.count(), 0); // only the range spin reports a release

    bar.SetSpinRange(1050, 0, 14);
    bar.SetSpinPosition(1050, 14);
    QTest::mouseClick(bar.Spin(1050)->UpButton(), Qt::LeftButton);
    EXPECT_EQ(released.count(), 1);
    // At its bound the step is still reported; the position stays.
    EXPECT_EQ(deltas.count(), 3);
    EXPECT_EQ(bar.Spin(1050)->Position(), 14);
}

TEST(UpDown, PositionStaysInsideTheRangeEitherWayRound)
{
    CUpDown spin;
    spin.SetRange(0, 12);
    spin.SetPosition(12);
    spin.Step(+1);
    EXPECT_EQ(spin.Position(), 12);
    spin.SetPosition(0);
    spin.Step(-1);
    EXPECT_EQ(spin.Position(), 0);
    spin.SetRange(5, 2);
    EXPECT_EQ(spin.Position(), 2);
    spin.SetPosition(9);
    EXPECT_EQ(spin.Position(), 5);
}

} // namespace
} // namespace velmaris
