// The version check against a web server of the test's own on 127.0.0.1: every kind of answer and
// failure ends in the window's texts, height and buttons, with the spinner stopped; only the newest
// request answers; nothing reaches a closed window.

#include "data/appversion.h"
#include "main/routes.h"
#include "signin/namescrn.h"
#include "support/checkversscrn.h"
#include "support/lookcheck.h"
#include "support/webclient.h"

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>

#include <deque>
#include <memory>
#include <optional>

namespace {

// A tiny HTTP server: each request takes the next scripted answer; an empty answer keeps the
// connection open without a word. A streaming answer sends its body (or, for Headers, header lines
// after the status line) as `chunk` every `everyMs` milliseconds, without end. A raw answer is sent
// as it stands, at once or `piece` bytes every millisecond, and the connection is then closed unless
// it is to be kept open.
class LocalServer : public QObject {
    Q_OBJECT
public:
    enum class Stream { None, Body, Headers };
    struct Answer {
        int status = 200;
        QByteArray body;
        bool silent = false;
        Stream stream = Stream::None;
        QByteArray chunk{};
        int everyMs = 0;
        std::optional<QByteArray> raw{};
        int piece = 0;
        bool keepOpen = false;
    };
    std::deque<Answer> answers;
    QStringList requests; // "GET /path"
    QList<QByteArray> heads; // each request's whole head
    int disconnects = 0;

    LocalServer() {
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = server_.nextPendingConnection()) {
                connect(s, &QTcpSocket::readyRead, this, [this, s] { readRequest(s); });
                connect(s, &QTcpSocket::disconnected, this, [this, s] {
                    ++disconnects;
                    s->deleteLater();
                });
            }
        });
    }
    bool listen() { return server_.listen(QHostAddress(QStringLiteral("127.0.0.1")), 0); }
    QString address() const { return QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort()); }

private:
    void readRequest(QTcpSocket* s) {
        QByteArray& buffer = buffers_[s];
        buffer += s->readAll();
        if (!buffer.contains("\r\n\r\n"))
            return;
        requests << QString::fromLatin1(buffer.left(buffer.indexOf(" HTTP/")));
        heads << buffer.left(buffer.indexOf("\r\n\r\n") + 4);
        buffer.clear();
        const Answer a = answers.empty() ? Answer{} : answers.front();
        if (!answers.empty())
            answers.pop_front();
        if (a.silent)
            return;
        if (a.raw) {
            sendRaw(s, *a.raw, a.piece, a.keepOpen);
            return;
        }
        if (a.stream != Stream::None) {
            s->write(a.stream == Stream::Body ? "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n"
                                                "Connection: close\r\n\r\n" + a.body
                                              : QByteArray("HTTP/1.1 200 OK\r\n"));
            auto* pump = new QTimer(s);
            connect(pump, &QTimer::timeout, s, [s, a] {
                // Never more than a little waits unsent: the test wants a server that keeps up, not
                // one that fills its memory.
                if (s->bytesToWrite() < 256 * 1024)
                    s->write(a.chunk);
            });
            pump->start(a.everyMs);
            return;
        }
        const QByteArray reason = a.status == 200 ? "OK" : "Status";
        QByteArray out = "HTTP/1.1 " + QByteArray::number(a.status) + " " + reason + "\r\n";
        out += "Content-Type: text/plain\r\nContent-Length: " + QByteArray::number(a.body.size()) +
               "\r\nConnection: close\r\n\r\n" + a.body;
        s->write(out);
        s->disconnectFromHost();
    }

    void sendRaw(QTcpSocket* s, const QByteArray& raw, int piece, bool keepOpen) {
        if (piece <= 0) {
            s->write(raw);
            if (!keepOpen)
                s->disconnectFromHost();
            return;
        }
        auto* pump = new QTimer(s);
        auto sent = std::make_shared<qsizetype>(0);
        connect(pump, &QTimer::timeout, s, [s, raw, piece, keepOpen, pump, sent] {
            s->write(raw.mid(*sent, piece));
            *sent += piece;
            if (*sent < raw.size())
                return;
            pump->stop();
            if (!keepOpen)
                s->disconnectFromHost();
        });
        pump->start(1);
    }

    QTcpServer server_;
    QHash<QTcpSocket*, QByteArray> buffers_;
};

class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

template <typename T> T* control(QWidget* w, const char* name) {
    return w->findChild<T*>(QLatin1String(name));
}

} // namespace

class TestCheckVersScrn : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void opensIdle();
    void answers_data();
    void answers();
    void longBodyIsReadUpTo64KB();
    void endlessAnswers_data();
    void endlessAnswers();
    void framing_data();
    void framing();
    void requestNamesTheHostAndAsksToClose();
    void failures_data();
    void failures();
    void failureThenAnswerGrowsTheWindow();
    void pressWhileWaitingOnlyTheLastAnswers();
    void closingWhileWaiting();
    void closingDuringAFloodDoesNotWait();
    void productPageAndKeys();
    void releasesAreReadAsYearAndRelease_data();
    void releasesAreReadAsYearAndRelease();

private:
    checkVersScrn* open();
    void press(checkVersScrn* w) { control<QPushButton>(w, "checkBtn")->click(); }
    // Waits until the spinner stops; false when it keeps turning.
    bool settled(checkVersScrn* w, int ms = 5000);
    QString result(checkVersScrn* w) { return control<QLabel>(w, "ResultTxt")->text(); }
    // With NBR_SHOTS_DIR set, the window is saved there as a picture.
    void shoot(QWidget* w, const QString& name);

    LocalServer server_;
};

void TestCheckVersScrn::initTestCase() {
    QVERIFY(server_.listen());
}

void TestCheckVersScrn::init() {
    checkVersScrn::setServer(server_.address(), 3000);
    server_.answers.clear();
    server_.requests.clear();
    server_.heads.clear();
}

void TestCheckVersScrn::cleanup() {
    if (checkVersScrn::exists())
        checkVersScrn::instance()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

checkVersScrn* TestCheckVersScrn::open() {
    checkVersScrn::showWindow();
    return checkVersScrn::instance();
}

void TestCheckVersScrn::shoot(QWidget* w, const QString& name) {
    Look::saveShot(w, QStringLiteral("version-%1.png").arg(name));
}

bool TestCheckVersScrn::settled(checkVersScrn* w, int ms) {
    auto* wheel = control<ProgressWheel>(w, "progArrows");
    QDeadlineTimer deadline(ms);
    while (!wheel->isHidden() && !deadline.hasExpired())
        QTest::qWait(10);
    return wheel->isHidden() && !wheel->isTurning();
}

void TestCheckVersScrn::opensIdle() {
    Routes::install();
    NameScrn::links().checkVersion();
    QVERIFY(checkVersScrn::exists());
    checkVersScrn* w = checkVersScrn::instance();
    QVERIFY(w->isVisible());
    QVERIFY(!w->isModal());
    QVERIFY(w->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(w->size(), QSize(442, 230));
    QCOMPARE(w->minimumSize(), w->maximumSize());
    QCOMPARE(control<QLabel>(w, "StaticText1")->text(),
             QStringLiteral("Your current version of Numbrook Riza is:"));
    QVERIFY(control<QLabel>(w, "StaticText1")->font().bold());
    QCOMPARE(control<QLabel>(w, "StaticText2")->text(), App::LongVersion());
    QCOMPARE(control<QLabel>(w, "StaticText3")->text(),
             QStringLiteral("To check as to whether a more recent version exists:\n"
                            "   1) Connect to the internet as you normally do.\n"
                            "   2) Click the button to check with the Orlavo site."));
    QCOMPARE(control<QPushButton>(w, "checkBtn")->text(), QStringLiteral("Check for Update"));
    QVERIFY(control<QPushButton>(w, "checkBtn")->isDefault());
    QCOMPARE(control<QPushButton>(w, "closeBtn")->text(), QStringLiteral("Close"));
    QCOMPARE(control<QPushButton>(w, "downloadBtn")->text(), QStringLiteral("Go to 'Orlavo' Site"));
    QCOMPARE(control<QPushButton>(w, "downloadBtn")->geometry(), QRect(120, 273, 200, 20));
    auto* wheel = control<ProgressWheel>(w, "progArrows");
    QCOMPARE(wheel->geometry(), QRect(350, 147, 16, 16));
    QVERIFY(wheel->isHidden());
    QVERIFY(!wheel->isTurning());
    QCOMPARE(result(w), QString());
    shoot(w, QStringLiteral("idle"));

    // Asked again while open: the same window, in front.
    NameScrn::links().checkVersion();
    QCOMPARE(checkVersScrn::instance(), w);
}

void TestCheckVersScrn::answers_data() {
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("height");
    const QString latest = QStringLiteral("You have the latest version\nCheck back for new updates");
    // An answer whose first field holds no release (a captive portal's page, an empty or moved file
    // served with 200) says nothing about the running release: the check failed, and may be tried again.
    const QString noRelease = QStringLiteral("An error occurred. Type: 299");
    QTest::newRow("newer") << 200 << QByteArray("20131\tFaster rounds.\tnot read")
                           << "Numbrook Riza version 2013r1 is available.\nFaster rounds." << 364;
    QTest::newRow("equal") << 200 << QByteArray("20121\tnote") << latest << 300;
    QTest::newRow("older") << 200 << QByteArray("20111\tnote") << latest << 300;
    QTest::newRow("text first field") << 200 << QByteArray("Version\tnote") << noRelease << 230;
    QTest::newRow("four digits") << 200 << QByteArray("2013\tnote") << noRelease << 230;
    QTest::newRow("one digit") << 200 << QByteArray("7") << noRelease << 230;
    QTest::newRow("empty first field") << 200 << QByteArray("\t20131\tnote") << noRelease << 230;
    QTest::newRow("empty body") << 200 << QByteArray() << noRelease << 230;
    QTest::newRow("blank lines") << 200 << QByteArray("\r\n\r\n") << noRelease << 230;
    QTest::newRow("a sign-in page") << 200
                                    << QByteArray("<html><body>Sign in to use this network</body></html>")
                                    << noRelease << 230;
    QTest::newRow("no tab") << 200 << QByteArray("20131\r\n")
                            << "Numbrook Riza version 2013r1 is available.\n"
                            << 364;
    QTest::newRow("six digits") << 200 << QByteArray("201312\tDecember")
                                << "Numbrook Riza version 2013r12 is available.\nDecember" << 364;
    QTest::newRow("note with markup")
        << 200 << QByteArray("20131\t<b>bold</b> & <i>new</i>")
        << "Numbrook Riza version 2013r1 is available.\n<b>bold</b> & <i>new</i>" << 364;
    QTest::newRow("UTF-8 note")
        << 200 << QByteArray("20131\tSch\xC3\xB6n \xE2\x80\x93 neu")
        << QString::fromUtf8("Numbrook Riza version 2013r1 is available.\nSch\xC3\xB6n \xE2\x80\x93 neu")
        << 364;
    QTest::newRow("404") << 404 << QByteArray("gone") << "File Not Found\n" << 230;
    QTest::newRow("403") << 403 << QByteArray("no") << "Path is Forbidden\n" << 230;
    QTest::newRow("500") << 500 << QByteArray("oops") << "There was an error in getting the information.\n"
                         << 230;
}

void TestCheckVersScrn::answers() {
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(QString, shown);
    QFETCH(int, height);
    QCOMPARE(App::ShortVersion(), QStringLiteral("2012d1"));
    server_.answers.push_back({status, body});
    checkVersScrn* w = open();
    press(w);
    QVERIFY(!control<ProgressWheel>(w, "progArrows")->isHidden());
    QVERIFY(control<ProgressWheel>(w, "progArrows")->isTurning());
    QVERIFY(settled(w));
    QCOMPARE(server_.requests, QStringList{"GET /NBQ/NBQVers.txt"});
    QCOMPARE(result(w), shown);
    QCOMPARE(control<QLabel>(w, "ResultTxt")->textFormat(), Qt::PlainText);
    QCOMPARE(w->size(), QSize(442, height));
    // An answer ends the checking; a failure leaves it to be tried again.
    const bool failed = shown.startsWith(QLatin1String("An error occurred."));
    QCOMPARE(control<QPushButton>(w, "checkBtn")->isEnabled(), failed);
    shoot(w, QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('-')));
}

void TestCheckVersScrn::longBodyIsReadUpTo64KB() {
    const QByteArray head("20131\t");
    server_.answers.push_back({200, head + QByteArray(200000, 'a')});
    checkVersScrn* w = open();
    press(w);
    QVERIFY(settled(w));
    QCOMPARE(result(w), QStringLiteral("Numbrook Riza version 2013r1 is available.\n") +
                            QString(checkVersScrn::kMaxBody - head.size(), QLatin1Char('a')));
}

void TestCheckVersScrn::endlessAnswers_data() {
    QTest::addColumn<int>("stream");
    QTest::addColumn<QByteArray>("chunk");
    QTest::addColumn<int>("everyMs");
    QTest::addColumn<QString>("shown");
    const QString timedOut = QStringLiteral("An error occurred. Type: 5");
    QTest::newRow("a body without end, fast") << int(LocalServer::Stream::Body) << QByteArray(4096, 'a') << 1
                                              << QStringLiteral("Numbrook Riza version 2013r1 is available.\n") +
                                                     QString(checkVersScrn::kMaxBody - 6, QLatin1Char('a'));
    QTest::newRow("a body a byte at a time") << int(LocalServer::Stream::Body) << QByteArray("a") << 50 << timedOut;
    QTest::newRow("headers a line at a time") << int(LocalServer::Stream::Headers) << QByteArray("X-A: b\r\n") << 50
                                              << timedOut;
    // More headers than an answer may have: given up as soon as they pass the bound.
    QTest::newRow("headers without end, fast")
        << int(LocalServer::Stream::Headers)
        << (QByteArray("X-A: ") + QByteArray(4000, 'b') + "\r\n").repeated(60) << 1
        << QStringLiteral("An error occurred. Type: 399");
}

// A server that never ends its answer, quickly or slowly: the check ends all the same, by the size of
// what came or by the time the whole answer may take, and lets the connection go.
void TestCheckVersScrn::endlessAnswers() {
    QFETCH(int, stream);
    QFETCH(QByteArray, chunk);
    QFETCH(int, everyMs);
    QFETCH(QString, shown);
    LocalServer::Answer a;
    a.stream = LocalServer::Stream(stream);
    a.body = "20131\t";
    a.chunk = chunk;
    a.everyMs = everyMs;
    server_.answers.push_back(a);
    checkVersScrn::setServer(server_.address(), 1500);
    checkVersScrn* w = open();
    const int before = server_.disconnects;
    QElapsedTimer clock;
    clock.start();
    press(w);
    QVERIFY(settled(w, 6000));
    QVERIFY2(clock.elapsed() < 4000, qPrintable(QStringLiteral("%1 ms").arg(clock.elapsed())));
    QCOMPARE(result(w), shown);
    QTRY_VERIFY(server_.disconnects > before);
    const bool answered = shown.startsWith(QLatin1String("Numbrook Riza version"));
    QCOMPARE(control<QPushButton>(w, "checkBtn")->isEnabled(), !answered);
    QCOMPARE(w->height(), answered ? 364 : 230);
}

void TestCheckVersScrn::framing_data() {
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<int>("piece"); // bytes sent at a time, 0 for all at once
    QTest::addColumn<bool>("keepOpen");
    QTest::addColumn<QString>("shown");
    const QByteArray ok("HTTP/1.1 200 OK\r\n");
    const QByteArray chunked = ok + "Transfer-Encoding: chunked\r\n\r\n"
                                    "6\r\n20131\t\r\nA;kind=note\r\nnote-with-\r\nc\r\nten plus two\r\n"
                                    "0\r\nX-Trailer: t\r\n\r\n";
    const QString newer = QStringLiteral("Numbrook Riza version 2013r1 is available.\n");
    const QString broken = QStringLiteral("An error occurred. Type: 399");
    const QString closed = QStringLiteral("An error occurred. Type: 2");
    // A head of exactly `size` bytes, the blank line that ends it included, then its body.
    const auto headOf = [&](qsizetype size) {
        const QByteArray start = ok + "Content-Length: 9\r\nX-Fill: ";
        return start + QByteArray(size - start.size() - 4, 'f') + "\r\n\r\n" + "20131\tnew";
    };

    QTest::newRow("chunked") << chunked << 0 << true << newer + "note-with-ten plus two";
    QTest::newRow("chunked, a byte at a time") << chunked << 1 << true << newer + "note-with-ten plus two";
    QTest::newRow("chunk size not a number")
        << ok + "Transfer-Encoding: chunked\r\n\r\nzz\r\nabc\r\n0\r\n\r\n"
        << 0 << true << broken;
    QTest::newRow("chunk longer than its size")
        << ok + "Transfer-Encoding: chunked\r\n\r\n3\r\nabcdef\r\n0\r\n\r\n"
        << 0 << true << broken;
    QTest::newRow("chunk size line without end")
        << ok + "Transfer-Encoding: chunked\r\n\r\n" + QByteArray(20000, '0') << 0 << true << broken;
    QTest::newRow("more than Content-Length")
        << ok + "Content-Length: 8\r\n\r\n20131\tabEXTRA" << 0 << true << newer + "ab";
    QTest::newRow("more than Content-Length, a byte at a time")
        << ok + "Content-Length: 8\r\n\r\n20131\tabEXTRA" << 1 << true << newer + "ab";
    // Cut short by the close: the year alone would read as an older release than the running one.
    QTest::newRow("less than Content-Length, then closed")
        << ok + "Content-Length: 13\r\n\r\n2013" << 0 << false << closed;
    QTest::newRow("less than Content-Length, a byte at a time, then closed")
        << ok + "Content-Length: 100\r\n\r\n20131\tshort" << 1 << false << closed;
    QTest::newRow("chunk shorter than its size, then closed")
        << ok + "Transfer-Encoding: chunked\r\n\r\nd\r\n2013" << 0 << false << closed;
    QTest::newRow("chunks without the last one, then closed")
        << ok + "Transfer-Encoding: chunked\r\n\r\n6\r\n20131\t\r\n"
        << 0 << false << closed;
    QTest::newRow("chunks cut inside a size line, then closed")
        << ok + "Transfer-Encoding: chunked\r\n\r\n6\r\n20131\t\r\n0" << 0 << false << closed;
    QTest::newRow("no length, read to the close")
        << QByteArray("HTTP/1.0 200 OK\r\n\r\n20131\tten") << 0 << false << newer + "ten";
    QTest::newRow("head as long as allowed") << headOf(WebClient::kMaxHeaders) << 0 << true << newer + "new";
    QTest::newRow("head a byte too long") << headOf(WebClient::kMaxHeaders + 1) << 0 << true << broken;
    QTest::newRow("header line without end") << ok + "X-A: " + QByteArray(20000, 'b') << 0 << true << broken;
    QTest::newRow("interim answer first")
        << "HTTP/1.1 100 Continue\r\n\r\n" + ok + "Content-Length: 9\r\n\r\n20131\tnew" << 0 << true
        << newer + "new";
    QTest::newRow("not HTTP") << QByteArray("hello there\r\n\r\n") << 0 << true << broken;
    QTest::newRow("redirect is an answer of its own")
        << QByteArray("HTTP/1.1 301 Moved Permanently\r\nLocation: /elsewhere\r\nContent-Length: 0\r\n\r\n")
        << 0 << true << QStringLiteral("There was an error in getting the information.\n");
    QTest::newRow("closed without a word") << QByteArray() << 0 << false << closed;
    QTest::newRow("closed inside the head") << ok + "X-A: b" << 0 << false << closed;
}

// How the answer comes on the wire: whatever its framing, the check ends as soon as the answer is
// whole or cannot be one, without waiting for the server to close, and lets the connection go.
void TestCheckVersScrn::framing() {
    QFETCH(QByteArray, raw);
    QFETCH(int, piece);
    QFETCH(bool, keepOpen);
    QFETCH(QString, shown);
    LocalServer::Answer a;
    a.raw = raw;
    a.piece = piece;
    a.keepOpen = keepOpen;
    server_.answers.push_back(a);
    checkVersScrn* w = open();
    const int before = server_.disconnects;
    press(w);
    QVERIFY(settled(w));
    QCOMPARE(result(w), shown);
    QCOMPARE(server_.requests.size(), 1);
    QTRY_VERIFY(server_.disconnects > before);
    const bool answered = shown.startsWith(QLatin1String("Numbrook Riza version")) ||
                          shown.startsWith(QLatin1String("There was"));
    QCOMPARE(control<QPushButton>(w, "checkBtn")->isEnabled(), !answered);
}

void TestCheckVersScrn::requestNamesTheHostAndAsksToClose() {
    server_.answers.push_back({200, "20131\tnote"});
    checkVersScrn* w = open();
    press(w);
    QVERIFY(settled(w));
    QCOMPARE(server_.heads.size(), 1);
    const QList<QByteArray> lines = server_.heads.first().toLower().split('\n');
    QCOMPARE(lines.first(), QByteArray("get /nbq/nbqvers.txt http/1.1\r"));
    const QByteArray host = "host: " + QUrl(server_.address()).authority().toLatin1() + "\r";
    QVERIFY2(lines.contains(host), server_.heads.first().constData());
    QVERIFY2(lines.contains("connection: close\r"), server_.heads.first().constData());
}

void TestCheckVersScrn::failures_data() {
    QTest::addColumn<QString>("where"); // "slow", "refused", "invalid"
    QTest::addColumn<QString>("shown");
    QTest::newRow("slower than the timeout") << "slow"
                                             << "An error occurred. Type: 5";
    QTest::newRow("refused port") << "refused"
                                  << "An error occurred. Type: 1";
    QTest::newRow("no such host") << "invalid"
                                  << "ERROR: No internet connection found.";
}

void TestCheckVersScrn::failures() {
    QFETCH(QString, where);
    QFETCH(QString, shown);
    if (where == "slow") {
        server_.answers.push_back({200, {}, true});
        checkVersScrn::setServer(server_.address(), 300);
    } else if (where == "refused") {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress(QStringLiteral("127.0.0.1")), 0));
        const quint16 port = closed.serverPort();
        closed.close();
        checkVersScrn::setServer(QStringLiteral("http://127.0.0.1:%1").arg(port), 2000);
    } else {
        checkVersScrn::setServer(QStringLiteral("http://numbrook-riza.invalid"), 2000);
    }
    checkVersScrn* w = open();
    press(w);
    QVERIFY(settled(w, 10000));
    QCOMPARE(result(w), shown);
    QCOMPARE(w->size(), QSize(442, 230));
    QVERIFY(control<QPushButton>(w, "checkBtn")->isEnabled());
    shoot(w, QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('-')));
}

void TestCheckVersScrn::failureThenAnswerGrowsTheWindow() {
    server_.answers.push_back({200, {}, true});
    server_.answers.push_back({200, "20131\tnote"});
    checkVersScrn::setServer(server_.address(), 300);
    checkVersScrn* w = open();
    press(w);
    QVERIFY(settled(w));
    QCOMPARE(result(w), QStringLiteral("An error occurred. Type: 5"));
    press(w);
    QCOMPARE(result(w), QStringLiteral("An error occurred. Type: 5")); // until the answer replaces it
    QVERIFY(settled(w));
    QCOMPARE(result(w), QStringLiteral("Numbrook Riza version 2013r1 is available.\nnote"));
    QCOMPARE(w->height(), 364);
}

void TestCheckVersScrn::pressWhileWaitingOnlyTheLastAnswers() {
    // The first request hangs; the second is answered, then nothing more may arrive.
    server_.answers.push_back({200, {}, true});
    server_.answers.push_back({200, "20131\tnote"});
    checkVersScrn* w = open();
    press(w);
    QTRY_COMPARE(server_.requests.size(), 1);
    shoot(w, QStringLiteral("waiting"));
    press(w);
    QVERIFY(settled(w));
    QCOMPARE(server_.requests.size(), 2);
    QCOMPARE(w->height(), 364);
    QTest::qWait(400);
    QCOMPARE(w->height(), 364);
    QCOMPARE(result(w), QStringLiteral("Numbrook Riza version 2013r1 is available.\nnote"));
    QTRY_VERIFY(server_.disconnects >= 1); // the first connection was given up
}

void TestCheckVersScrn::closingWhileWaiting() {
    server_.answers.push_back({200, {}, true});
    checkVersScrn::setServer(server_.address(), 400);
    checkVersScrn* w = open();
    press(w);
    QTRY_COMPARE(server_.requests.size(), 1);
    const int before = server_.disconnects;
    control<QPushButton>(w, "closeBtn")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!checkVersScrn::exists());
    QTRY_VERIFY(server_.disconnects > before);
    QTest::qWait(600); // past the timeout: nothing may arrive anywhere

    w = open();
    QCOMPARE(result(w), QString());
    QCOMPARE(w->height(), 230);
    QVERIFY(control<QPushButton>(w, "checkBtn")->isEnabled());
    QCOMPARE(control<QLabel>(w, "StaticText2")->text(), App::LongVersion());
}

// A server that floods the check must not hold up the closing of the window.
void TestCheckVersScrn::closingDuringAFloodDoesNotWait() {
    LocalServer::Answer a;
    a.stream = LocalServer::Stream::Headers;
    a.chunk = (QByteArray("X-A: ") + QByteArray(4000, 'b') + "\r\n").repeated(60);
    a.everyMs = 1;
    server_.answers.push_back(a);
    checkVersScrn* w = open();
    const int before = server_.disconnects;
    press(w);
    QTRY_COMPARE(server_.requests.size(), 1);
    QTest::qWait(50); // the flood under way
    QElapsedTimer clock;
    clock.start();
    control<QPushButton>(w, "closeBtn")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QStringLiteral("%1 ms").arg(clock.elapsed())));
    QVERIFY(!checkVersScrn::exists());
    QTRY_VERIFY(server_.disconnects > before);
}

void TestCheckVersScrn::productPageAndKeys() {
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &recorder, "open");
    checkVersScrn* w = open();
    control<QPushButton>(w, "downloadBtn")->click();
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    QCOMPARE(recorder.opened, QList<QUrl>{QUrl(server_.address() + QStringLiteral("/pages/VAVava.html"))});
    QVERIFY(checkVersScrn::exists());

    // Escape leaves it open; Return presses "Check for Update", even with Close focused.
    server_.answers.push_back({404, "x"});
    QVERIFY(QTest::qWaitForWindowExposed(w));
    control<QPushButton>(w, "closeBtn")->setFocus();
    QTest::keyClick(w, Qt::Key_Escape);
    QVERIFY(checkVersScrn::exists() && w->isVisible());
    QTest::keyClick(control<QPushButton>(w, "closeBtn"), Qt::Key_Return);
    QVERIFY(checkVersScrn::exists());
    QVERIFY(settled(w));
    QCOMPARE(result(w), QStringLiteral("File Not Found\n"));

    // The real server is the maker's own.
    checkVersScrn::setServer(QStringLiteral("http://www.orlavo.com"));
    QCOMPARE(checkVersScrn::versionFileUrl(), QStringLiteral("http://www.orlavo.com/NBQ/NBQVers.txt"));
}

void TestCheckVersScrn::releasesAreReadAsYearAndRelease_data() {
    QTest::addColumn<QString>("published");
    QTest::addColumn<QString>("running");
    QTest::addColumn<bool>("newer");
    QTest::addColumn<QString>("shown");
    QTest::newRow("same release") << "20121"
                                  << "2012d1" << false << "2012r1";
    QTest::newRow("next release") << "20122"
                                  << "2012d1" << true << "2012r2";
    QTest::newRow("next year") << "20131"
                               << "2012d1" << true << "2013r1";
    QTest::newRow("release 12 after 9") << "201212"
                                        << "2012d9" << true << "2012r12";
    QTest::newRow("release 9 before 12") << "20129"
                                         << "2012d12" << false << "2012r9";
    QTest::newRow("long release") << "2012123456789012345678901"
                                  << "2012d1" << true << "2012r123456789012345678901";
    QTest::newRow("blank first") << " 20131"
                                 << "2012d1" << true << "2013r1";
    // No release at all (shown empty).
    QTest::newRow("too short") << "999"
                               << "2012d1" << false << "";
    QTest::newRow("a year alone") << "2013"
                                  << "2012d1" << false << "";
    QTest::newRow("text") << "Version 20131"
                          << "2012d1" << false << "";
    QTest::newRow("empty") << ""
                           << "2012d1" << false << "";
}

void TestCheckVersScrn::releasesAreReadAsYearAndRelease() {
    QFETCH(QString, published);
    QFETCH(QString, running);
    QFETCH(bool, newer);
    QFETCH(QString, shown);
    const auto p = checkVersScrn::publishedRelease(published);
    QCOMPARE(p.has_value(), !shown.isEmpty());
    if (!p)
        return;
    QCOMPARE(checkVersScrn::runningRelease(running) < *p, newer);
    QCOMPARE(p->shown(), shown);
}

QTEST_MAIN(TestCheckVersScrn)
#include "tst_checkversscrn.moc"
