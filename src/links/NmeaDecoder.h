#pragma once
// NMEA 0183 input from a GPS receiver, turned into the station's six GPS
// texts (time, date, latitude, longitude, speed, course). Bytes arrive in
// arbitrary chunks (a 200 ms tick, a datagram); every sentence ("$" and a
// two-letter talker) is cut out at its line feed, kept in a short list of
// recent sentences and handed on (the track keeps them all). Sentences of
// the GNSS talkers ("GP", "GN", "GL", "GA", "GB") are decoded by the
// sentence selection when their checksum, if they carry one, matches; a fix
// marked invalid shows "n/a" for its latitude and longitude.
//
// Everything from the receiver is untrusted: the receive text is capped
// (kGpsReceiveCap, newest bytes kept), a sentence is decoded only up to
// kGpsSentenceCap characters, and a sentence holding bytes outside printable
// ASCII is listed but not decoded, so no text ever carries binary garbage.
//
// A plain value; one thread at a time (the user-interface thread).

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace velmaris {

inline constexpr const char* kGpsNotAvailable = "n/a";
// A device that never sends "$" plus a line feed (binary protocol, wrong
// baud rate) cannot grow the receive text beyond this.
inline constexpr std::size_t kGpsReceiveCap = 4096;
// NMEA allows 82 characters; receivers send up to about 120. Characters
// beyond this are dropped up to the sentence's line feed.
inline constexpr std::size_t kGpsSentenceCap = 160;
// Two seconds of a chatty receiver at one fix per second.
inline constexpr std::size_t kGpsRecentSentences = 32;

// Which sentence types feed the texts (GGA is offered in every selection
// but fills texts only in selection 1).
enum class NmeaSelection : int {
    GllOrVtg = 0,
    GgaOrVtg = 1,
    Rmc = 2, // the fullest set of texts, the station's fixed choice
    Vtg = 3,
};

struct GpsTexts {
    std::string time = kGpsNotAvailable; // "%02d:%02d:%02d"
    std::string date = kGpsNotAvailable; // "%02d-%s-%04d", RMC only
    std::string latitude = kGpsNotAvailable; // "48.07.038 N"
    std::string longitude = kGpsNotAvailable; // "011.31.000 E"
    std::string speed = kGpsNotAvailable; // "%.2f Knots"
    std::string course = kGpsNotAvailable; // "%.2f Deg." (RMC) or VTG's field as received

    bool operator==(const GpsTexts&) const = default;
};

class NmeaDecoder {
public:
    explicit NmeaDecoder(NmeaSelection selection = NmeaSelection::Rmc)
        : selection_(selection)
    { }

    // Adds one tick's bytes and takes out every complete sentence, calling
    // `afterSentence` (may be empty) with each one once it was decoded.
    // Returns the count of sentences taken out.
    int Feed(std::span<const std::uint8_t> bytes,
        const std::function<void(const std::string& sentence)>& afterSentence = {});
    int Feed(
        std::string_view text, const std::function<void(const std::string& sentence)>& afterSentence = {});

    // Decodes one sentence ("$GPxxx,...\r\n") by the selection; anything
    // malformed, of another talker or failing its checksum is ignored.
    void DecodeSentence(std::string_view sentence);

    // All six texts "n/a", the recent list emptied (the receive text and
    // the data-seen flag stay).
    void Reset();

    const GpsTexts& Texts() const { return texts_; }
    // Oldest first, each ending in CR LF, non-printable bytes shown as '?'.
    const std::deque<std::string>& RecentSentences() const { return recent_; }
    bool DataSeen() const { return dataSeen_; }
    NmeaSelection Selection() const { return selection_; }
    std::size_t PendingBytes() const { return receive_.size(); }

private:
    void Remember(std::string sentence);

    NmeaSelection selection_;
    std::string receive_;
    GpsTexts texts_;
    std::deque<std::string> recent_;
    bool dataSeen_ = false;
    bool skippingLongSentence_ = false; // dropping the rest of an over-long sentence
};

// The position text of one "ddmm.mmmm" field and its hemisphere letter, or
// "" when the field or the letter is not a position.
std::string NmeaPositionText(std::string_view field, std::string_view hemisphere, bool latitude);

} // namespace velmaris
