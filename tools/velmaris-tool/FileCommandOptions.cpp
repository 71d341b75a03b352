// The options of the subcommands that read data files: dump, render, export
// and replay.

#include "CommandOptions.h"

#include "station/ChartFiles.h"
#include "station/MosaicSurvey.h"

#include <charconv>

namespace velmaris::tool {

namespace {

constexpr double kFastestSpeed = 1000.0;
constexpr const char* kDataFileHelp = "the data file (.52a or .52l)";
constexpr const char* kIniHelp
    = "take the display settings (zoom, colour table, profile mode, Zero Down, image "
      "rotation) from this settings file";

std::optional<Crop> ParseCrop(const std::string& text)
{
    Crop crop;
    int* fields[] = {&crop.x, &crop.y, &crop.w, &crop.h};
    std::size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        const std::size_t comma = i < 3 ? text.find(',', start) : text.size();
        if (comma == std::string::npos)
            return std::nullopt;
        const std::string part = text.substr(start, comma - start);
        int value = 0;
        const auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), value);
        if (part.empty() || ec != std::errc() || end != part.data() + part.size() || value < 0
            || value > ImageRaster::kWidth)
            return std::nullopt;
        *fields[i] = value;
        start = comma + 1;
    }
    if (crop.w == 0 || crop.h == 0 || crop.x + crop.w > ImageRaster::kWidth
        || crop.y + crop.h > ImageRaster::kHeight)
        return std::nullopt;
    return crop;
}

std::string AnimationFormatCheck(const std::string& path)
{
    const auto format = AnimationFormatForPath(path);
    if (!format)
        return "the animation format comes from the extension of --animate: gif or mp4";
    return {};
}

} // namespace

CommandDeclaration& DeclareDump(ToolParser& parser, DumpRequest& request)
{
    CommandDeclaration& c = parser.Add("dump", "one JSON line per record of a data file", Wording::Files);
    c.App().description("prints one JSON object per record (one per line); damage goes to standard error");
    c.Positional("FILE", request.file, kDataFileHelp);
    c.Text("--ini", request.ini, "INI", kIniHelp);
    return c;
}

CommandDeclaration& DeclareRender(ToolParser& parser, RenderRequest& request)
{
    CommandDeclaration& c
        = parser.Add("render", "play a data file once and write the image, or its animation", Wording::Files);
    c.App().description("plays FILE once, as playback paints it, and writes the 4000 x 4000 image (--out) or "
                        "the playback frame by frame (--animate)");
    c.Positional("FILE", request.file, kDataFileHelp);
    CLI::Option* out = c.Text("--out", request.out, "PATH",
        "the picture, through the selected colour table: png, bmp, jpg, gif or tif by the extension");
    c.Text("--ini", request.ini, "INI", kIniHelp);
    CLI::Option* raw = c.Flag("--raw", request.raw, "write a binary PGM of the colour indices instead");
    CLI::Option* crop = c.Text("--crop", request.cropText, "X,Y,W,H",
        "write only that rectangle of the image", [](const std::string& text) {
            return ParseCrop(text) ? std::string() : "--crop takes X,Y,W,H inside the 4000 x 4000 image";
        });
    CLI::Option* animate = c.Text("--animate", request.animate, "OUT.gif|OUT.mp4",
        "write the playback as it is painted: an animated GIF that loops (one palette; each frame holds what "
        "changed), or an H.264 MP4 (yuv420p; an odd width is taken one less) in a build with FFmpeg's "
        "libraries",
        AnimationFormatCheck);
    AnimationRequest& a = request.animation;
    const CLI::Option* animationOnly[] = {
        c.Whole("--fps", a.fps, 1, 100, "frames a second of the animation"),
        c.Whole("--pings-per-frame", a.pingsPerFrame, 1, 1000000,
            "a frame after every so many painted pings, and one after the last"),
        c.Whole("--width", a.width, 16, ImageRaster::kWidth,
             "frame size W x W pixels, each the image's pixel at its centre; a frame is the square of the "
             "image the painters draw into at the zoom of INI (1000 x 1000 pixels at zoom 1)")
            ->type_name("W")
            ->default_str("its own size, at most " + std::to_string(kLargestDefaultWidth)),
    };
    c.App().footer("  A progress bar shows on a terminal while an animation is written.");
    c.Rules([&request, out, raw, crop, animate, animationOnly] {
        if (animate->count() > 0) {
            if (out->count() > 0 || raw->count() > 0 || crop->count() > 0)
                return std::string("--animate goes without --out, --raw and --crop");
            AnimationRequest& a = request.animation;
            a.format = *AnimationFormatForPath(request.animate);
            a.input = request.file;
            a.ini = request.ini;
            a.output = request.animate;
            return std::string();
        }
        for (const CLI::Option* option : animationOnly)
            if (option->count() > 0)
                return option->get_name() + " goes with --animate";
        if (out->count() == 0)
            return std::string("--out PATH is required");
        request.crop = *ParseCrop(request.cropText);
        request.format = PictureFormatForPath(request.out);
        if (!request.raw && !request.format)
            return std::string(
                "the picture format comes from the extension of --out: png, bmp, jpg, gif or tif");
        return std::string();
    });
    return c;
}

CommandDeclaration& DeclareExport(ToolParser& parser, ExportRequest& request)
{
    CommandDeclaration& c = parser.Add(
        "export", "one CSV row per ping of a data file, or its side-scan pings as XTF", Wording::Files);
    c.App().description(
        "writes one CSV row per ping of FILE, after a header row: index, date, time, hundredths, tag, mode, "
        "range (m), gain (dB), head angle (degrees), step, train (degrees), sector width (degrees), sound "
        "velocity (m/s), profile range (m). index is the record's number in the file from 1 (as replay "
        "--from-ping counts); a record whose reply header does not decode is not a ping and has no row. "
        "When FILE has a track beside it (FILE.nmea), latitude, longitude (degrees, of the head) and "
        "heading (degrees) follow profile range, blank for a ping the track does not place. With --xtf it "
        "writes the side-scan pings as an XTF file instead, one sonar packet each.");
    c.Positional("FILE", request.file, kDataFileHelp);
    CLI::Option* csv = c.Text("--csv", request.csv, "OUT", "the CSV file to write, - for standard output");
    CLI::Option* samples = c.Flag("--samples", request.samples,
        "the echo samples as 500 further columns (sample 1 .. sample 500, 0 to 255; empty past the ping's "
        "own "
        "samples: 250 for 'IMX', none for 'IPX')");
    CLI::Option* xtf = c.Text("--xtf", request.xtf, "OUT.xtf",
        "write the side-scan pings as XTF instead: one sonar channel, port or starboard by the side the "
        "head looks to; each ping with its samples, range, sound velocity, time and the track's position, "
        "heading and speed",
        [](const std::string& path) {
            return path == "-"
                ? std::string("--xtf takes a file (not standard output): the header is written last")
                : std::string();
        });
    CLI::Option* targets = c.Text("--targets", request.targets, "CSV",
        "with --xtf: the measured targets (the CSV of \"Export Targets...\"), each a note after the pings "
        "of its second");
    c.Text("--ini", request.ini, "INI", kIniHelp);
    c.App().footer("  RFC 4180 text: comma separated, CR LF line ends, UTF-8; fields with commas, quotes or "
                   "line\n  breaks quoted. Streams: memory stays the same for a file of any size. Damaged "
                   "records are\n  skipped with a note on standard error, as dump reports them.\n"
                   "  XTF leaves out Sector and Polar pings (the format has no beam direction per ping) and "
                   "'IPX'\n  pings (no samples), with a count on standard error. Its ping times are UTC when "
                   "the track\n  gives the host clock's offset from UTC, local time otherwise; the file "
                   "header's note says which.");
    c.Rules([csv, samples, xtf, targets] {
        if (csv->count() > 0 && xtf->count() > 0)
            return std::string("choose one of --csv and --xtf");
        if (xtf->count() > 0)
            return samples->count() > 0 ? std::string("--samples goes with --csv") : std::string();
        if (targets->count() > 0)
            return std::string("--targets goes with --xtf");
        return csv->count() > 0
            ? std::string()
            : std::string("--csv OUT is required (- for standard output), or --xtf OUT.xtf");
    });
    return c;
}

CommandDeclaration& DeclareTrack(ToolParser& parser, TrackRequest& request)
{
    CommandDeclaration& c = parser.Add("track", "the vessel track of a recording", Wording::Files);
    c.App().description("writes where the GPS antenna was at each fix of the track beside FILE (FILE.nmea, "
                        "or FILE itself when it is a track): CSV (time, latitude, longitude), a GPX track, "
                        "or a GeoJSON or KML line, by the extension of --out");
    c.Positional("FILE", request.file, "the data file (.52a or .52l) or its track (.nmea)");
    c.Text("--out", request.out, "OUT.gpx|OUT.geojson|OUT.kml|OUT.csv",
        "the file to write, - for CSV on standard output", [](const std::string& out) {
            return out == "-" || ChartFormatForPath(out)
                ? std::string()
                : std::string(
                    "the track's format comes from the extension of --out: gpx, geojson, kml or csv");
        });
    c.App().footer("  Times are UTC. Fixes the receiver marked invalid are left out.");
    return c;
}

CommandDeclaration& DeclareMosaic(ToolParser& parser, MosaicRequest& request)
{
    CommandDeclaration& c
        = parser.Add("mosaic", "a georeferenced mosaic of a recording (GeoTIFF, KMZ)", Wording::Files);
    c.App().description(
        "places every echo sample of every ping that the track beside FILE (FILE.nmea) gives a position and "
        "a heading where the cursor read-out puts its range and bearing, in a north-up grid in the UTM zone "
        "of the survey's centre, each cell the mean of the samples in it");
    c.Positional("FILE", request.file, kDataFileHelp);
    CLI::Option* out = c.Text("--out", request.out, "OUT.tif|OUT.kmz",
        "a GeoTIFF (one 8-bit band of echo levels, the colour table as its palette, 255 no data) or a KMZ "
        "ground overlay in WGS84, clear where there is no data, by the extension",
        [](const std::string& out) {
            return MosaicFormatForPath(out) ? std::string()
                                            : std::string("the mosaic's format comes from the extension of "
                                                          "--out: tif or kmz");
        });
    c.Number("--cell", request.cell, kSmallestMosaicCell, 1000, "metres of a cell's side")
        ->default_str("the finest range's sample spacing, at least 0.05");
    c.Text("--ini", request.ini, "INI",
        "take the colour table, image rotation, Zero Down and the antenna offsets from this settings file");
    c.Whole("--from-ping", request.from, 1, std::numeric_limits<std::int64_t>::max(),
        "begin with record N (records are numbered from 1, as in export)");
    c.Whole(
         "--count", request.count, 1, std::numeric_limits<std::int64_t>::max(), "take N records from there")
        ->default_str("all");
    c.Number("--altitude", request.altitude, 0, 1000,
         "metres of a flat bottom below the head: slant ranges become ground ranges (side-scan)")
        ->default_str("none: slant ranges as painted");
    c.App().footer(
        "  A progress bar shows on a terminal. Memory follows the area covered, not the length of\n"
        "  the recording.");
    c.Rules([out] {
        return out->count() > 0 ? std::string() : std::string("--out OUT.tif|OUT.kmz is required");
    });
    return c;
}

CommandDeclaration& DeclareReplay(ToolParser& parser, ReplayRequest& request)
{
    CommandDeclaration& c = parser.Add("replay", "send a data file as UDP datagrams", Wording::Files);
    c.App().description("sends every record of FILE as one UDP datagram in the station's record layout, so a "
                        "station in \"Plot Data from UDP\" mode (or any listener) sees the dive as if live.");
    c.Positional("FILE", request.path, kDataFileHelp);
    c.Text("--to", request.to, "ADDR:PORT",
        "where to send: a numeric IPv4 or IPv6 address ([::1]:4040) or localhost; a port alone (:5050) means "
        "127.0.0.1. Another machine is sent to only when named here.",
        [](const std::string& text) {
            DatagramTarget target;
            std::string error;
            return ParseDatagramTarget(text, kUdpListenPort, target, &error) ? std::string()
                                                                             : "--to: " + error;
        });
    CLI::Option* speed = c.Number("--speed", request.speed, 0, kFastestSpeed,
        "the recorded timing scaled by X (2 twice as fast, 0.5 half as fast); 0 sends as fast as the socket "
        "takes the datagrams");
    c.Flag("--real-time", request.realTime, "keep the recorded timing (the default; the same as --speed 1)");
    c.Flag("--loop", request.loop, "start again from the first record after the last, until interrupted");
    c.Whole("--from-ping", request.from, 1, std::numeric_limits<std::int64_t>::max(),
        "begin with record N (records are numbered from 1, as in export)");
    c.Whole("--count", request.count, 1, std::numeric_limits<std::int64_t>::max(),
         "send N records from there (with --loop, in every pass)")
        ->default_str("all");
    c.App().footer(
        "  Timing: the gap before each record is the difference of the recorded date, time and\n"
        "  hundredths; a step back or a gap of more than 10 s waits the record's loop time instead.\n"
        "  Damaged records are skipped with a note on standard error, as dump reports them.\n"
        "  On a terminal a progress line shows ping n of N and the recorded time elapsed.\n"
        "  Ctrl+C (or SIGTERM) stops the replay early with the same summary line as at the end.");
    c.Rules([&request, speed] {
        if (speed->count() > 0 && request.realTime)
            return std::string("choose one of --speed and --real-time");
        ParseDatagramTarget(request.to, kUdpListenPort, request.target, nullptr);
        return std::string();
    });
    return c;
}

} // namespace velmaris::tool
