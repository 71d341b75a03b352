// The station program. For now it shows the main frame over a stand-in
// command target that only remembers check marks, so menus, toolbar, bars
// and hot keys can be tried; the document takes its place at start-up later.
#include "app/CMainFrame.h"
#include "document/CommandIds.h"
#include "document/MenuTree.h"

#include <QApplication>
#include <QStatusBar>
#include <set>

namespace {

using namespace velmaris;

// Commands whose check marks form a group (one checked at a time).
const std::vector<std::pair<int, int>> kGroups {{cmd::kColorTableFirst, cmd::kColorTableLast},
    {cmd::kZoomFirst, cmd::kZoomLast}, {cmd::kProfileFirst, cmd::kProfileLast},
    {cmd::kPointSizeFirst, cmd::kPointSizeLast}, {cmd::kModePolar, cmd::kModeSideScan},
    {cmd::kGridNone, cmd::kGridPolar}, {cmd::kUnitsMeters, cmd::kUnitsFeet},
    {cmd::kOrientationUp, cmd::kOrientationDown}, {cmd::kSonarTypeK52A, cmd::kSonarTypeK52L}};

class StandInTarget : public CommandTarget {
public:
    StandInTarget()
        : m_checked {cmd::kColorTableFirst, cmd::kZoom100, cmd::kProfileFirst, cmd::kPointSizeFirst,
            cmd::kModePolar, cmd::kGridNone, cmd::kUnitsMeters, cmd::kOrientationDown, cmd::kSonarTypeK52A}
    { }
    bool IsEnabled(int) const override { return true; }
    bool IsChecked(int id) const override { return m_checked.count(id) != 0; }
    void Execute(int id) override
    {
        if (!HasCheckRule(id))
            return;
        for (const auto& [first, last] : kGroups) {
            if (id >= first && id <= last) {
                for (int other = first; other <= last; ++other)
                    m_checked.erase(other);
                m_checked.insert(id);
                return;
            }
        }
        if (!m_checked.erase(id))
            m_checked.insert(id);
    }

private:
    std::set<int> m_checked;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmaris"));
    StandInTarget target;
    CMainFrame frame(target);
    frame.SetTitleSource([] {
        TitleState state;
        state.hasDocument = true;
        return state;
    });
    frame.ApplyModeBars(OperatingMode::RealTime);
    frame.showMaximized();
    frame.UpdateWindowTitle();
    return QApplication::exec();
}
