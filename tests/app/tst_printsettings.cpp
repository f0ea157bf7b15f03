#include "app/printsettings.h"
#include "controls/printdoubles.h"
#include "data/globals.h"
#include "support/doubles.h"

#include <QImage>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

using TestDoubles::PdfPrintDialogs;

namespace {
QPageLayout layout(QPageSize::PageSizeId size, QPageLayout::Orientation orientation, QMarginsF margins) {
    return QPageLayout(QPageSize(size), orientation, margins, QPageLayout::Point);
}
} // namespace

class TestPrintSettings : public QObject {
    Q_OBJECT
private slots:
    void init() { myGlobals::gPrinterSettings.clear(); }
    void setupTextRoundTrips_data();
    void setupTextRoundTrips();
    void foreignSetupTextIsRefused_data();
    void foreignSetupTextIsRefused();
    void printingAsksForASetupOncePerRun();
    void cancelledSetupBeforePrintingKeepsNothing();
    void pageSetupCommand();
    void unreadableKeptSetupAsksAgain();
    void modifiedMark();
    void proxyIcon();
};

void TestPrintSettings::setupTextRoundTrips_data() {
    QTest::addColumn<QPageLayout>("setup");
    QTest::newRow("A4 portrait") << layout(QPageSize::A4, QPageLayout::Portrait, {36, 36, 36, 36});
    QTest::newRow("Letter landscape")
        << layout(QPageSize::Letter, QPageLayout::Landscape, {18, 27.5, 20, 30});
    QTest::newRow("legal, no margins") << layout(QPageSize::Legal, QPageLayout::Portrait, {0, 0, 0, 0});
    QTest::newRow("custom paper") << QPageLayout(QPageSize(QSizeF(400, 500), QPageSize::Point, "Card"),
                                                 QPageLayout::Portrait, QMarginsF(10, 12, 14, 16),
                                                 QPageLayout::Point);
}

void TestPrintSettings::setupTextRoundTrips() {
    QFETCH(QPageLayout, setup);
    const QString text = myGlobals::pageSetupText(setup);
    const std::optional<QPageLayout> back = myGlobals::pageLayoutFromText(text);
    QVERIFY2(back, qPrintable(text));
    QCOMPARE(back->orientation(), setup.orientation());
    QCOMPARE(back->margins(QPageLayout::Point), setup.margins(QPageLayout::Point));
    QCOMPARE(back->fullRect(QPageLayout::Point), setup.fullRect(QPageLayout::Point));
    QCOMPARE(back->paintRect(QPageLayout::Point), setup.paintRect(QPageLayout::Point));
}

void TestPrintSettings::foreignSetupTextIsRefused_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("words") << "hello there";
    QTest::newRow("no margins") << "size=612x792;orientation=portrait";
    QTest::newRow("bad size") << "size=612;orientation=portrait;margins=1,1,1,1";
    QTest::newRow("zero size") << "size=0x792;orientation=portrait;margins=1,1,1,1";
    QTest::newRow("bad orientation") << "size=612x792;orientation=sideways;margins=1,1,1,1";
    QTest::newRow("three margins") << "size=612x792;orientation=portrait;margins=1,1,1";
    QTest::newRow("negative margin") << "size=612x792;orientation=portrait;margins=-1,1,1,1";
    QTest::newRow("margins wider than the paper") << "size=612x792;orientation=portrait;margins=400,1,400,1";
}

void TestPrintSettings::foreignSetupTextIsRefused() {
    QFETCH(QString, text);
    QVERIFY(!myGlobals::pageLayoutFromText(text));
}

void TestPrintSettings::printingAsksForASetupOncePerRun() {
    PdfPrintDialogs dialogs;
    dialogs.pageSetupChoice = layout(QPageSize::Letter, QPageLayout::Landscape, {20, 20, 20, 20});
    std::optional<QPageLayout> first;
    myGlobals::gGetPrinterSetup(first);
    QCOMPARE(dialogs.pageSetupShown, 1);
    QVERIFY(first);
    QCOMPARE(first->orientation(), QPageLayout::Landscape);
    QVERIFY(!myGlobals::gPrinterSettings.isEmpty());

    std::optional<QPageLayout> second = myGlobals::defaultPageLayout();
    myGlobals::gGetPrinterSetup(second);
    QCOMPARE(dialogs.pageSetupShown, 1);
    QVERIFY(second);
    QCOMPARE(second->fullRect(QPageLayout::Point), first->fullRect(QPageLayout::Point));
    QCOMPARE(second->margins(QPageLayout::Point), QMarginsF(20, 20, 20, 20));
}

void TestPrintSettings::cancelledSetupBeforePrintingKeepsNothing() {
    PdfPrintDialogs dialogs;
    dialogs.pageSetupAnswers = {false};
    std::optional<QPageLayout> setup = myGlobals::defaultPageLayout();
    myGlobals::gGetPrinterSetup(setup);
    QVERIFY(!setup);
    QVERIFY(myGlobals::gPrinterSettings.isEmpty());
    // So the next printing asks again.
    myGlobals::gGetPrinterSetup(setup);
    QCOMPARE(dialogs.pageSetupShown, 2);
    QVERIFY(setup);
}

void TestPrintSettings::pageSetupCommand() {
    PdfPrintDialogs dialogs;
    dialogs.pageSetupChoice = layout(QPageSize::A5, QPageLayout::Portrait, {10, 10, 10, 10});
    myGlobals::obtainPrinterSettings();
    QCOMPARE(dialogs.pageSetupShown, 1);
    const std::optional<QPageLayout> kept = myGlobals::pageLayoutFromText(myGlobals::gPrinterSettings);
    QVERIFY(kept);
    QCOMPARE(kept->pageSize().id(), QPageSize::A5);

    // Cancelling the command forgets the earlier choice: the next printing asks again.
    dialogs.pageSetupAnswers = {false};
    myGlobals::obtainPrinterSettings();
    QVERIFY(myGlobals::gPrinterSettings.isEmpty());
    std::optional<QPageLayout> setup;
    myGlobals::gGetPrinterSetup(setup);
    QCOMPARE(dialogs.pageSetupShown, 3);
}

void TestPrintSettings::unreadableKeptSetupAsksAgain() {
    PdfPrintDialogs dialogs;
    myGlobals::gPrinterSettings = QStringLiteral("not a page setup");
    std::optional<QPageLayout> setup;
    myGlobals::gGetPrinterSetup(setup);
    QCOMPARE(dialogs.pageSetupShown, 1);
    QVERIFY(setup);
    QVERIFY(myGlobals::pageLayoutFromText(myGlobals::gPrinterSettings));
}

void TestPrintSettings::modifiedMark() {
    QWidget window;
    window.setWindowTitle("Class Lists");
    auto* child = new QWidget(&window);
    myGlobals::SetWindowModified(child, false);
    QCOMPARE(window.windowTitle(), QStringLiteral("Class Lists[*]"));
    QVERIFY(!window.isWindowModified());
    myGlobals::SetWindowModified(&window, true);
    QVERIFY(window.isWindowModified());
    QCOMPARE(window.windowTitle(), QStringLiteral("Class Lists[*]"));
    myGlobals::SetWindowModified(nullptr, true); // no window: nothing happens
}

void TestPrintSettings::proxyIcon() {
    TestDoubles::RecordingFeedback feedback;
    QTemporaryDir dir;
    QWidget window;

    myGlobals::SetWindowProxyAlias(&window, QString());
    myGlobals::SetWindowProxyAlias(&window, "/");
    QCOMPARE(feedback.beeps, 0);
    QVERIFY(window.windowFilePath().isEmpty());

    myGlobals::SetWindowProxyAlias(&window, dir.filePath("NBQProxyIcon.png"));
    QCOMPARE(feedback.beeps, 1);
    QVERIFY(window.windowFilePath().isEmpty());

    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(QColor(65, 117, 189));
    QVERIFY(icon.save(dir.filePath("NBQProxyIcon.png")));
    auto* child = new QWidget(&window);
    myGlobals::SetWindowProxyAlias(child, dir.filePath("NBQProxyIcon.png"));
    QCOMPARE(feedback.beeps, 1);
    QCOMPARE(window.windowFilePath(), QFileInfo(dir.filePath("NBQProxyIcon.png")).absoluteFilePath());
    QVERIFY(!window.windowIcon().pixmap(32, 32).isNull());
    QCOMPARE(window.windowIcon().pixmap(32, 32).toImage().pixelColor(16, 16), QColor(65, 117, 189));
}

QTEST_MAIN(TestPrintSettings)
#include "tst_printsettings.moc"
