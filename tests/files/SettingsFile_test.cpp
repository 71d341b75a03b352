#include "files/SettingsFile.h"
#include "protocol/CommandMessage.h"
#include "protocol/PingRecord.h"
#include "protocol/SonarSettings.h"
#include "support/SettingsFileFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace velmaris {
namespace {

TEST_F(SettingsFileTest, MissingFileGivesTheFactoryStart)
{
    Load();
    EXPECT_EQ(command_[CommandMessage::kRange], 30);
    EXPECT_EQ(settings_.rangeIndex, 7);
    EXPECT_EQ(settings_.gain, 6);
    EXPECT_EQ(command_[CommandMessage::kGain], 6);
    EXPECT_EQ(settings_.sectorMode, DisplayMode::Polar);
    EXPECT_EQ(command_[CommandMessage::kSectorWidth], 120);
    EXPECT_EQ(command_[CommandMessage::kStep], kStepFast);
    EXPECT_EQ(settings_.autoSettings, 1);
    EXPECT_EQ(command_[CommandMessage::kFrequency], 100); // automatic row of 30 m
    EXPECT_EQ(command_[CommandMessage::kPulseLength], 8);
    EXPECT_DOUBLE_EQ(settings_.speedOfSound, 1500.0);
    EXPECT_EQ(settings_.metricScale, 0);
    EXPECT_EQ(settings_.grid, 1);
    EXPECT_EQ(settings_.viewRangeMark, 1);
    EXPECT_EQ(settings_.playbackSpeed, 6);
    EXPECT_EQ(settings_.ipAddress, "192.168.0.5");
    EXPECT_EQ(settings_.sonarComPort, 1);
    EXPECT_EQ(settings_.gpsComPort, 3);
    EXPECT_EQ(settings_.gpsComPortBaud, 4800);
    EXPECT_EQ(settings_.trainAngleDegrees, 0);
}

TEST_F(SettingsFileTest, LimitsAppliedOnLoad)
{
    WriteIni("[System Settings]\nSpeed of Sound=1399\nPlayback Speed=20\nUseGPS=1\n"
             "[Sonar Settings]\nSector Mode=3\nRange Index=15\n");
    Load();
    EXPECT_DOUBLE_EQ(settings_.speedOfSound, 1500.0);
    EXPECT_EQ(settings_.playbackSpeed, 12);
    EXPECT_EQ(settings_.useGps, 0);
    EXPECT_EQ(settings_.sectorMode, DisplayMode::Sector);
    EXPECT_EQ(command_[CommandMessage::kSectorWidth], 60); // Sector mode's width
    EXPECT_EQ(settings_.rangeIndex, 7);

    WriteIni("[System Settings]\nSpeed of Sound=1600\nPlayback Speed=-3\n");
    Load();
    EXPECT_DOUBLE_EQ(settings_.speedOfSound, 1600.0);
    EXPECT_EQ(settings_.playbackSpeed, 0);
}

TEST_F(SettingsFileTest, PlainDecimalConversionAndEightBitFields)
{
    WriteIni("[System Settings]\nGrid=2abc\nColorTable=x5\nZoom= 1.75\n"
             "[Sonar Settings]\nGain=300\nRange Index=263\nTrain SS=  45\nSector Mode=2\n");
    Load();
    EXPECT_EQ(settings_.grid, 2);
    EXPECT_EQ(settings_.colorTable, 0);
    EXPECT_DOUBLE_EQ(settings_.zoom, 1.75);
    EXPECT_EQ(settings_.gain, 6); // 300 & 0xFF = 44 is above 40: the default
    EXPECT_EQ(settings_.rangeIndex, 7); // 263 & 0xFF = 7
    EXPECT_EQ(command_[CommandMessage::kTrain], 45);
    EXPECT_EQ(command_[CommandMessage::kSectorWidth], 0); // side-scan: width 0, step 0
    EXPECT_EQ(command_[CommandMessage::kStep], kStepNone);
}

TEST_F(SettingsFileTest, ManualFrequencyGoesToSavedCopiesOnly)
{
    WriteIni("[Sonar Settings]\nAuto Settings=0\nFrequency=150\nPulse Length=44\nAbsorption=77\n");
    Load();
    EXPECT_EQ(settings_.frequency, 150);
    EXPECT_EQ(settings_.pulseLength, 44);
    EXPECT_EQ(settings_.absorption, 77);
    EXPECT_EQ(command_[CommandMessage::kFrequency], 165); // unchanged from initialisation
    EXPECT_EQ(command_[CommandMessage::kPulseLength], 10);
}

TEST_F(SettingsFileTest, RoundTripKeepsEveryValue)
{
    settings_.rotateImage = 12.5;
    settings_.speedOfSound = 1487.3;
    settings_.zoom = 1.25;
    settings_.sonarType = SonarType::EthernetK52L;
    settings_.ipAddress = "127.0.0.1";
    settings_.colorTable = 4;
    settings_.profileDispMode = 3;
    settings_.trainSector = 50;
    settings_.sectorWidthSector = 40;
    settings_.sectorMode = DisplayMode::Sector;
    settings_.sonarUpDown = 1;
    command_[CommandMessage::kRange] = 100;
    settings_.rangeIndex = 12;
    settings_.gain = 33;
    ASSERT_TRUE(Save());

    SonarSettings loaded;
    CommandMessage command;
    PingRecord ping;
    InitialiseCommandMessage(command, loaded);
    LoadSettingsFile(path_, loaded, command, ping, {});
    EXPECT_DOUBLE_EQ(loaded.rotateImage, 12.5);
    EXPECT_DOUBLE_EQ(loaded.speedOfSound, 1487.3);
    EXPECT_DOUBLE_EQ(loaded.zoom, 1.25);
    EXPECT_EQ(loaded.sonarType, SonarType::EthernetK52L);
    EXPECT_EQ(loaded.ipAddress, "127.0.0.1");
    EXPECT_EQ(loaded.colorTable, 4);
    EXPECT_DOUBLE_EQ(loaded.profileMixWeight, 0.5);
    EXPECT_EQ(loaded.sectorMode, DisplayMode::Sector);
    EXPECT_EQ(command[CommandMessage::kTrain], 50);
    EXPECT_EQ(command[CommandMessage::kSectorWidth], 40);
    EXPECT_EQ(command[CommandMessage::kRange], 100);
    EXPECT_EQ(loaded.rangeIndex, 12);
    EXPECT_EQ(command[CommandMessage::kGain], 33);
    EXPECT_EQ(loaded.sonarUpDown, 1);

    const std::string text = ReadIni();
    EXPECT_NE(text.find("Sonar Up/Down=1\n"), std::string::npos);
    EXPECT_NE(text.find("Speed of Sound=1487.3\n"), std::string::npos);
    EXPECT_NE(text.find("Zoom=1.25\n"), std::string::npos);
    EXPECT_NE(text.find("Rotate Image=12.5\n"), std::string::npos);
    EXPECT_NE(text.find("SonarComPortBaud=115200\n"), std::string::npos);
}

TEST_F(SettingsFileTest, SavingDuringPlaybackLeavesHeadSettingsAndRotation)
{
    WriteIni("[System Settings]\nRotate Image=33.0\n[Sonar Settings]\nGain=11\nRange=40\n");
    settings_.rotateImage = 90.0;
    settings_.gain = 25;
    settings_.grid = 2;
    ASSERT_TRUE(Save(/*playback=*/true));
    const std::string text = ReadIni();
    EXPECT_NE(text.find("Rotate Image=33.0"), std::string::npos);
    EXPECT_NE(text.find("Gain=11"), std::string::npos);
    EXPECT_NE(text.find("Range=40"), std::string::npos);
    EXPECT_NE(text.find("Grid=2"), std::string::npos);

    // Loading during playback reads the system settings only.
    settings_.gain = 1;
    Load(/*playback=*/true);
    EXPECT_EQ(settings_.gain, 1);
    EXPECT_DOUBLE_EQ(settings_.rotateImage, 33.0);
}

TEST_F(SettingsFileTest, HandEditedCrlfFileWithExtraKeysLoadsAndKeepsThem)
{
    WriteIni(
        "; written by hand\r\n[System Settings]\r\nGrid=0\r\nMy Own Key=keep me\r\n"
        "[Sonar Settings]\r\nsonar up/down=1\r\nGain=12\r\n\r\n[Serial Devices]\r\nCOM5=/dev/ttyUSB0\r\n");
    Load();
    EXPECT_EQ(settings_.grid, 0);
    EXPECT_EQ(settings_.sonarUpDown, 1); // names match regardless of case
    EXPECT_EQ(settings_.gain, 12);
    ASSERT_TRUE(Save());
    const std::string text = ReadIni();
    EXPECT_NE(text.find("My Own Key=keep me"), std::string::npos);
    EXPECT_NE(text.find("COM5=/dev/ttyUSB0"), std::string::npos);
    EXPECT_EQ(text.find("Sonar Up/Down=", 0), std::string::npos); // the existing spelling is kept
    EXPECT_NE(text.find("sonar up/down=1"), std::string::npos);
}

TEST_F(SettingsFileTest, ZeroDownStartsTheHeadAngleAt180)
{
    WriteIni("[System Settings]\nZero Down=1\n");
    Load();
    EXPECT_DOUBLE_EQ(ping_.headAngle, 180.0);
}

TEST_F(SettingsFileTest, SaveIntoMissingFolderFailsAndLeavesNothing)
{
    path_ = (dir_ / "no-such-folder" / kIniFileName).string();
    EXPECT_FALSE(Save());
    EXPECT_FALSE(fs::exists(path_));
}

TEST_F(SettingsFileTest, SaveReplacesAtomicallyWithoutLeftovers)
{
    WriteIni("[System Settings]\nGrid=0\n");
    ASSERT_TRUE(Save());
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir_))
        ++files;
    EXPECT_EQ(files, 1);
}

// Every field away from its default, so every key writes a text of its own.
void FillEverySetting(SonarSettings& s, CommandMessage& c)
{
    s.range = 80;
    c[CommandMessage::kRange] = 80;
    s.rangeIndex = 11;
    s.gain = 27;
    s.sonarUpDown = 1;
    s.sectorMode = DisplayMode::Sector;
    s.sectorWidthSector = 41;
    s.sectorWidthPolar = 99;
    s.trainSector = 55;
    s.trainPolar = 66;
    s.trainSS = 33;
    s.stepSize = kStepFaster;
    s.autoSettings = 0;
    s.frequency = 150;
    s.absorption = 77;
    s.pulseLength = 44;
    s.sonarType = SonarType::EthernetK52L;
    s.udpMode = true;
    s.ipAddress = "127.0.0.9";
    s.sonarComPort = 7;
    s.sonarComPortBaud = 57600;
    s.rts = 2;
    s.readFileDirectory = "/tmp/r dir/";
    s.writeFileDirectory = "/tmp/w/";
    s.autoSaveFileName = 1;
    s.openFileFilterIndex = 2;
    s.colorTable = 5;
    s.speedOfSound = 1487.25; // "%.1f" rounds half to even: 1487.2
    s.metricScale = 1;
    s.viewRangeMark = 0;
    s.grid = 2;
    s.playbackSpeed = 11;
    s.diagnosticsVisible = 1;
    s.settingsDlgVisible = 1;
    s.useGps = 1;
    s.gpsComPort = 9;
    s.gpsComPortBaud = 9600;
    s.profileDispMode = 4;
    s.profilePointSize = 2;
    s.zeroDown = 1;
    s.rotateImage = -12.34;
    s.zoom = 1.875;
}

const char* const kHandWritten = "; by hand\r\n[System Settings]\r\nGrid=0\r\nMy Own Key=keep me\r\n"
                                 "[Sonar Settings]\r\nsonar up/down=0\r\nGain=12\r\n\r\n"
                                 "[Serial Devices]\r\nCOM5=/dev/ttyUSB0\r\n";

// The bytes the station has always written for this file and these settings.
TEST_F(SettingsFileTest, FullSettingsSetSavesTheSameBytesAsEver)
{
    FillEverySetting(settings_, command_);
    WriteIni(kHandWritten);
    ASSERT_TRUE(Save());
    EXPECT_EQ(ReadIni(), R"ini(; by hand


[System Settings]
Grid=2
My Own Key=keep me
Rotate Image=-12.3
UDP Mode=1
Sonar Type=1
IP Address=127.0.0.9
SonarComPort=7
SonarComPortBaud=57600
RTS=2
Read File Directory=/tmp/r dir/
Write File Directory=/tmp/w/
AutoSaveFileName=1
OpenFileFilterIndex=2
ColorTable=5
Speed of Sound=1487.2
Metric Scale=1
ViewRangeMark=0
Playback Speed=11
Diagnostics Visible=1
SettingsDlgVisible=1
UseGPS=1
GPSComPort=9
GPSComPortBaud=9600
ProfileDispMode=4
Profile Point Size=2
Zero Down=1
Zoom=1.88


[Sonar Settings]
sonar up/down=1
Gain=27
Range=80
Range Index=11
Train Polar=66
Train Sector=55
Train SS=33
SectorWidth Polar=99
SectorWidth Sector=41
Step Size=4
Sector Mode=0
Auto Settings=0
Frequency=150
Pulse Length=44
Absorption=77


[Serial Devices]
COM5=/dev/ttyUSB0


[Antenna Offsets]
Head Forward=0.00
Head Starboard=0.00
Head Zero To Bow=0.00
)ini");

    WriteIni(kHandWritten);
    ASSERT_TRUE(Save(/*playback=*/true));
    EXPECT_EQ(ReadIni(), R"ini(; by hand


[System Settings]
Grid=2
My Own Key=keep me
UDP Mode=1
Sonar Type=1
IP Address=127.0.0.9
SonarComPort=7
SonarComPortBaud=57600
RTS=2
Read File Directory=/tmp/r dir/
Write File Directory=/tmp/w/
AutoSaveFileName=1
OpenFileFilterIndex=2
ColorTable=5
Speed of Sound=1487.2
Metric Scale=1
ViewRangeMark=0
Playback Speed=11
Diagnostics Visible=1
SettingsDlgVisible=1
UseGPS=1
GPSComPort=9
GPSComPortBaud=9600
ProfileDispMode=4
Profile Point Size=2
Zero Down=1
Zoom=1.88


[Sonar Settings]
sonar up/down=0
Gain=12


[Serial Devices]
COM5=/dev/ttyUSB0


[Antenna Offsets]
Head Forward=0.00
Head Starboard=0.00
Head Zero To Bow=0.00
)ini");
}

} // namespace
} // namespace velmaris
