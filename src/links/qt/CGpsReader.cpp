#include "links/qt/CGpsReader.h"

#include "links/qt/CommPort.h"

#include <QByteArray>

namespace velmaris {
namespace {

// What the port may buffer between two ticks: ten times what 115200 baud
// delivers in 200 ms. Beyond it the driver holds the bytes.
constexpr qint64 kPortBufferBytes = 24 * 1024;

} // namespace

CGpsReader::CGpsReader(QObject* parent)
    : QObject(parent)
{
    tick_.setInterval(kGpsTickMs);
    connect(&tick_, &QTimer::timeout, this, &CGpsReader::Tick);
}

CGpsReader::~CGpsReader()
{
    Close();
}

SerialOpenResult CGpsReader::Open(const QString& device, int baud, int comPort)
{
    Close();
    const SerialOpenResult result = OpenCommPort(port_, device, baud);
    if (result != SerialOpenResult::Ok)
        return result;
    port_.setReadBufferSize(kPortBufferBytes);
    comPort_ = comPort;
    decoder_ = NmeaDecoder(decoder_.Selection());
    tick_.start();
    return result;
}

void CGpsReader::Close()
{
    tick_.stop();
    if (port_.isOpen())
        port_.close();
    comPort_ = 0;
}

void CGpsReader::Tick()
{
    if (!port_.isOpen())
        return;
    const qint64 queued = port_.bytesAvailable();
    if (queued <= 0)
        return;
    const QByteArray bytes = port_.read(queued);
    const int taken
        = decoder_.Feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (taken > 0 && onTexts_)
        onTexts_();
}

std::vector<std::string> CGpsReader::RecentSentences() const
{
    const auto& recent = decoder_.RecentSentences();
    return {recent.begin(), recent.end()};
}

} // namespace velmaris
