#include "controls/newcnvbtn.h"
#include "support/lookcheck.h"
#include "data/appversion.h"
#include "data/dbctrl.h"
#include "support/doubles.h"
#include "support/expreporterscrn.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QTextEdit>
#include <QUrlQuery>
#include <QDir>
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
    void fillsTheReportBox_data();
    void fillsTheReportBox();
    void reportHandsTheBoxToTheMailProgramOnce();
    void withoutAMailProgramTheReportGoesToTheClipboard();
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

void TestExpReporterScrn::withoutAMailProgramTheReportGoesToTheClipboard() {
    TestDoubles::ScriptedDialogs dialogs;
    int tries = 0;
    expReporterScrn::setMailOpener([&](const QUrl&) {
        ++tries;
        return false;
    });
    QGuiApplication::clipboard()->clear();
    expReporterScrn w("Error: NilObjectException\nSub NameScrn.refreshData( boolean )");
    w.show();
    click(w, "reportBtn");
    expReporterScrn::setMailOpener(nullptr);
    QCOMPARE(tries, 1);
    QCOMPARE(dialogs.messages(), QStringList{"No mail program could take the report."});
    QVERIFY(dialogs.shown[0].explanation.contains(QLatin1String(expReporterScrn::kSupportAddress)));
    const QString pasted = QGuiApplication::clipboard()->text();
    QVERIFY(pasted.contains(QLatin1String(expReporterScrn::kSupportAddress)));
    QVERIFY(pasted.contains(w.findChild<QTextEdit*>("errFld")->toPlainText()));
    // Nothing was sent: the report can be tried again, and nothing claims it went.
    QVERIFY(w.findChild<newCnvBtn*>("reportBtn")->isVisible());
    QCOMPARE(w.findChild<newCnvBtn*>("ignoreBtn")->myCaption(), QStringLiteral("Ignore"));
    Look::saveShot(&w, QStringLiteral("error-report-no-mail.png"));
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
    expReporterScrn w("Error: ");
    w.show();
    auto* box = w.findChild<QTextEdit*>("errFld");
    box->setFocus();
    const int lines = box->toPlainText().count('\n');
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClick(box, Qt::Key_Enter);
    QTest::keyClick(&w, Qt::Key_Escape);
    QTest::keyClick(box, Qt::Key_Escape);
    QVERIFY(w.isVisible());
    QCOMPARE(box->toPlainText().count('\n'), lines + 2); // Return and Enter made new lines in the comments
}

void TestExpReporterScrn::quitEndsTheEventLoop() {
    expReporterScrn w("Error: ");
    w.show();
    QEventLoop loop;
    bool stillWaiting = true;
    QTimer::singleShot(0, [&] { click(w, "quitBtn"); });
    QTimer::singleShot(2000, [&] { loop.exit(1); });
    const int code = loop.exec();
    stillWaiting = false;
    QCOMPARE(code, 0);
    QVERIFY(!w.isVisible());
    QVERIFY(!stillWaiting);
}

void TestExpReporterScrn::drawsTheRedFrame() {
    expReporterScrn w("Error: ");
    const QImage shot = w.grab().toImage();
    QCOMPARE(shot.pixelColor(1, 220), QColor(255, 0, 0));
    QCOMPARE(shot.pixelColor(225, 438), QColor(255, 0, 0));
}

QTEST_MAIN(TestExpReporterScrn)
#include "tst_expreporterscrn.moc"
