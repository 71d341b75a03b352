// A track line: the stamp with hundredths and its offset either side of UTC,
// a tab, the sentence without its own line end, CR LF.
#include "protocol/TrackLine.h"

#include <gtest/gtest.h>

namespace velmaris {
namespace {

TEST(TrackLine, StampWithHundredthsAndOffsetThenATabAndTheSentence)
{
    struct Case {
        LocalTime t;
        int offsetMinutes;
        const char* sentence;
        const char* line;
    };
    const Case cases[] = {
        {{2026, 12, 9, 18, 44, 32, 179}, 60, "$GPHDT,47.25,T*31\r\n",
            "2026-12-09T18:44:32.17+01:00\t$GPHDT,47.25,T*31\r\n"},
        {{2027, 1, 2, 3, 4, 5, 0}, -330, "$GPHDT,1.00,T*05",
            "2027-01-02T03:04:05.00-05:30\t$GPHDT,1.00,T*05\r\n"},
        {{1999, 12, 31, 23, 59, 59, 990}, 0, "$GNVTG,,T,,M,,N,,K,N*32\r\n",
            "1999-12-31T23:59:59.99+00:00\t$GNVTG,,T,,M,,N,,K,N*32\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TrackLine(c.t, c.offsetMinutes, c.sentence), c.line);
}

} // namespace
} // namespace velmaris
