#include "web/qt/WebServer.h"

#include <QFile>
#include <QHostAddress>
#include <QRandomGenerator>
#include <QTcpSocket>
#include <QWebSocket>
#include <QWebSocketServer>

#include "image/SectorClip.h"
#include "image/SonarState.h"
#include "image/ViewSource.h"
#include "image/qt/CVelmarisView.h"
#include "links/GpsInput.h"
#include "web/WebTexts.h"

static void InitWebResources()
{
    Q_INIT_RESOURCE(web);
}

namespace velmaris {

namespace {
// A viewer has nothing to say: anything larger than this closes it.
constexpr quint64 kMaxIncomingMessage = 1024;
// Every viewer that is admitted owes the whole picture, whatever its size then.
constexpr FrameRect kEverything {0, 0, kMaxPictureSide, kMaxPictureSide};
} // namespace

WebServer::WebServer(CVelmarisView& view, QObject* parent)
    : QObject(parent)
    , view_(view)
{
    InitWebResources();
    QFile page(QStringLiteral(":/web/index.html"));
    if (page.open(QIODevice::ReadOnly))
        page_ = page.readAll();
    ws_ = new QWebSocketServer(QStringLiteral("Velmaris"), QWebSocketServer::NonSecureMode, this);
    ws_->setHandshakeTimeout(kRequestTimeoutMs);
    connect(ws_, &QWebSocketServer::newConnection, this, &WebServer::OnViewer);
    connect(&tcp_, &QTcpServer::newConnection, this, &WebServer::OnConnection);
    ticker_.setInterval(kWebTickMs);
    connect(&ticker_, &QTimer::timeout, this, &WebServer::Tick);
}

WebServer::~WebServer()
{
    // The connections still waiting for a request die with tcp_, after the
    // members their handlers would touch: they must not call back.
    for (QObject* socket : std::as_const(pending_))
        disconnect(socket, nullptr, this, nullptr);
    pending_.clear();
    for (QPointer<QWebSocket>& socket : sockets_)
        if (socket)
            socket->abort();
}

std::string WebServer::NewToken()
{
    static const char kDigits[] = "0123456789abcdef";
    std::string token;
    for (int i = 0; i < 4; ++i) {
        quint32 word = QRandomGenerator::system()->generate();
        for (int k = 0; k < 8; ++k, word >>= 4)
            token += kDigits[word & 15u];
    }
    return token;
}

bool WebServer::Listen(const WebListen& listen, const std::string& token, std::string* error)
{
    QHostAddress address;
    if (!address.setAddress(QString::fromStdString(listen.address))) {
        *error = "not an address: " + listen.address;
        return false;
    }
    if (!tcp_.listen(address, listen.port)) {
        *error = tcp_.errorString().toStdString();
        return false;
    }
    token_ = token;
    return true;
}

quint16 WebServer::Port() const
{
    return tcp_.serverPort();
}

qint64 WebServer::UnsentBytes() const
{
    qint64 sum = 0;
    for (const QPointer<QWebSocket>& socket : sockets_)
        if (socket)
            sum += socket->bytesToWrite();
    return sum;
}

quint64 WebServer::FramesDropped() const
{
    quint64 sum = 0;
    for (int id = 0; id < kMaxWebViewers; ++id)
        sum += viewers_.Dropped(id);
    return sum;
}

void WebServer::OnConnection()
{
    while (QTcpSocket* socket = tcp_.nextPendingConnection()) {
        if (pending_.size() >= kMaxPendingRequests) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        pending_.insert(socket);
        socket->setReadBufferSize(qint64(kMaxRequestHead));
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnReadable(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QObject::destroyed, this, [this](QObject* gone) { pending_.remove(gone); });
        // A client that has not sent its request by then is closed.
        QTimer::singleShot(kRequestTimeoutMs, socket, [this, socket] {
            if (pending_.contains(socket))
                Answer(socket, QByteArray::fromStdString(ShortResponse(408)));
        });
    }
}

void WebServer::Answer(QTcpSocket* socket, const QByteArray& bytes)
{
    pending_.remove(socket);
    disconnect(socket, nullptr, this, nullptr);
    socket->write(bytes);
    socket->disconnectFromHost();
}

void WebServer::OnReadable(QTcpSocket* socket)
{
    if (!pending_.contains(socket))
        return;
    // Peeked, not read: a WebSocket handshake is read again by the socket server.
    const QByteArray bytes = socket->peek(qint64(kMaxRequestHead));
    std::size_t headLength = 0;
    const HeadScan scan
        = ScanRequestHead(std::string_view(bytes.constData(), std::size_t(bytes.size())), &headLength);
    if (scan == HeadScan::NeedMore)
        return;
    if (scan == HeadScan::TooLarge) {
        Answer(socket, QByteArray::fromStdString(ShortResponse(431)));
        return;
    }
    RequestHead head;
    const bool parsed = ParseRequestHead(std::string_view(bytes.constData(), headLength), head);
    switch (RouteRequest(head, parsed, token_)) {
    case WebRoute::Page:
        Answer(socket, QByteArray::fromStdString(PageResponseHead(std::size_t(page_.size()))) + page_);
        return;
    case WebRoute::PageHead:
        Answer(socket, QByteArray::fromStdString(PageResponseHead(std::size_t(page_.size()))));
        return;
    case WebRoute::Forbidden:
        Answer(socket, QByteArray::fromStdString(ShortResponse(403)));
        return;
    case WebRoute::NotFound:
        Answer(socket, QByteArray::fromStdString(ShortResponse(404)));
        return;
    case WebRoute::BadMethod:
        Answer(socket, QByteArray::fromStdString(ShortResponse(405)));
        return;
    case WebRoute::BadRequest:
        Answer(socket, QByteArray::fromStdString(ShortResponse(400)));
        return;
    case WebRoute::Socket:
        break;
    }
    if (viewers_.Count() >= kMaxWebViewers) {
        Answer(socket, QByteArray::fromStdString(ShortResponse(503)));
        return;
    }
    pending_.remove(socket);
    disconnect(socket, nullptr, this, nullptr);
    disconnect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    socket->setReadBufferSize(0);
    ws_->handleConnection(socket);
}

void WebServer::OnViewer()
{
    while (QWebSocket* socket = ws_->nextPendingConnection()) {
        const int id = viewers_.Admit(kEverything);
        if (id < 0) {
            // Two handshakes raced for the last place.
            socket->close(QWebSocketProtocol::CloseCodePolicyViolated, QStringLiteral("at most 8 viewers"));
            connect(socket, &QWebSocket::disconnected, socket, &QObject::deleteLater);
            continue;
        }
        socket->setParent(this);
        socket->setMaxAllowedIncomingFrameSize(kMaxIncomingMessage);
        socket->setMaxAllowedIncomingMessageSize(kMaxIncomingMessage);
        sockets_[std::size_t(id)] = socket;
        connect(socket, &QWebSocket::disconnected, this, [this, id] { OnViewerGone(id); });
        if (!ticker_.isActive())
            ticker_.start();
        emit viewersChanged(viewers_.Count());
    }
}

void WebServer::OnViewerGone(int id)
{
    if (QWebSocket* socket = sockets_[std::size_t(id)])
        socket->deleteLater();
    sockets_[std::size_t(id)] = nullptr;
    viewers_.Leave(id);
    if (viewers_.Count() == 0)
        ticker_.stop();
    emit viewersChanged(viewers_.Count());
}

void WebServer::Tick()
{
    ViewSource* source = view_.Source();
    if (viewers_.Count() == 0 || source == nullptr)
        return;
    const SonarState& state = source->State();
    const ViewStatus status = source->Status();
    const ViewInteraction& interaction = view_.Interaction();
    const ViewGeometry geo = ComputeViewGeometry(view_.width(), view_.height(), state.settings.zoom,
        state.settings.sectorMode, interaction.panX, interaction.panY);
    const SectorClip clip = MakeViewClip(geo, state.settings, state.command);
    const FrameRect changed
        = picture_.Update(state.raster, geo.rasterLeft, geo.rasterTop, clip, geo.width, geo.height);

    const std::vector<std::uint8_t> table = EncodePalette(state.colors.Table(state.settings.colorTable));
    const QByteArray palette(reinterpret_cast<const char*>(table.data()), qsizetype(table.size()));
    const bool paletteChanged = palette != palette_;
    palette_ = palette;

    GpsTexts gpsTexts;
    const bool gps = gps_ != nullptr && gps_->Running();
    if (gps)
        gpsTexts = gps_->Texts();
    const QByteArray stateText = QByteArray::fromStdString(
        BuildWebState(state, status, interaction, geo, gps ? &gpsTexts : nullptr));
    const bool stateChanged = stateText != state_;
    state_ = stateText;

    viewers_.Scrolled(picture_.Scroll(), picture_.Whole());
    viewers_.Changed(changed, paletteChanged, stateChanged);
    // Viewers owing the same scroll and rectangle share one message.
    FrameRect encodedRect {-1, -1, 0, 0};
    int encodedScroll = 0;
    QByteArray frame;
    for (int id = 0; id < kMaxWebViewers; ++id) {
        QWebSocket* socket = sockets_[std::size_t(id)];
        if (socket == nullptr)
            continue;
        const ViewerDue due = viewers_.TakeDue(id, std::size_t(std::max<qint64>(0, socket->bytesToWrite())));
        if (due.palette)
            socket->sendBinaryMessage(palette_);
        if (due.texts)
            socket->sendTextMessage(QString::fromUtf8(state_));
        const FrameRect rect = picture_.Clipped(due.rect);
        if (rect.Empty() && due.scroll == 0)
            continue;
        if (!(rect == encodedRect) || due.scroll != encodedScroll) {
            frame = QByteArray(qsizetype(picture_.FrameMessageBytes(rect)), Qt::Uninitialized);
            picture_.EncodeFrame(rect, reinterpret_cast<std::uint8_t*>(frame.data()), due.scroll);
            encodedRect = rect;
            encodedScroll = due.scroll;
        }
        socket->sendBinaryMessage(frame);
        ++framesSent_;
    }
}

} // namespace velmaris
