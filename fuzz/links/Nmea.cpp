// Feeds arbitrary bytes through the GPS input's NMEA decoder, in chunks whose
// sizes come from the first byte's low six bits, under the selection its top
// two bits name. Whatever arrives,
// the receive text and the recent list stay within their caps and the texts
// hold printable characters only.
#include "links/NmeaDecoder.h"

#include <string_view>

namespace {

void CheckText(const std::string& text)
{
    if (text.size() > velmaris::kGpsSentenceCap)
        __builtin_trap();
    for (const char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7e)
            __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace velmaris;
    if (size == 0)
        return 0;
    const std::size_t chunk = 1 + data[0] % 64;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    NmeaDecoder decoder(static_cast<NmeaSelection>(data[0] >> 6));
    for (std::size_t at = 0; at < bytes.size(); at += chunk) {
        decoder.Feed(bytes.substr(at, chunk), [](const std::string& sentence) {
            if (sentence.size() > kGpsSentenceCap + 2 || !sentence.ends_with("\r\n"))
                __builtin_trap();
        });
        if (decoder.PendingBytes() > kGpsReceiveCap || decoder.RecentSentences().size() > kGpsRecentSentences)
            __builtin_trap();
    }
    const GpsTexts& t = decoder.Texts();
    for (const std::string* text : {&t.time, &t.date, &t.latitude, &t.longitude, &t.speed, &t.course})
        CheckText(*text);
    return 0;
}
