// Start-up: from main to the start window on screen, and to the open step finished (preferences,
// a 2,000-student database, sounds and pictures), beside a bare Qt program that shows the same start
// window drawn with plain Qt calls (the start picture and the version line on black in a frameless
// 800 x 600 window) and then does the open step's work likewise: reads the same preferences file,
// opens the same database and reads its table names, decodes the same pictures (the button faces
// under their mask, the digits, the stars, the sign-in background scaled to its window) and looks
// for the same sound files. Each measurement is a fresh process (this program started again with
// --child), so every run is a cold start; the parent reports the averages.
//
//     QT_QPA_PLATFORM=offscreen bench/ratios.py build/bench/bench_startup

#include "main/application.h"
#include "app/media.h"
#include "data/appversion.h"
#include "data/dbctrl.h"
#include "signin/splashscrn.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

namespace {

QElapsedTimer sinceMain;

void waitUntilExposed(QWidget* w) {
    while (!w->windowHandle() || !w->windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

QPixmap bareMasked(const QString& folder, const char* face, const QPixmap& mask) {
    QImage out = QPixmap(QDir(folder).filePath(ProjectMedia::pictureFileName(QLatin1String(face))))
                     .toImage()
                     .convertToFormat(QImage::Format_ARGB32);
    const QImage m = mask.toImage().convertToFormat(QImage::Format_Grayscale8);
    for (int y = 0; y < std::min(out.height(), m.height()); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        const uchar* grey = m.constScanLine(y);
        for (int x = 0; x < std::min(out.width(), m.width()); ++x)
            row[x] = qRgba(qRed(row[x]), qGreen(row[x]), qBlue(row[x]), grey[x]);
    }
    return QPixmap::fromImage(out);
}

// What the start window shows, painted by hand: the start picture unscaled at its place and the
// version line in white, 18 pixels high, centred under it, on black.
class BareStartWindow : public QWidget {
public:
    BareStartWindow() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
        setFixedSize(800, 600);
        if (QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::black);
        const QPixmap picture(QDir(SpecialFolderWendle::BundleResourcesFolder())
                                  .filePath(ProjectMedia::pictureFileName(QStringLiteral("NBQ2007Splash"))));
        p.drawPixmap(80, 1, picture);
        QFont font = p.font();
        font.setPixelSize(18);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRect(80, 490, 640, 20), Qt::AlignCenter, App::LongVersion());
    }
};

// The open step's work done with plain Qt calls, as a floor beside the program's own.
void bareOpenStep() {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QFile prefs(QDir(config).filePath(QStringLiteral("com.orlavo.vavava.plist")));
    if (prefs.open(QIODevice::ReadOnly))
        prefs.readAll();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bare"));
        db.setDatabaseName(QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
                               .filePath(QStringLiteral("OVR/NB_Data.rbd")));
        if (db.open()) {
            QSqlQuery q(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"), db);
            while (q.next())
                q.value(0);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bare"));
    const QString res = SpecialFolderWendle::BundleResourcesFolder();
    const auto load = [&res](const char* name) {
        return QPixmap(QDir(res).filePath(ProjectMedia::pictureFileName(QLatin1String(name))));
    };
    const QPixmap mask = load("MaskLrg");
    for (const char* face : {"CancelLrg", "ActionLrg", "yellowBtn", "GreenBtn", "ltRedBtn"})
        bareMasked(res, face, mask);
    for (const char* name :
         {"zero",       "One",        "Two",        "Three",       "Four",       "Five",
          "Six",        "Seven",      "Eight",      "Nine",        "Blank",      "neg",
          "new0stars",  "new5stars",  "new10stars", "new15stars",  "new20stars", "new25stars",
          "new30stars", "new35stars", "new40stars", "NBQProxyIcon"})
        load(name);
    load("CustomBlueBkg").scaled(800, 676, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    for (const QString& sound : ProjectMedia::soundNames())
        QFileInfo::exists(QDir(res).filePath(ProjectMedia::soundFileName(sound)));
}

// The child processes: print milliseconds to "shown" and to "ready", then end.
int runChild(int argc, char** argv, bool bare) {
    App::Application app(argc, argv);
    if (bare) {
        BareStartWindow window;
        window.show();
        waitUntilExposed(&window);
        const qint64 shown = sinceMain.nsecsElapsed();
        bareOpenStep();
        const qint64 ready = sinceMain.nsecsElapsed();
        std::printf("%lld %lld\n", shown, ready);
        return 0;
    }
    app.installProgramServices();
    SplashScrn* splash = SplashScrn::instance();
    waitUntilExposed(splash);
    const qint64 shown = sinceMain.nsecsElapsed();
    app.Event_Open();
    const qint64 ready = sinceMain.nsecsElapsed();
    std::printf("%lld %lld\n", shown, ready);
    return 0;
}

// A data folder with a 2,000-student database, made once for all children.
QString dataHome() {
    static QTemporaryDir home;
    static bool made = false;
    if (!made) {
        made = true;
        const QString data = home.filePath("data");
        QDir().mkpath(data + "/OVR");
        qputenv("XDG_DATA_HOME", data.toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", home.filePath("config").toLocal8Bit());
        QDir().mkpath(home.filePath("config"));
        DBCtrl::createNewDBFile(data + "/OVR/NB_Data.rbd");
        QSqlDatabase db = DBCtrl::NBData();
        db.transaction();
        for (int c = 0; c < 40; ++c) {
            for (int s = 0; s < 50; ++s) {
                QSqlQuery q(db);
                q.prepare("INSERT INTO Names (StName, StClass, StStars, StPW) VALUES (?, ?, '3', '')");
                q.addBindValue(QStringLiteral("Student %1 %2").arg(c).arg(s));
                q.addBindValue(QStringLiteral("Class %1").arg(c));
                q.exec();
            }
        }
        db.commit();
        DBCtrl::closeDB();
    }
    return home.path();
}

void measure(benchmark::State& state, const char* which, bool toReady) {
    dataHome();
    for (auto _ : state) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--child"), QString::fromLatin1(which)});
        child.waitForFinished(60000);
        const QList<QByteArray> times = child.readAllStandardOutput().trimmed().split(' ');
        const double ns = times.value(toReady ? 1 : 0).toDouble();
        state.SetIterationTime(ns / 1e9);
    }
}

void StartWindowShown(benchmark::State& state) {
    measure(state, "program", false);
}
void StartWindowShown_Floor(benchmark::State& state) {
    measure(state, "bare", false);
}
void OpenStepFinished(benchmark::State& state) {
    measure(state, "program", true);
}
void OpenStepFinished_Floor(benchmark::State& state) {
    measure(state, "bare", true);
}

BENCHMARK(StartWindowShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(StartWindowShown_Floor)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(OpenStepFinished)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(OpenStepFinished_Floor)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char** argv) {
    sinceMain.start();
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0)
        return runChild(argc, argv, std::strcmp(argv[2], "bare") == 0);
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
