// The one reader of files a user chooses: only regular files within a bound, and never a wait.

#include "data/outsidefile.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using OutsideFile::Problem;

Q_DECLARE_METATYPE(OutsideFile::Problem)

class TestOutsideFile : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(dir_.isValid()); }
    void refusesWhatIsNoRegularFileInTime_data();
    void refusesWhatIsNoRegularFileInTime();
    void readsAFileUpToItsBound_data();
    void readsAFileUpToItsBound();

private:
    QString make(const QByteArray& bytes, const char* name = "file") {
        const QString path = dir_.filePath(QLatin1String(name));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return {};
        return path;
    }
    QTemporaryDir dir_;
};

void TestOutsideFile::refusesWhatIsNoRegularFileInTime_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<Problem>("expected");
    QTest::newRow("named pipe without a writer") << "pipe" << Problem::NotRegular;
    QTest::newRow("folder") << "folder" << Problem::NotRegular;
    QTest::newRow("endless device") << "/dev/zero" << Problem::NotRegular;
    QTest::newRow("terminal-like device") << "/dev/null" << Problem::NotRegular;
    QTest::newRow("socket") << "socket" << Problem::CannotOpen;
    QTest::newRow("missing") << "missing" << Problem::CannotOpen;
    QTest::newRow("no path") << "" << Problem::CannotOpen;
    QTest::newRow("over the bound") << "large" << Problem::TooLarge;
}

void TestOutsideFile::refusesWhatIsNoRegularFileInTime() {
    QFETCH(QString, kind);
    QFETCH(Problem, expected);
    QString path = kind;
    if (kind == QLatin1String("pipe")) {
        path = dir_.filePath(QStringLiteral("pipe"));
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind == QLatin1String("folder")) {
        path = dir_.path();
    } else if (kind == QLatin1String("socket")) {
        // A bound socket is in the file system but cannot be opened as a file at all.
        path = dir_.filePath(QStringLiteral("s"));
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(fd >= 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray native = QFile::encodeName(path);
        QVERIFY(native.size() < qsizetype(sizeof address.sun_path));
        std::memcpy(address.sun_path, native.constData(), native.size());
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::close(fd);
    } else if (kind == QLatin1String("missing")) {
        path = dir_.filePath(QStringLiteral("none"));
    } else if (kind == QLatin1String("large")) {
        path = make(QByteArray(4097, 'x'));
    }

    QElapsedTimer clock;
    clock.start();
    const OutsideFile::Contents got = OutsideFile::read(path, 4096);
    QVERIFY2(clock.elapsed() < 1000, "a reader must never wait on what it was given");
    QCOMPARE(got.problem, expected);
    QVERIFY(!got.ok());
    QVERIFY(got.bytes.isEmpty());
}

void TestOutsideFile::readsAFileUpToItsBound_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("small") << QByteArray("Ann\tpw\r\nBen\t\n");
    QTest::newRow("exactly the bound") << QByteArray(4096, 'a');
    QTest::newRow("with NUL bytes") << QByteArray("a\0b\0c", 5);
}

void TestOutsideFile::readsAFileUpToItsBound() {
    QFETCH(QByteArray, bytes);
    const QString path = make(bytes);
    QVERIFY(!path.isEmpty());
    const OutsideFile::Contents got = OutsideFile::read(path, 4096);
    QCOMPARE(got.problem, Problem::None);
    QCOMPARE(got.bytes, bytes);

    // A symbolic link to a regular file is read as the file: a teacher's shortcut is a file.
    const QString link = dir_.filePath(QStringLiteral("link"));
    QFile::remove(link);
    QVERIFY(QFile::link(path, link));
    QCOMPARE(OutsideFile::read(link, 4096).bytes, bytes);
}

QTEST_GUILESS_MAIN(TestOutsideFile)
#include "tst_outsidefile.moc"
