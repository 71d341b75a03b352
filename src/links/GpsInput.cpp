#include "links/GpsInput.h"

namespace velmaris {

std::string GpsNotAvailableMessage(int comPort)
{
    return "COM" + std::to_string(comPort)
        + " is not available. \nPlease choose another COM Port for GPS input!   ";
}

std::string GpsStatusLine(const GpsTexts& t)
{
    return "GPS " + t.time + " " + t.date + "  " + t.latitude + "  " + t.longitude + "  " + t.speed + "  "
        + t.course;
}

std::vector<std::pair<std::string, std::string>> GpsDiagnosticsLines(const GpsTexts& t)
{
    return {{"GPS Time", t.time}, {"GPS Date", t.date}, {"Latitude", t.latitude}, {"Longitude", t.longitude},
        {"Speed", t.speed}, {"Course", t.course}};
}

} // namespace velmaris
