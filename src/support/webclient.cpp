#include "webclient.h"

#include <QNetworkReply>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <limits>

namespace {

// Read from the socket a portion at a time: the socket holds no more than this either, so that a
// server that sends faster than the answer is taken in fills its own buffers, not ours.
constexpr qint64 kPortion = WebClient::kMaxHeaders;

int networkError(QAbstractSocket::SocketError socketError) {
    switch (socketError) {
    case QAbstractSocket::ConnectionRefusedError:
        return QNetworkReply::ConnectionRefusedError;
    case QAbstractSocket::RemoteHostClosedError:
        return QNetworkReply::RemoteHostClosedError;
    case QAbstractSocket::HostNotFoundError:
        return QNetworkReply::HostNotFoundError;
    case QAbstractSocket::SocketTimeoutError:
        return QNetworkReply::TimeoutError;
    case QAbstractSocket::ProxyAuthenticationRequiredError:
        return QNetworkReply::ProxyAuthenticationRequiredError;
    case QAbstractSocket::ProxyConnectionRefusedError:
        return QNetworkReply::ProxyConnectionRefusedError;
    case QAbstractSocket::ProxyConnectionClosedError:
        return QNetworkReply::ProxyConnectionClosedError;
    case QAbstractSocket::ProxyNotFoundError:
        return QNetworkReply::ProxyNotFoundError;
    case QAbstractSocket::ProxyConnectionTimeoutError:
        return QNetworkReply::ProxyTimeoutError;
    case QAbstractSocket::ProxyProtocolError:
        return QNetworkReply::UnknownProxyError;
    default:
        return QNetworkReply::UnknownNetworkError;
    }
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The status of "HTTP/1.1 200 OK" (the reason may be missing); 0 when the line is no status line.
int statusOf(QByteArrayView line) {
    if (line.size() < 12 || !line.startsWith("HTTP/") || !isDigit(line[5]) || line[6] != '.' ||
        !isDigit(line[7]) || line[8] != ' ')
        return 0;
    if (!isDigit(line[9]) || !isDigit(line[10]) || !isDigit(line[11]) || line[9] == '0')
        return 0;
    if (line.size() > 12 && line[12] != ' ')
        return 0;
    return (line[9] - '0') * 100 + (line[10] - '0') * 10 + (line[11] - '0');
}

// The size on a chunk's size line ("1A;name=value"); -1 when it is not one.
qint64 chunkSize(QByteArrayView line) {
    if (const qsizetype semicolon = line.indexOf(';'); semicolon >= 0)
        line = line.first(semicolon);
    line = line.trimmed();
    if (line.isEmpty())
        return -1;
    qint64 size = 0;
    for (const char c : line) {
        int digit;
        if (isDigit(c))
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return -1;
        if (size > std::numeric_limits<qint64>::max() / 16)
            return -1;
        size = size * 16 + digit;
    }
    return size;
}

// The next line of `rest` without its line end ("\r\n" or "\n"), taken from `rest`; false when no
// line end has come yet.
bool takeLine(QByteArrayView& rest, QByteArrayView& line, qsizetype& length) {
    const qsizetype end = rest.indexOf('\n');
    if (end < 0)
        return false;
    length = end + 1;
    line = rest.first(end);
    if (line.endsWith('\r'))
        line.chop(1);
    rest = rest.sliced(end + 1);
    return true;
}

} // namespace

WebClient::WebClient(qsizetype maxBody, QObject* parent) : QObject(parent), maxBody_(maxBody) {}

WebClient::~WebClient() {
    close();
}

bool WebClient::isBusy() const {
    return stage_ != Stage::Idle;
}

void WebClient::get(const QUrl& url) {
    close();
    stage_ = Stage::Connecting;
    // Started from the event loop, so that even a failure at once reaches the caller only after
    // get() has returned.
    QTimer::singleShot(0, this, [this, url, request = requests_] {
        if (request == requests_ && stage_ == Stage::Connecting && !socket_)
            start(url);
    });
}

void WebClient::start(const QUrl& url) {
    if (url.scheme() != QLatin1String("http") || url.host().isEmpty()) {
        fail(QNetworkReply::ProtocolUnknownError);
        return;
    }
    QByteArray target = url.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority | QUrl::RemoveFragment);
    if (target.isEmpty())
        target = "/";
    const QByteArray request = "GET " + target + " HTTP/1.1\r\nHost: " +
                               url.authority(QUrl::RemoveUserInfo | QUrl::FullyEncoded).toLatin1() +
                               "\r\nConnection: close\r\n\r\n";
    socket_ = new QTcpSocket(this);
    socket_->setReadBufferSize(kPortion);
    connect(socket_, &QTcpSocket::connected, this, [this, request] {
        stage_ = Stage::Head;
        socket_->write(request);
    });
    connect(socket_, &QTcpSocket::readyRead, this, [this] { readArrived(); });
    connect(socket_, &QTcpSocket::errorOccurred, this,
            [this](QAbstractSocket::SocketError socketError) { socketFailed(socketError); });
    connect(socket_, &QTcpSocket::disconnected, this, [this] { endOfStream(); });
    // The host is looked up without blocking; close() ends the lookup too.
    socket_->connectToHost(url.host(), quint16(url.port(80)));
}

void WebClient::close() {
    ++requests_;
    stage_ = Stage::Idle;
    if (socket_) {
        socket_->disconnect(this);
        socket_->abort();
        socket_->deleteLater();
        socket_ = nullptr;
    }
    in_.clear();
    body_.clear();
    headBytes_ = 0;
    forgetHead();
    left_ = 0;
}

void WebClient::forgetHead() {
    status_ = 0;
    contentLength_ = -1;
    lengthBroken_ = false;
    chunked_ = false;
}

void WebClient::readArrived() {
    QTcpSocket* const socket = socket_;
    while (socket && socket_ == socket && socket->bytesAvailable() > 0) {
        in_ += socket->read(kPortion);
        QByteArrayView rest(in_);
        take(rest);
        if (socket_ == socket)
            in_ = rest.toByteArray();
    }
}

void WebClient::take(QByteArrayView& rest) {
    if (stage_ == Stage::Head && !takeHead(rest))
        return;
    if (stage_ == Stage::Body)
        takeBody(rest);
}

bool WebClient::takeHead(QByteArrayView& rest) {
    QByteArrayView line;
    qsizetype length = 0;
    while (takeLine(rest, line, length)) {
        headBytes_ += length;
        if (headBytes_ > kMaxHeaders) {
            fail(QNetworkReply::ProtocolFailure);
            return false;
        }
        if (status_ == 0) {
            status_ = statusOf(line);
            if (status_ == 0) {
                fail(QNetworkReply::ProtocolFailure);
                return false;
            }
        } else if (!line.isEmpty()) {
            takeHeader(line);
        } else if (status_ < 200) {
            // An interim answer ("100 Continue"): the real one follows.
            forgetHead();
        } else {
            startBody();
            return true;
        }
    }
    if (headBytes_ + rest.size() > kMaxHeaders)
        fail(QNetworkReply::ProtocolFailure);
    return false;
}

void WebClient::takeHeader(QByteArrayView line) {
    const qsizetype colon = line.indexOf(':');
    if (colon <= 0)
        return;
    const QByteArray name = line.first(colon).trimmed().toByteArray().toLower();
    const QByteArrayView value = line.sliced(colon + 1).trimmed();
    if (name == "content-length") {
        bool ok = false;
        const qint64 length = value.toLongLong(&ok);
        if (!ok || length < 0 || (contentLength_ >= 0 && length != contentLength_))
            lengthBroken_ = true;
        else
            contentLength_ = length;
    } else if (name == "transfer-encoding") {
        // Chunked when it is the last of the codings.
        const QByteArray codings = value.toByteArray().toLower();
        chunked_ = codings.split(',').constLast().trimmed() == "chunked";
    }
}

void WebClient::startBody() {
    stage_ = Stage::Body;
    if (chunked_) {
        framing_ = Framing::Chunks;
        chunkPart_ = ChunkPart::Size;
    } else if (lengthBroken_) {
        fail(QNetworkReply::ProtocolFailure);
    } else if (status_ == 204 || status_ == 304 || contentLength_ == 0) {
        answer();
    } else if (contentLength_ > 0) {
        framing_ = Framing::Length;
        left_ = contentLength_;
    } else {
        framing_ = Framing::UntilClose;
    }
}

void WebClient::takeBody(QByteArrayView& rest) {
    if (framing_ == Framing::Chunks) {
        takeChunks(rest);
        return;
    }
    const qsizetype taken =
        framing_ == Framing::Length ? qsizetype(std::min<qint64>(rest.size(), left_)) : rest.size();
    keep(rest.first(taken));
    left_ -= taken;
    // Whatever follows a body of the given length is not part of the answer.
    rest = {};
    if (body_.size() >= maxBody_ || (framing_ == Framing::Length && left_ == 0))
        answer();
}

void WebClient::takeChunks(QByteArrayView& rest) {
    while (stage_ == Stage::Body) {
        switch (chunkPart_) {
        case ChunkPart::Size: {
            QByteArrayView line;
            qsizetype length = 0;
            if (!takeLine(rest, line, length)) {
                if (rest.size() > kMaxHeaders)
                    fail(QNetworkReply::ProtocolFailure);
                return;
            }
            const qint64 size = length > kMaxHeaders ? -1 : chunkSize(line);
            if (size < 0) {
                fail(QNetworkReply::ProtocolFailure);
            } else if (size == 0) {
                // The last chunk: the body is whole, and the trailer that may follow is not needed.
                answer();
            } else {
                left_ = size;
                chunkPart_ = ChunkPart::Data;
            }
            break;
        }
        case ChunkPart::Data: {
            if (rest.isEmpty())
                return;
            const qsizetype taken = qsizetype(std::min<qint64>(rest.size(), left_));
            keep(rest.first(taken));
            rest = rest.sliced(taken);
            left_ -= taken;
            if (body_.size() >= maxBody_)
                answer();
            else if (left_ == 0)
                chunkPart_ = ChunkPart::LineEnd;
            break;
        }
        case ChunkPart::LineEnd:
            if (rest.startsWith("\r\n"))
                rest = rest.sliced(2);
            else if (rest.startsWith('\n'))
                rest = rest.sliced(1);
            else if (rest.isEmpty() || rest == "\r")
                return;
            else
                fail(QNetworkReply::ProtocolFailure);
            chunkPart_ = ChunkPart::Size;
            break;
        }
    }
}

void WebClient::keep(QByteArrayView bytes) {
    body_.append(bytes.first(std::min(bytes.size(), std::max<qsizetype>(0, maxBody_ - body_.size()))));
}

void WebClient::socketFailed(QAbstractSocket::SocketError socketError) {
    if (socketError == QAbstractSocket::RemoteHostClosedError)
        endOfStream();
    else if (isBusy())
        fail(networkError(socketError));
}

void WebClient::endOfStream() {
    if (!isBusy())
        return;
    readArrived();
    if (!isBusy())
        return;
    // Only a body framed by the close may end at the close. A body shorter than its length, or
    // chunks without the last one, were cut short on the way: taken as they stand, a version file
    // cut after its year would read as an older release than the one running.
    if (stage_ == Stage::Body && framing_ == Framing::UntilClose)
        answer();
    else
        fail(QNetworkReply::RemoteHostClosedError);
}

void WebClient::answer() {
    const int status = status_;
    const QByteArray body = body_;
    close();
    emit pageReceived(status, body);
}

void WebClient::fail(int code) {
    close();
    emit error(code);
}
