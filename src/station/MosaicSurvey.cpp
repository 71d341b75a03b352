#include "station/MosaicSurvey.h"

#include "image/PaintPlans.h"
#include "image/PictureFormat.h"
#include "station/CursorPlaces.h"

#include <algorithm>
#include <cmath>

namespace velmaris {

namespace {

constexpr int kEdgePoints = 33; // points along each edge of the box transformed

// The samples' ranges along the ground: slant ranges, or with an altitude
// what is left of them over a flat bottom (NaN nearer than the bottom).
void GroundRanges(const LineSampleRanges& line, std::optional<double> altitude, double* out)
{
    for (int k = 0; k < line.count; ++k) {
        const double slant = line.first + line.step * k;
        if (!altitude) {
            out[k] = slant;
            continue;
        }
        const double h = *altitude;
        out[k] = slant > h ? std::sqrt(slant * slant - h * h) : std::nan("");
    }
}

double FarRange(const MosaicPing& ping, std::optional<double> altitude)
{
    const double slant = ping.ranges.first + ping.ranges.step * (ping.ranges.count - 1);
    const double ground = altitude ? std::sqrt(std::max(0.0, slant * slant - *altitude * *altitude)) : slant;
    return std::max(ground, 1.0); // a direction even for a line that ends at the head
}

} // namespace

bool MakeMosaicPing(const PingRecord& ping, std::span<const std::uint8_t> echoes,
    const SonarSettings& settings, const CommandMessage& command, const PingNavigation& navigation,
    MosaicPing& out, bool levels)
{
    if (!navigation.hasPosition || !navigation.HasHeading() || !navigation.offsetApplied)
        return false;
    const PaintInputs in = MakePaintInputs(ping, settings, command);
    LineSampleRanges ranges = SampleRangesOf(in);
    const int held = std::min<int>(std::max(ping.echoCount, 0), static_cast<int>(echoes.size()));
    // The prepared line: a 250-sample reply is widened, each sample twice.
    const bool widened = in.dataPoints == 25;
    ranges.count = std::min(ranges.count, widened ? 2 * std::min(held, 250) : std::min(held, 500));
    if (ranges.count <= 0)
        return false;
    if (levels) {
        // The table changes only with the mode and the mix weight.
        thread_local bool sideScan = false;
        thread_local double weight = std::nan("");
        thread_local std::array<std::uint8_t, 256> lut {};
        if (weight != in.mixWeight || sideScan != (in.displayMode == DisplayMode::SideScan)) {
            sideScan = in.displayMode == DisplayMode::SideScan;
            weight = in.mixWeight;
            lut = sideScan ? SideScanPixelLevels(weight) : FanPixelLevels(weight);
        }
        for (int k = 0; k < ranges.count; ++k)
            out.levels[std::size_t(k)] = lut[echoes[std::size_t(widened ? k / 2 : k)]];
    }
    out.navigation = navigation;
    out.offsets = AntennaOffsetsOf(settings);
    out.headBearing = HeadBearingOfScreen(ping.headAngle, settings);
    out.ranges = ranges;
    out.spacing = in.pingRange * in.speedOfSound / 1500 / std::max(held, 1);
    return true;
}

void MosaicExtent::Add(const MosaicPing& ping)
{
    const GeoPoint& head = ping.navigation.head;
    if (pings_++ == 0)
        reference_ = head.longitude;
    const double longitude = reference_ + std::remainder(head.longitude - reference_, 360.0);
    south_ = std::min(south_, head.latitude);
    north_ = std::max(north_, head.latitude);
    west_ = std::min(west_, longitude);
    east_ = std::max(east_, longitude);
    reach_ = std::max(reach_, ping.ranges.first + ping.ranges.step * (ping.ranges.count - 1));
    if (ping.spacing > 0)
        finest_ = std::min(finest_, ping.spacing);
}

GeoPoint MosaicExtent::Centre() const
{
    const double longitude = std::remainder(0.5 * (west_ + east_), 360.0);
    return GeoPoint {0.5 * (south_ + north_), longitude >= 180.0 ? longitude - 360.0 : longitude};
}

void MosaicExtent::Bounds(GeoPoint& southWest, GeoPoint& northEast) const
{
    const double reach = reach_ + 1.0;
    // Degrees of longitude are widest where the box is nearest a pole.
    const double polar = std::fabs(south_) > std::fabs(north_) ? south_ : north_;
    southWest.latitude = Destination(GeoPoint {south_, west_}, 180, reach).latitude;
    northEast.latitude = Destination(GeoPoint {north_, east_}, 0, reach).latitude;
    // Destination wraps its longitude; the box's edges stay beside its own.
    const auto widened = [&](double longitude, double azimuth) {
        const double to = Destination(GeoPoint {polar, longitude}, azimuth, reach).longitude;
        return longitude + std::remainder(to - longitude, 360.0);
    };
    southWest.longitude = widened(west_, 270);
    northEast.longitude = widened(east_, 90);
}

UtmZone UtmZoneOf(const GeoPoint& point)
{
    const double lat = point.latitude;
    const double lon = point.longitude;
    int number = static_cast<int>(std::floor((lon + 180.0) / 6.0)) + 1;
    number = std::clamp(number, 1, 60);
    if (lat >= 56.0 && lat < 64.0 && lon >= 3.0 && lon < 12.0)
        number = 32;
    if (lat >= 72.0 && lat < 84.0 && lon >= 0.0 && lon < 42.0)
        number = lon < 9.0 ? 31 : lon < 21.0 ? 33 : lon < 33.0 ? 35 : 37;
    return UtmZone {number, lat >= 0.0};
}

std::optional<MosaicFormat> MosaicFormatForPath(std::string_view path)
{
    const std::string ext = LowerExtension(path);
    if (ext == "tif" || ext == "tiff")
        return MosaicFormat::GeoTiff;
    if (ext == "kmz")
        return MosaicFormat::Kmz;
    return std::nullopt;
}

std::optional<MosaicFrame> MosaicFrameFor(const MosaicExtent& extent, UtmZone zone,
    const MapProjection& projection, double cell, std::string& error)
{
    if (extent.Empty() || !(cell > 0) || !std::isfinite(cell)) {
        error = "no ping has a position and a heading";
        return std::nullopt;
    }
    GeoPoint sw, ne;
    extent.Bounds(sw, ne);
    std::vector<double> x, y;
    for (int i = 0; i < kEdgePoints; ++i) {
        const double f = double(i) / (kEdgePoints - 1);
        const double lat = sw.latitude + (ne.latitude - sw.latitude) * f;
        const double lon = sw.longitude + (ne.longitude - sw.longitude) * f;
        for (const auto& [px, py] : {std::pair {sw.longitude, lat}, std::pair {ne.longitude, lat},
                 std::pair {lon, sw.latitude}, std::pair {lon, ne.latitude}}) {
            x.push_back(px);
            y.push_back(py);
        }
    }
    if (!projection.Forward(x.data(), y.data(), x.size())) {
        error = "the survey's area cannot be transformed to UTM zone " + std::to_string(zone.number);
        return std::nullopt;
    }
    const auto [minE, maxE] = std::minmax_element(x.begin(), x.end());
    const auto [minN, maxN] = std::minmax_element(y.begin(), y.end());
    MosaicFrame frame;
    frame.zone = zone;
    frame.cell = cell;
    frame.west = std::floor(*minE / cell) * cell;
    frame.north = std::ceil(*maxN / cell) * cell;
    const double width = std::ceil((*maxE - frame.west) / cell);
    const double height = std::ceil((frame.north - *minN) / cell);
    frame.width = static_cast<int>(std::clamp(width, 1.0, 1e9));
    frame.height = static_cast<int>(std::clamp(height, 1.0, 1e9));
    return frame;
}

bool WithinCaps(const MosaicFrame& frame)
{
    return double(frame.width) * frame.height <= kMosaicCellCap && frame.width <= kMosaicSideCap
        && frame.height <= kMosaicSideCap;
}

double CellWithinCaps(const MosaicFrame& frame)
{
    const double w = frame.width, h = frame.height;
    const double scale
        = std::max({1.0, std::sqrt(w * h / kMosaicCellCap), w / kMosaicSideCap, h / kMosaicSideCap});
    if (WithinCaps(frame))
        return frame.cell;
    // A little coarser than just enough (the box grows by a cell as it is
    // snapped), rounded up to two figures.
    double cell = frame.cell * scale * 1.01;
    const double unit = std::pow(10.0, std::floor(std::log10(cell)) - 1);
    return std::ceil(cell / unit) * unit;
}

MosaicPlacer::MosaicPlacer(MosaicGrid& grid, const MosaicFrame& frame, const MapProjection& projection,
    std::optional<double> altitude)
    : grid_(grid)
    , frame_(frame)
    , projection_(projection)
    , altitude_(altitude)
{
    queue_.reserve(kBatch);
}

MosaicPlacer::~MosaicPlacer() = default;

void MosaicPlacer::Add(const MosaicPing& ping)
{
    queue_.push_back(ping);
    if (queue_.size() >= kBatch)
        Flush();
}

bool MosaicPlacer::Flush()
{
    x_.clear();
    y_.clear();
    for (const MosaicPing& ping : queue_) {
        const auto far
            = PointFromHead(ping.navigation, ping.offsets, FarRange(ping, altitude_), ping.headBearing);
        const GeoPoint end = far ? *far : ping.navigation.head;
        x_.insert(x_.end(), {ping.navigation.head.longitude, end.longitude});
        y_.insert(y_.end(), {ping.navigation.head.latitude, end.latitude});
    }
    // Each point by itself: one that fails is left out with its ping.
    const bool all = projection_.Forward(x_.data(), y_.data(), x_.size());
    failed_ = failed_ || !all;
    const double cell = frame_.cell;
    for (std::size_t i = 0; i < queue_.size(); ++i) {
        const MosaicPing& ping = queue_[i];
        const double e0 = x_[2 * i], n0 = y_[2 * i], e1 = x_[2 * i + 1], n1 = y_[2 * i + 1];
        if (!std::isfinite(e0) || !std::isfinite(n0) || !std::isfinite(e1) || !std::isfinite(n1))
            continue;
        const double far = FarRange(ping, altitude_);
        GroundRanges(ping.ranges, altitude_, ranges_.data());
        grid_.AddLine((e0 - frame_.west) / cell, (frame_.north - n0) / cell, (e1 - e0) / (cell * far),
            (n0 - n1) / (cell * far), ranges_.data(), ping.levels.data(), ping.ranges.count);
    }
    queue_.clear();
    return !failed_;
}

} // namespace velmaris
