// velmaris-tool export FILE --csv OUT [--samples] [--ini INI]: one CSV row
// per ping, streamed record by record; with a track beside FILE, each row
// says where the head was and where the boat headed.

#include "ExportColumns.h"
#include "Subcommand.h"
#include "ToolDocument.h"

#include "files/DataFile.h"
#include "files/RecordReader.h"
#include "files/TrackFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace velmaris::tool {

int Run(const ExportRequest& request)
{
    const std::string& outPath = request.csv;
    ToolDocument doc;
    DataFile file;
    SonarType fileType = SonarType::SerialK52A;
    if (!doc.Open(request.ini, request.file, file, fileType))
        return kExitFailure;
    const bool toStdout = outPath == "-";
    std::FILE* out = toStdout ? stdout : std::fopen(outPath.c_str(), "wb");
    if (out == nullptr) {
        std::fprintf(
            stderr, "velmaris-tool export: cannot write %s: %s\n", outPath.c_str(), std::strerror(errno));
        return kExitFailure;
    }

    // The track, when FILE has one that reads.
    NavigationTrack track;
    std::string trackError;
    const bool positions = track.Load(TrackPathFor(request.file), trackError) && !track.Empty();
    const ExportNavigation navigation {&track, AntennaOffsetsOf(doc.settings)};

    CsvLine header;
    ExportHeader(header, request.samples, positions);
    bool written = std::fwrite(header.Text().data(), 1, header.Text().size(), out) == header.Text().size();
    std::int64_t rows = 0;
    written
        = ExportRecords(file, fileType, doc, out, request.samples, positions ? &navigation : nullptr, rows,
              [](std::int64_t offset, const RecordFrame& frame) { ReportDamage("export", offset, frame); })
        && written;
    written = (toStdout ? std::fflush(out) == 0 : std::fclose(out) == 0) && written;
    if (!written) {
        std::fprintf(stderr, "velmaris-tool export: cannot write %s\n", outPath.c_str());
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace velmaris::tool
