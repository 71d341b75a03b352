#pragma once
// A settings file of its own per test: a fresh folder under the temporary
// directory, removed afterwards, with helpers to write, read, load and save.
#include "files/IniFile.h"
#include "files/SettingsFile.h"
#include "protocol/CommandMessage.h"
#include "protocol/PingRecord.h"
#include "protocol/SonarSettings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace velmaris {

namespace fs = std::filesystem;

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path()
            / ("velmaris-ini-" + std::to_string(getpid()) + "-"
                + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        path_ = (dir_ / kIniFileName).string();
        InitialiseCommandMessage(command_, settings_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    void WriteIni(const std::string& text)
    {
        std::ofstream out(path_, std::ios::binary);
        out << text;
    }
    // The file as written, its line ends as LF whatever the platform writes.
    std::string ReadIni() const
    {
        std::ifstream in(path_, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        std::string text = ss.str();
        const std::string lineEnd = IniFile::LineEnd();
        if (lineEnd != "\n")
            for (auto at = text.find(lineEnd); at != std::string::npos; at = text.find(lineEnd, at + 1))
                text.replace(at, lineEnd.size(), "\n");
        return text;
    }
    void Load(bool playback = false) { LoadSettingsFile(path_, settings_, command_, ping_, {playback}); }
    bool Save(bool playback = false) { return SaveSettingsFile(path_, settings_, command_, {playback}); }

    fs::path dir_;
    std::string path_;
    SonarSettings settings_;
    CommandMessage command_;
    PingRecord ping_;
};

} // namespace velmaris
