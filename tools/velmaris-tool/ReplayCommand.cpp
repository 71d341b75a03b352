// velmaris-tool replay FILE [--to ADDR:PORT] [--speed X | --real-time] [--loop]
// [--from-ping N] [--count N]: sends each record of a data file as one UDP
// datagram, paced as it was recorded, so a station plotting UDP data sees the
// dive as if it were live.

#include "DatagramSender.h"
#include "Progress.h"
#include "RecordCursor.h"
#include "ReplayPacing.h"
#include "Subcommand.h"
#include "ToolDocument.h"

#include "links/Links.h"

#include <csignal>
#include <cstdio>
#include <limits>

namespace velmaris::tool {
namespace {

// Set by SIGINT and SIGTERM: the replay sends nothing more and reports what
// it sent, as at its end.
volatile std::sig_atomic_t stopRequested = 0;

bool StopRequested()
{
    return stopRequested != 0;
}

// Records of one pass: those numbered from `from`, at most `count` of them.
std::int64_t CountSelected(DataFile& file, SonarType fileType, const ReplayRequest& request)
{
    RecordCursor cursor(file, fileType);
    RecordFrame frame;
    std::int64_t selected = 0;
    while (selected < request.count && cursor.Next(frame, [](std::int64_t, const RecordFrame&) {}))
        selected += cursor.Number() >= request.from;
    return selected;
}

class Replay {
public:
    Replay(const ReplayRequest& request, DataFile& file, SonarType fileType)
        : request_(request)
        , cursor_(file, fileType)
        , pacer_(clock_, request.speed)
        , progress_(stderr, IsTerminal(stderr))
    {
        if (progress_.Enabled())
            total_ = CountSelected(file, fileType, request);
    }

    int Run()
    {
        std::string error;
        if (!sender_.Open(request_.target, &error)) {
            std::fprintf(stderr, "velmaris-tool replay: %s\n", error.c_str());
            return kExitFailure;
        }
        if (!request_.target.loopback)
            std::fprintf(stderr, "velmaris-tool replay: sending to %s, another machine\n",
                request_.target.Text().c_str());
        for (;;) {
            const std::int64_t before = sent_ + skipped_;
            if (!Pass())
                return kExitFailure;
            if (StopRequested())
                break;
            if (sent_ + skipped_ == before) {
                std::fprintf(stderr, "velmaris-tool replay: no record numbered %lld or above in %s\n",
                    static_cast<long long>(request_.from), request_.path.c_str());
                return kExitFailure;
            }
            if (!request_.loop)
                break;
            pacer_.Wrap();
            cursor_.Rewind();
            ++pass_;
        }
        progress_.Finish();
        std::fprintf(stderr, "velmaris-tool replay: %lld datagrams sent to %s (%s recorded time)\n",
            static_cast<long long>(sent_), request_.target.Text().c_str(),
            ElapsedText(handledElapsed_).c_str());
        if (refused_ > 0)
            std::fprintf(
                stderr, "velmaris-tool replay: nothing is listening at %s\n", request_.target.Text().c_str());
        return kExitOk;
    }

private:
    // One pass over the selected records; false when sending failed.
    bool Pass()
    {
        std::int64_t inPass = 0;
        while (!StopRequested() && inPass < request_.count
            && cursor_.Next(frame_, [](std::int64_t offset, const RecordFrame& frame) {
                   ReportDamage("replay", offset, frame);
               })) {
            if (cursor_.Number() < request_.from)
                continue;
            ++inPass;
            const Nanoseconds elapsed = pacer_.Pace(timing_.Read(frame_.header));
            if (StopRequested())
                break; // stopped while waiting for this record: it stays unsent
            handledElapsed_ = elapsed;
            if (!SendRecord())
                return false;
            if (progress_.Due())
                progress_.Show(ProgressText(inPass, elapsed));
        }
        return true;
    }

    bool SendRecord()
    {
        const auto bytes = cursor_.WholeRecord(frame_, buffer_);
        std::string error;
        switch (bytes.empty() ? DatagramSender::Result::TooLong : sender_.Send(bytes, &error)) {
        case DatagramSender::Result::Sent:
            ++sent_;
            return true;
        case DatagramSender::Result::NoListener:
            ++sent_;
            ++refused_;
            return true;
        case DatagramSender::Result::TooLong:
            ++skipped_;
            std::fprintf(stderr,
                "velmaris-tool replay: record %lld (%d bytes) does not fit a datagram; skipped\n",
                static_cast<long long>(cursor_.Number()), frame_.recordLength);
            return true;
        case DatagramSender::Result::Failed:
            break;
        }
        progress_.Finish();
        std::fprintf(stderr, "velmaris-tool replay: %s\n", error.c_str());
        return false;
    }

    std::string ProgressText(std::int64_t inPass, Nanoseconds elapsed) const
    {
        char text[160];
        std::snprintf(text, sizeof text, "ping %lld of %lld  %s recorded", static_cast<long long>(inPass),
            static_cast<long long>(total_), ElapsedText(elapsed).c_str());
        std::string line = text;
        if (pass_ > 1)
            line += "  pass " + std::to_string(pass_);
        return line;
    }

    const ReplayRequest& request_;
    RecordCursor cursor_;
    SteadyReplayClock clock_ {&stopRequested};
    ReplayPacer pacer_;
    ProgressLine progress_;
    DatagramSender sender_;
    RecordFrame frame_;
    std::vector<std::uint8_t> buffer_;
    RecordTimingReader timing_;
    Nanoseconds handledElapsed_ {}; // recorded time up to the last record sent or skipped
    std::int64_t total_ = 0;
    std::int64_t sent_ = 0;
    std::int64_t skipped_ = 0;
    std::int64_t refused_ = 0;
    int pass_ = 1;
};

} // namespace

int Run(const ReplayRequest& request)
{
    DataFile file;
    SonarType fileType = SonarType::SerialK52A;
    if (!OpenDataFile(request.path, file, fileType))
        return kExitFailure;
    std::signal(SIGINT, [](int) { stopRequested = 1; });
    std::signal(SIGTERM, [](int) { stopRequested = 1; });
    return Replay(request, file, fileType).Run();
}

} // namespace velmaris::tool
