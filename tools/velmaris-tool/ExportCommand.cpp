// velmaris-tool export FILE --csv OUT [--samples] [--ini INI]: one CSV row
// per ping, streamed record by record.

#include "ExportColumns.h"
#include "Options.h"
#include "Subcommand.h"
#include "ToolDocument.h"

#include "files/DataFile.h"
#include "files/RecordReader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace velmaris::tool {
namespace {

constexpr const char* kUsage
    = "usage: velmaris-tool export FILE --csv OUT [--samples] [--ini INI]\n"
      "  writes one CSV row per ping of FILE to OUT (- for standard output), after a header row:\n"
      "    index, date, time, hundredths, tag, mode, range (m), gain (dB), head angle (degrees),\n"
      "    step, train (degrees), sector width (degrees), sound velocity (m/s), profile range (m)\n"
      "  index is the record's number in the file from 1 (as replay --from-ping counts); a record\n"
      "  whose reply header does not decode is not a ping and has no row.\n"
      "  --samples  the echo samples as 500 further columns (sample 1 .. sample 500, 0 to 255;\n"
      "             empty past the ping's own samples: 250 for 'IMX', none for 'IPX')\n"
      "  --ini INI  the display settings of INI (zero down, image rotation) as the station has them\n"
      "  RFC 4180 text: comma separated, CR LF line ends, UTF-8; fields with commas, quotes or line\n"
      "  breaks quoted. Streams: memory stays the same for a file of any size. Damaged records are\n"
      "  skipped with a note on standard error, as dump reports them.\n";

constexpr std::size_t kFlushAt = 256 * 1024;

int RunExport(const std::vector<std::string>& args)
{
    const ParsedOptions options = ParseOptions(args, {"--csv", "--ini"}, {"--samples", "--help"});
    if (options.Has("--help")) {
        std::fputs(kUsage, stdout);
        return kExitOk;
    }
    const auto outPath = options.Value("--csv");
    std::string problem = options.error;
    if (problem.empty() && options.positional.size() != 1)
        problem = "expected exactly one FILE";
    if (problem.empty() && !outPath)
        problem = "--csv OUT is required (- for standard output)";
    if (!problem.empty()) {
        std::fprintf(stderr, "velmaris-tool export: %s\n%s", problem.c_str(), kUsage);
        return kExitUsage;
    }

    ToolDocument doc;
    DataFile file;
    int fileType = 0;
    if (!doc.Open(options.Value("--ini").value_or(""), options.positional[0], file, fileType))
        return kExitFailure;
    const bool toStdout = *outPath == "-";
    std::FILE* out = toStdout ? stdout : std::fopen(outPath->c_str(), "wb");
    if (out == nullptr) {
        std::fprintf(
            stderr, "velmaris-tool export: cannot write %s: %s\n", outPath->c_str(), std::strerror(errno));
        return kExitFailure;
    }

    const bool samples = options.Has("--samples");
    CsvLine line;
    bool written = true;
    auto flush = [&] {
        const std::string& text = line.Text();
        written = written && std::fwrite(text.data(), 1, text.size(), out) == text.size();
        line.Clear();
    };
    ExportHeader(line, samples);
    std::int64_t index = 0;
    WalkRecords(
        file, fileType,
        [&](const RecordFrame& frame) {
            ++index;
            if (!doc.Decode(frame).valid)
                return;
            ExportRow(line, index, frame, doc, samples);
            if (line.Text().size() >= kFlushAt)
                flush();
        },
        [](std::int64_t offset, const RecordFrame& frame) { ReportDamage("export", offset, frame); });
    flush();
    written = (toStdout ? std::fflush(out) == 0 : std::fclose(out) == 0) && written;
    if (!written) {
        std::fprintf(stderr, "velmaris-tool export: cannot write %s\n", outPath->c_str());
        return kExitFailure;
    }
    return kExitOk;
}

const Subcommand::Registrar kRegistrar {{"export",
    "export FILE --csv OUT [--samples] [--ini INI]   one CSV row per ping of a data file", RunExport}};

} // namespace
} // namespace velmaris::tool
