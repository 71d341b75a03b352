#pragma once
// The whole station in-process against a fast simulated K52L head on
// loopback: a fresh folder with the test's INI, the head on a free port
// (VELMARIS_HEAD_PORT), UDP on a free port, then CVelmarisApp started on
// that INI. Stop() (also run by the destructor) closes the frame, ends the
// head, clears the environment and removes the folder.
// User-interface thread only.
#include "shell/StationCommandLine.h"
#include "shell/qt/CMainFrame.h"
#include "shell/qt/CVelmarisApp.h"
#include "sim/TcpHeadServer.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace velmaris::test {

class LiveStation {
public:
    ~LiveStation() { Stop(); }

    // Makes the empty folder "velmaris-<tag>-<pid>" under the temporary
    // directory; call before writing an INI that names the folder.
    const std::filesystem::path& MakeFolder(const std::string& tag)
    {
        dir = std::filesystem::temp_directory_path() / ("velmaris-" + tag + "-" + std::to_string(getpid()));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        ini = dir / "Velmaris.INI";
        return dir;
    }

    // Writes `iniText` as the folder's Velmaris.INI, starts the head and the
    // station (`line` with its iniPath set to that file). False with `error`
    // set when either does not start.
    bool Start(const std::string& iniText, StationCommandLine line, std::string* error)
    {
        std::ofstream(ini) << iniText;
        sim::TcpHeadOptions options;
        options.address = "127.0.0.1:0";
        options.fast = true;
        head = std::make_unique<sim::TcpHeadServer>(options);
        if (!head->Start(error))
            return false;
        setenv("VELMARIS_HEAD_PORT", std::to_string(head->Port()).c_str(), 1);
        setenv("VELMARIS_UDP_PORT", "0", 1);
        line.iniPath = ini.string();
        app = std::make_unique<CVelmarisApp>(line, (dir / "velmaris").string());
        if (!app->Start()) {
            *error = "the station did not start";
            return false;
        }
        return true;
    }

    void Stop()
    {
        if (app && app->Frame())
            app->Frame()->close();
        app.reset();
        head.reset();
        unsetenv("VELMARIS_HEAD_PORT");
        unsetenv("VELMARIS_UDP_PORT");
        if (!dir.empty())
            std::filesystem::remove_all(dir);
    }

    std::filesystem::path dir;
    std::filesystem::path ini;
    std::unique_ptr<sim::TcpHeadServer> head;
    std::unique_ptr<CVelmarisApp> app;
};

} // namespace velmaris::test
