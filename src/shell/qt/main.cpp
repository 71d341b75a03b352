// The station program.

#include "shell/qt/CVelmarisApp.h"
#include "shell/qt/StationArguments.h"

#include <QApplication>

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    using namespace velmaris;
    const StationCommandLine line = ParseStationCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!line.error.empty()) {
        std::fprintf(stderr, "velmaris: %s\n%s  'velmaris --help' lists the options\n", line.error.c_str(),
            StationUsageLine().c_str());
        return 2;
    }
    if (line.help) {
        std::fputs(StationUsage().c_str(), stdout);
        return 0;
    }
    if (line.version) {
        std::printf("velmaris %s\n", VELMARIS_VERSION);
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmaris"));
    CVelmarisApp station(line, argv[0]);
    if (!station.Start())
        return 1;
    return QApplication::exec();
}
