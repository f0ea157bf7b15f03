// libFuzzer target: any bytes as a web server's answer to the version check's HTTP client, which
// reads them through a real connection to a server of the harness's own on this computer. The first
// byte chooses the bound of the body, the second the size of the portions the server sends in; the
// rest is the answer, after which the server closes the connection.
//
// Whatever the answer, the client raises exactly one event: a page with a final status (200 to 999)
// and a body within its bound made of the answer's own bytes in their order, or an error. The same
// answer gives the same event whether it comes at once or in portions, so no state of the parser
// depends on where the reads happened to cut. It never hangs: a client still waiting long after the
// server closed aborts, as does any violation; the fuzzer reports the input that caused it.

#include "support/webclient.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_webclient: %s\n", what);
        std::abort();
    }
}

struct Outcome {
    int pages = 0;
    int errors = 0;
    int status = 0;
    QByteArray body;
    int code = 0;

    bool operator==(const Outcome&) const = default;
};

// Whether every byte of `part` is found in `whole`, in the same order.
bool inOrderWithin(const QByteArray& part, const QByteArray& whole) {
    qsizetype at = 0;
    for (const char c : part) {
        at = whole.indexOf(c, at);
        if (at < 0)
            return false;
        ++at;
    }
    return true;
}

// Serves `answer` to one GET of the client, in portions of `portion` bytes (all at once when 0),
// once the request's head has come, then closes; returns what the client raised.
Outcome fetch(const QByteArray& answer, qsizetype portion, qsizetype maxBody) {
    QTcpServer server;
    check(server.listen(QHostAddress::LocalHost, 0), "the harness's server cannot listen");
    WebClient client(maxBody);
    Outcome out;
    QObject::connect(&client, &WebClient::pageReceived, [&out](int status, const QByteArray& body) {
        ++out.pages;
        out.status = status;
        out.body = body;
    });
    QObject::connect(&client, &WebClient::error, [&out](int code) {
        ++out.errors;
        out.code = code;
    });

    bool served = false; // everything sent and the connection closed, or the client went first
    QTcpSocket* peer = nullptr;
    QByteArray request;
    qsizetype sent = 0;
    std::function<void()> sendNext = [&] {
        if (!peer || served)
            return;
        const qsizetype size = portion > 0 ? portion : answer.size();
        peer->write(answer.mid(sent, size));
        peer->flush();
        sent += size;
        if (sent < answer.size()) {
            QTimer::singleShot(0, peer, sendNext);
            return;
        }
        peer->disconnectFromHost();
        served = true;
    };
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        peer = server.nextPendingConnection();
        QObject::connect(peer, &QTcpSocket::readyRead, peer, [&] {
            // The request is read whole before the answer starts, so that closing never resets a
            // connection with unread bytes.
            const bool waiting = !request.contains("\r\n\r\n");
            request += peer->readAll();
            if (waiting && request.contains("\r\n\r\n"))
                sendNext();
        });
        QObject::connect(peer, &QTcpSocket::disconnected, peer, [&] { served = true; });
    });

    client.get(QUrl(QStringLiteral("http://127.0.0.1:%1/nbqversion.txt").arg(server.serverPort())));
    QElapsedTimer clock;
    clock.start();
    while (!(served && out.pages + out.errors > 0)) {
        check(clock.elapsed() < 10000, "the client did not answer after the server closed");
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    // Whatever is still on its way for the client comes now: a second event would show here.
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    check(!client.isBusy(), "the client is still busy after its event");
    if (peer)
        peer->abort();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return out;
}

void checkOutcome(const Outcome& o, const QByteArray& answer, qsizetype maxBody) {
    check(o.pages + o.errors == 1, "the client raised no event, or more than one");
    if (o.pages) {
        check(o.status >= 200 && o.status <= 999, "a page with a status that is not final");
        check(o.body.size() <= maxBody, "a body past its bound");
        check(inOrderWithin(o.body, answer), "a body with bytes the server never sent");
    } else {
        check(o.code != 0, "an error without its number");
        check(o.body.isEmpty() && o.status == 0, "an error with a page");
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    static constexpr qsizetype kBounds[] = {1, 7, 64, 1000, 64 * 1024};
    const qsizetype maxBody = kBounds[data[0] % std::size(kBounds)];
    const QByteArray answer(reinterpret_cast<const char*>(data + 2), static_cast<qsizetype>(size - 2));
    // Small portions, but never more than a few hundred of them.
    const qsizetype portion = std::max<qsizetype>(1 + data[1] % 64, answer.size() / 256 + 1);

    const Outcome whole = fetch(answer, 0, maxBody);
    checkOutcome(whole, answer, maxBody);
    const Outcome inPortions = fetch(answer, portion, maxBody);
    checkOutcome(inPortions, answer, maxBody);
    check(whole == inPortions, "the answer read differently when it came in portions");
    return 0;
}
