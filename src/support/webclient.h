#pragma once

// The version check's web client: an HTTP/1.1 GET of a plain http:// address over a TCP socket that
// lives on the thread that made the client. Qt's own HTTP client reads in a thread of its own that a
// server sending without pause can keep busy for ever, so that neither a time limit nor closing the
// window gets the connection back; here every byte is read on the caller's thread, in portions of a
// bounded size, between which the event loop runs.
//
// The answer's head (status line and header lines, interim "100 Continue" answers included) may be
// at most kMaxHeaders bytes; its body is read up to the bound given to the constructor, framed by
// Content-Length, by chunks or by the server closing. Once the body is whole, or at its bound, the
// answer is raised and the connection let go, whatever the server may still send. A head past its
// bound, a head that is not HTTP, broken chunk framing and a body that the server's close cuts short
// of its length or of its last chunk are failures. A redirect is an answer like
// any other: its status is what the caller gets. The proxy is the application's, as for every socket.
//
// Failures are numbered as QNetworkReply::NetworkError (ConnectionRefusedError, HostNotFoundError,
// ProtocolFailure, ...). Both events come from the event loop, never from inside get().

#include <QAbstractSocket>
#include <QByteArray>
#include <QByteArrayView>
#include <QObject>

class QTcpSocket;
class QUrl;

class WebClient : public QObject {
    Q_OBJECT
public:
    static constexpr qsizetype kMaxHeaders = 16 * 1024;

    explicit WebClient(qsizetype maxBody, QObject* parent = nullptr);
    ~WebClient() override;

    // Starts the GET, giving up any request still under way.
    void get(const QUrl& url);
    // Gives up the request under way, if any, and lets its connection go; nothing more is raised
    // for it.
    void close();
    bool isBusy() const;

signals:
    void pageReceived(int status, const QByteArray& body);
    void error(int code);

private:
    enum class Stage { Idle, Connecting, Head, Body };
    enum class Framing { Length, Chunks, UntilClose };
    enum class ChunkPart { Size, Data, LineEnd };

    void start(const QUrl& url);
    void readArrived();
    void take(QByteArrayView& rest);
    bool takeHead(QByteArrayView& rest);
    void takeHeader(QByteArrayView line);
    // Forgets what the head of an answer said (status, length, chunks).
    void forgetHead();
    void startBody();
    void takeBody(QByteArrayView& rest);
    void takeChunks(QByteArrayView& rest);
    void keep(QByteArrayView bytes);
    void socketFailed(QAbstractSocket::SocketError socketError);
    void endOfStream();
    void answer();
    void fail(int code);

    const qsizetype maxBody_;
    QTcpSocket* socket_ = nullptr;
    Stage stage_ = Stage::Idle;
    // Counts the requests, so that a start still queued for one that was given up does nothing.
    quint64 requests_ = 0;
    QByteArray in_; // what came and is not taken yet: part of a line of the head or of the framing
    qsizetype headBytes_ = 0;
    int status_ = 0;
    qint64 contentLength_ = -1;
    bool lengthBroken_ = false;
    bool chunked_ = false;
    Framing framing_ = Framing::UntilClose;
    ChunkPart chunkPart_ = ChunkPart::Size;
    qint64 left_ = 0; // of the body (Length) or of the chunk being read (Chunks)
    QByteArray body_;
};
