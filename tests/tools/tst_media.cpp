// Every picture and sound the program loads by name is in resources/, readable, and shaped the
// way the windows draw it. The expected sizes below come from the windows' layouts, not from
// the generator, so a renamed file, a lost case ("Wrong5.wav"), a picture painted at the
// wrong size or a sound in the wrong format fails here.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QtEndian>
#include <QtTest>

namespace {

QString resourcesDir() {
    const QByteArray env = qgetenv("NBR_RESOURCES_DIR");
    if (!env.isEmpty())
        return QString::fromLocal8Bit(env);
    // Run by hand from a build folder: fall back to the checkout this file lives in.
    return QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../../resources"));
}

struct Expected {
    const char* file;
    int w, h;
    bool alpha; // drawn over something else, so it must be able to be see-through
};

// Size is what the place that draws it needs; see tools/README.md for the reasons.
const Expected kPictures[] = {
    {"CancelLrg.png", 160, 36, true},
    {"ActionLrg.png", 160, 36, true},
    {"yellowBtn.png", 160, 36, true},
    {"GreenBtn.png", 160, 36, true},
    {"ltRedBtn.png", 160, 36, true},
    {"MaskLrg.png", 160, 36, false},
    {"blueCheckBox.png", 22, 22, true},
    {"boxWithCheck.png", 22, 22, true},
    {"CkBoxMask.png", 22, 22, false},
    {"plusminuspic.png", 45, 66, true},
    {"button64.png", 48, 48, true},
    {"selMDBtn.jpg", 48, 48, false},
    {"curLocBtn.png", 48, 48, true},
    {"CBoxNorm.jpg", 48, 48, false},
    {"ZeriBtn.png", 48, 48, true},
    {"MinusBtn.png", 48, 48, true},
    {"TimesBtn.png", 48, 48, true},
    {"DivBtn.png", 48, 48, true},
    {"AllBtn.png", 48, 48, true},
    {"easyStartBtn.png", 175, 48, true},
    {"NoStar.jpg", 32, 32, false},
    {"small star.jpg", 32, 32, false},
    {"XStar.jpg", 32, 24, false},
    {"Click2.jpg", 32, 24, false},
    {"zero.jpg", 24, 32, false},
    {"One.jpg", 24, 32, false},
    {"Two.jpg", 24, 32, false},
    {"Three.jpg", 24, 32, false},
    {"Four.jpg", 24, 32, false},
    {"Five.jpg", 24, 32, false},
    {"Six.jpg", 24, 32, false},
    {"Seven.jpg", 24, 32, false},
    {"Eight.jpg", 24, 32, false},
    {"Nine.jpg", 24, 32, false},
    {"Blank.jpg", 24, 32, false},
    {"neg.jpg", 24, 32, false},
    {"new0stars.png", 100, 24, true},
    {"new5stars.png", 100, 24, true},
    {"new10stars.png", 100, 24, true},
    {"new15stars.png", 100, 24, true},
    {"new20stars.png", 100, 24, true},
    {"new25stars.png", 100, 24, true},
    {"new30stars.png", 100, 24, true},
    {"new35stars.png", 100, 24, true},
    {"new40stars.png", 100, 24, true},
    {"HOF10Stars.png", 300, 34, true},
    {"HOF10Title.png", 300, 50, true},
    {"CustomBlueBkg.png", 900, 680, false},
    {"CtrlPanel2.jpg", 241, 520, false},
    {"NBQ2007Splash.jpg", 640, 480, false},
    {"congratsBKG2.png", 420, 300, false},
    {"cautionBkg4.png", 420, 184, true},
    {"CurStudGraphic.png", 262, 38, true},
    {"funWMath.png", 210, 34, true},
    {"newerMissPlt.jpg", 144, 335, false},
    {"OVRInfo.jpg", 337, 106, false},
    {"newIndxbdr.png", 8, 540, false},
    {"Prim_Zeri3.png", 48, 48, true},
    {"Prim_Minus3.png", 48, 48, true},
    {"Prim_Times3.png", 48, 48, true},
    {"Prim_Div3.png", 48, 48, true},
    {"MathBskt2.png", 90, 108, true},
    {"MathFunnel2.png", 90, 74, true},
    {"can_open3.png", 59, 110, true},
    {"can_closed3.png", 59, 110, true},
    {"TBHelp.jpg", 30, 28, false},
    {"roundTBmask.png", 30, 28, false},
    {"Hi.Lo.png", 12, 154, true},
    {"BlkBkg.jpg", 290, 84, false},
    {"newProgCnv.jpg", 29, 319, false},
    {"new10Icon64.png", 64, 64, true},
    {"newCaution64.png", 64, 64, true},
    {"NBQProxyIcon.png", 32, 32, true},
    // The program's icon at the sizes of the desktop's icon theme (installed, not loaded).
    {"NBQProxyIcon48.png", 48, 48, true},
    {"NBQProxyIcon64.png", 64, 64, true},
    {"NBQProxyIcon128.png", 128, 128, true},
    {"NBQProxyIcon256.png", 256, 256, true},
};

const char* const kSounds[] = {"blip",   "right1", "right2", "right3", "right4", "right5", "right6",
                               "right7", "right8", "wrong1", "wrong2", "wrong3", "wrong4", "Wrong5",
                               "Wrong6", "wrong7", "wrong8", "round1", "round2", "round3", "round4",
                               "round5", "round6", "round7", "round8"};

} // namespace

class TestMedia : public QObject {
    Q_OBJECT
private slots:
    void pictures_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("alpha");
        for (const Expected& e : kPictures)
            QTest::newRow(e.file) << QString::fromLatin1(e.file) << QSize(e.w, e.h) << e.alpha;
    }

    void pictures() {
        QFETCH(QString, file);
        QFETCH(QSize, size);
        QFETCH(bool, alpha);
        const QString path = QDir(resourcesDir()).filePath(file);
        QVERIFY2(QFile::exists(path), qPrintable(path));
        const QImage img(path);
        QVERIFY2(!img.isNull(), qPrintable(path + QStringLiteral(" is not readable")));
        QCOMPARE(img.size(), size);
        if (alpha)
            QVERIFY2(img.hasAlphaChannel(), qPrintable(file + QStringLiteral(" has no transparency")));
    }

    void masksCoverTheirFaces_data() {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("face");
        QTest::newRow("large buttons") << "MaskLrg.png"
                                       << "ActionLrg.png";
        QTest::newRow("check box") << "CkBoxMask.png"
                                   << "boxWithCheck.png";
    }

    void masksCoverTheirFaces() {
        // White in a mask means "show": its centre must be white and its corner dark, and it
        // must show the face wherever the face itself is solid.
        QFETCH(QString, mask);
        QFETCH(QString, face);
        const QImage m =
            QImage(QDir(resourcesDir()).filePath(mask)).convertToFormat(QImage::Format_Grayscale8);
        const QImage f = QImage(QDir(resourcesDir()).filePath(face)).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(m.size(), f.size());
        QVERIFY(qGray(m.pixel(m.width() / 2, m.height() / 2)) > 240);
        QVERIFY(qGray(m.pixel(m.width() - 1, m.height() - 1)) < 40);
        for (int y = 0; y < f.height(); ++y)
            for (int x = 0; x < f.width(); ++x)
                if (qAlpha(f.pixel(x, y)) == 255)
                    QVERIFY2(qGray(m.pixel(x, y)) > 200, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
    }

    void sounds_data() {
        QTest::addColumn<QString>("file");
        for (const char* s : kSounds)
            QTest::newRow(s) << QString::fromLatin1(s) + QStringLiteral(".wav");
    }

    void sounds() {
        QFETCH(QString, file);
        QFile f(QDir(resourcesDir()).filePath(file));
        QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(f.fileName()));
        const QByteArray d = f.readAll();
        QVERIFY(d.size() > 44);
        QCOMPARE(d.mid(0, 4), QByteArray("RIFF"));
        QCOMPARE(d.mid(8, 8), QByteArray("WAVEfmt "));
        const auto u16 = [&](int at) {
            return qFromLittleEndian<quint16>(d.constData() + at);
        };
        const auto u32 = [&](int at) {
            return qFromLittleEndian<quint32>(d.constData() + at);
        };
        QCOMPARE(u16(20), quint16(1));     // PCM
        QCOMPARE(u16(22), quint16(1));     // mono
        QCOMPARE(u32(24), quint32(22050)); // rate
        QCOMPARE(u16(34), quint16(16));    // bits
        QCOMPARE(d.mid(36, 4), QByteArray("data"));
        const quint32 bytes = u32(40);
        QCOMPARE(qsizetype(bytes), d.size() - 44);
        const double secs = bytes / 2.0 / 22050.0;
        QVERIFY2(secs >= 0.2 && secs <= 1.5, qPrintable(QString::number(secs)));
        int peak = 0;
        for (quint32 i = 0; i < bytes / 2; ++i)
            peak = qMax(peak, qAbs(int(qint16(u16(44 + int(i) * 2)))));
        QVERIFY2(peak > 1000, "silent");
        QVERIFY2(peak < 32700, "clipped");
    }
};

QTEST_GUILESS_MAIN(TestMedia)
#include "tst_media.moc"
