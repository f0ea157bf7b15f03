#include "controls/newcnvbtn.h"
#include "support/lookcheck.h"
#include "data/appversion.h"
#include "data/dbctrl.h"
#include "support/doubles.h"
#include "support/expreporterscrn.h"
#include "support/mailhandler.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QTextEdit>
#include <QUrlQuery>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

// Receives the links the window hands to the desktop instead of a mail program.
class MailCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> links;
public slots:
    void handle(const QUrl& url) { links << url; }
};


class TestExpReporterScrn : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QDesktopServices::setUrlHandler("mailto", &catcher, "handle"); }
    void cleanupTestCase() { QDesktopServices::unsetUrlHandler("mailto"); }
    // A computer with a mail program unless a test says otherwise.
    void init() {
        MailHandler::setQuery([] { return QStringLiteral("mail.desktop"); });
    }
    void cleanup() {
        MailHandler::setQuery(nullptr);
        expReporterScrn::setMailOpener(nullptr);
    }
    void fillsTheReportBox_data();
    void fillsTheReportBox();
    void labelsAtTheirPlaces_data();
    void labelsAtTheirPlaces();
    void reportHandsTheBoxToTheMailProgramOnce();
    void withoutAMailProgramTheReportGoesToTheClipboard_data();
    void withoutAMailProgramTheReportGoesToTheClipboard();
    void theDesktopIsAskedForItsMailProgram_data();
    void theDesktopIsAskedForItsMailProgram();
    void ignoreAndContinueClose();
    void keysNeverCloseOrQuit();
    void quitEndsTheEventLoop();
    void drawsTheRedFrame();

private:
    static void click(expReporterScrn& w, const char* name) {
        auto* b = w.findChild<newCnvBtn*>(name);
        QVERIFY(b);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(10, 10));
    }
    MailCatcher catcher;
};

void TestExpReporterScrn::fillsTheReportBox_data() {
    QTest::addColumn<QString>("report");
    QTest::newRow("report") << "Error: NilObjectException\nSub NameScrn.refreshData( boolean )";
    QTest::newRow("empty") << "";
}

void TestExpReporterScrn::fillsTheReportBox() {
    QFETCH(QString, report);
    expReporterScrn w(report);
    QCOMPARE(w.windowTitle(), QStringLiteral("Error Reporting"));
    QCOMPARE(w.size(), QSize(450, 440));
    QVERIFY(!(w.windowFlags() & Qt::WindowCloseButtonHint));
    const QString box = w.findChild<QTextEdit*>("errFld")->toPlainText();
    QCOMPARE(box, report + "\n" + App::LongVersion() + "\n" + DBCtrl::todayText() +
                      "\n :Please feel free to add your comments.");
}

void TestExpReporterScrn::reportHandsTheBoxToTheMailProgramOnce() {
    catcher.links.clear();
    expReporterScrn w("Error: OutOfBoundsException\nSub GameScrn.nextProblem()");
    w.show();
    auto* box = w.findChild<QTextEdit*>("errFld");
    box->moveCursor(QTextCursor::End);
    QTest::keyClicks(box, " It happened & 100% of the time?");
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClicks(box, "Second line #2");
    const QString typed = box->toPlainText();
    click(w, "reportBtn");
    QCOMPARE(catcher.links.size(), 1);
    const QUrl link = catcher.links[0];
    QCOMPARE(link.scheme(), QStringLiteral("mailto"));
    QCOMPARE(link.path(), QString::fromLatin1(expReporterScrn::kSupportAddress));
    const QUrlQuery query(link);
    QCOMPARE(query.queryItemValue("subject", QUrl::FullyDecoded), QStringLiteral("NB Riza 2012d1 error"));
    QString body = query.queryItemValue("body", QUrl::FullyDecoded);
    QVERIFY(body.contains("\r\n")); // line ends travel as the mail standard wants them
    QCOMPARE(body.replace("\r\n", "\n"), typed);
    QVERIFY(w.isVisible());
    QVERIFY(!w.findChild<newCnvBtn*>("reportBtn")->isVisible());
    QCOMPARE(w.findChild<newCnvBtn*>("ignoreBtn")->myCaption(), QStringLiteral("Continue"));
}

void TestExpReporterScrn::labelsAtTheirPlaces_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place");
    QTest::newRow("StaticText1") << "StaticText1" << QRect(84, 14, 283, 24);
    QTest::newRow("errVersTxt") << "errVersTxt" << QRect(147, 50, 157, 20);
    QTest::newRow("StaticText2") << "StaticText2" << QRect(40, 71, 370, 83);
    QTest::newRow("StaticText3") << "StaticText3" << QRect(40, 164, 370, 38);
    QTest::newRow("StaticText4") << "StaticText4" << QRect(39, 215, 100, 16);
}

void TestExpReporterScrn::labelsAtTheirPlaces() {
    QFETCH(QString, name);
    QFETCH(QRect, place);
    expReporterScrn w("Error: NilObjectException");
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* label = w.findChild<QLabel*>(name);
    QVERIFY(label);
    QCOMPARE(label->geometry(), place);
    // And the text fits its place.
    const QString cut = Look::firstCutOff({label});
    QVERIFY2(cut.isEmpty(), qPrintable(cut));
}

void TestExpReporterScrn::withoutAMailProgramTheReportGoesToTheClipboard_data() {
    // What the desktop names as its mail program, and whether handing the link over succeeds.
    QTest::addColumn<QString>("handler");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<int>("tries");
    // A launcher such as xdg-open starts, and so "succeeds", with no mail program behind it.
    QTest::newRow("none, the launcher starts") << "" << true << 0;
    QTest::newRow("none, nothing starts") << "" << false << 0;
    QTest::newRow("one, that fails to start") << "mail.desktop" << false << 1;
}

void TestExpReporterScrn::withoutAMailProgramTheReportGoesToTheClipboard() {
    QFETCH(QString, handler);
    QFETCH(bool, opens);
    QFETCH(int, tries);
    TestDoubles::ScriptedDialogs dialogs;
    MailHandler::setQuery([handler] { return handler; });
    int tried = 0;
    expReporterScrn::setMailOpener([&](const QUrl&) {
        ++tried;
        return opens;
    });
    QGuiApplication::clipboard()->clear();
    expReporterScrn w("Error: NilObjectException\nSub NameScrn.refreshData( boolean )");
    w.show();
    click(w, "reportBtn");
    QCOMPARE(tried, tries);
    QCOMPARE(dialogs.messages(), QStringList{"No mail program could take the report."});
    QVERIFY(dialogs.shown[0].explanation.contains(QLatin1String(expReporterScrn::kSupportAddress)));
    const QString pasted = QGuiApplication::clipboard()->text();
    QVERIFY(pasted.contains(QLatin1String(expReporterScrn::kSupportAddress)));
    QVERIFY(pasted.contains(w.findChild<QTextEdit*>("errFld")->toPlainText()));
    // Nothing was sent: the report can be tried again, and nothing claims it went.
    QVERIFY(w.findChild<newCnvBtn*>("reportBtn")->isVisible());
    QCOMPARE(w.findChild<newCnvBtn*>("ignoreBtn")->myCaption(), QStringLiteral("Ignore"));
    if (QByteArray(QTest::currentDataTag()).startsWith("none, the launcher"))
        Look::saveShot(&w, QStringLiteral("error-report-no-mail.png"));
}

void TestExpReporterScrn::theDesktopIsAskedForItsMailProgram_data() {
    // A stand-in for the desktop's xdg-mime: what it does, and what the program makes of it.
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("answer");
    QTest::newRow("names one") << QByteArray("echo thunderbird.desktop") << "thunderbird.desktop";
    QTest::newRow("names none") << QByteArray("exit 0") << "";
    QTest::newRow("fails") << QByteArray("echo thunderbird.desktop; exit 3") << "";
    QTest::newRow("says something else") << QByteArray("echo 'usage: xdg-mime ...'") << "";
    QTest::newRow("never answers") << QByteArray("exec /bin/sleep 30") << "";
    QTest::newRow("not installed") << QByteArray() << "";
}

void TestExpReporterScrn::theDesktopIsAskedForItsMailProgram() {
    QFETCH(QByteArray, script);
    QFETCH(QString, answer);
    QTemporaryDir bin;
    QVERIFY(bin.isValid());
    if (!script.isEmpty()) {
        QFile tool(bin.filePath("xdg-mime"));
        QVERIFY(tool.open(QIODevice::WriteOnly));
        // It answers only the question the program is to ask.
        tool.write("#!/bin/sh\n[ \"$*\" = \"query default x-scheme-handler/mailto\" ] || exit 9\n" + script +
                   "\n");
        tool.close();
        QVERIFY(tool.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    }
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toLocal8Bit());
    QElapsedTimer clock;
    clock.start();
    const QString said = MailHandler::askDesktop();
    const qint64 took = clock.elapsed();
    qputenv("PATH", path);
    QCOMPARE(said, answer);
    // A desktop that does not answer is waited for a few seconds, not for ever.
    QVERIFY2(took < 3 * MailHandler::kWaitMs, qPrintable(QString::number(took)));
    // The report asks it: without a mail program nothing is handed over.
    MailHandler::setQuery(nullptr);
    qputenv("PATH", bin.path().toLocal8Bit());
    TestDoubles::ScriptedDialogs dialogs;
    int tried = 0;
    expReporterScrn::setMailOpener([&](const QUrl&) {
        ++tried;
        return true;
    });
    expReporterScrn w("Error: ");
    w.show();
    click(w, "reportBtn");
    qputenv("PATH", path);
    QCOMPARE(tried, answer.isEmpty() ? 0 : 1);
    QCOMPARE(w.findChild<newCnvBtn*>("reportBtn")->isVisible(), answer.isEmpty());
}

void TestExpReporterScrn::ignoreAndContinueClose() {
    for (bool reportFirst : {false, true}) {
        expReporterScrn w("Error: ");
        w.show();
        if (reportFirst)
            click(w, "reportBtn");
        click(w, "ignoreBtn");
        QVERIFY(!w.isVisible());
        QCOMPARE(w.result(), int(QDialog::Accepted));
    }
}

void TestExpReporterScrn::keysNeverCloseOrQuit() {
    // Return and Enter do not end the program from this window: a teacher typing a comment would lose
    // the program and the report with it. Escape does not throw the report away either.
    expReporterScrn w("Error: ");
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* box = w.findChild<QTextEdit*>("errFld");
    const int lines = box->toPlainText().count('\n');
    QEventLoop loop;
    QTimer::singleShot(0, [&] {
        box->setFocus();
        for (QWidget* target : {static_cast<QWidget*>(box), static_cast<QWidget*>(&w)})
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
                QTest::keyClick(target, key);
    });
    // Only a quit ends the loop with 0.
    QTimer::singleShot(300, [&] { loop.exit(7); });
    QCOMPARE(loop.exec(), 7);
    QVERIFY(w.isVisible());
    QCOMPARE(box->toPlainText().count('\n'), lines + 2); // Return and Enter made new lines in the comments
}

void TestExpReporterScrn::quitEndsTheEventLoop() {
    expReporterScrn w("Error: ");
    w.show();
    QEventLoop loop;
    QTimer::singleShot(0, [&] { click(w, "quitBtn"); });
    // Only a quit ends the loop with 0.
    QTimer::singleShot(2000, [&] { loop.exit(1); });
    QCOMPARE(loop.exec(), 0);
    QVERIFY(!w.isVisible());
    // Quitting is not going on: the window's result is not the one of "Ignore".
    QCOMPARE(w.result(), int(QDialog::Rejected));
}

void TestExpReporterScrn::drawsTheRedFrame() {
    expReporterScrn w("Error: ");
    const QImage shot = w.grab().toImage();
    QCOMPARE(shot.pixelColor(1, 220), QColor(255, 0, 0));
    QCOMPARE(shot.pixelColor(225, 438), QColor(255, 0, 0));
}

QTEST_MAIN(TestExpReporterScrn)
#include "tst_expreporterscrn.moc"
