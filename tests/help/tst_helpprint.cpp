// Printing a help topic: the page the view shows is read again, rendered by our own reader and printed
// through the page-setup and print dialogs (mostly a stand-in that prints into a PDF file; once the
// platform's own, on a computer without a printer).

#include "../controls/printdoubles.h"
#include "app/menus.h"
#include "data/globals.h"
#include "help/helpfolder.h"
#include "help/helpscrn2.h"
#include "help/htmlfield.h"
#include "help/indexctnr.h"
#include "support/doubles.h"
#include "temphelp.h"

#include <QDir>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

const QString kCannot = QStringLiteral("An error was encountered while printing the file");
const QString kCannotWhy = QStringLiteral("The 'Help' file could not be opened.");

QByteArray pageOf(int paragraphs) {
    QByteArray page = "<html>\n<head>\n<title>Long</title>\n</head>\n<body>\n<h1>Long page</h1>\n";
    for (int i = 0; i < paragraphs; ++i)
        page += "<p>Paragraph " + QByteArray::number(i) + " of a page that goes on.</p>\n";
    return page + "</body>\n</html>\n";
}

} // namespace

class TestHelpPrint : public QObject {
    Q_OBJECT
    TestDoubles::ScriptedDialogs dialogs_;
    QTemporaryDir out_;

    static helpScrn2* shown(int topic) {
        auto* w = new helpScrn2(topic);
        w->show();
        if (!QTest::qWaitForWindowExposed(w))
            return nullptr;
        if (topic > 0 && !QTest::qWaitFor([w] { return !w->curDocName().isEmpty(); }))
            return nullptr;
        return w;
    }
    QString pdf(const char* name) const { return QDir(out_.path()).filePath(QString::fromLatin1(name)); }

private slots:
    void initTestCase() {
        const QString missing = shippedPagesMissing();
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
        TestDoubles::hideThePrinters();
    }
    void init() {
        dialogs_.clear();
        myGlobals::gPrinterSettings.clear();
    }
    void cleanup() { QApplication::closeAllWindows(); }

    void nothingShownYetSaysSo();
    void shortPageIsOnePageReadAsTheWindowShowsIt();
    void longPageGoesOnToMorePages();
    void setupIsAskedOncePerRun();
    void pageSetupCancelledForgetsTheSetup();
    void cancelledDialogsPrintNothingAndSayNothing();
    void printsToAFileWithoutAPrinter();
    void nothingToPrintOn();
    void pageGoneOrTooLarge();
    void followedLinkPrintsThatPage();
    void marginsLeavingNoRoom();
    void pagesAreLaidOutBetweenLines();
    void headingsStayWithTheirText();
    void everyShippedPagePrints_data();
    void everyShippedPagePrints();
};

void TestHelpPrint::nothingShownYetSaysSo() {
    TestDoubles::PdfPrintDialogs printing;
    printing.pdfPath = pdf("none.pdf");
    helpScrn2* w = shown(0);
    QVERIFY(w);
    w->menu()->item(QStringLiteral("FilePrint"))->trigger();
    QCOMPARE(dialogs_.shown.size(), 1);
    QCOMPARE(dialogs_.shown.first().kind, TestDoubles::Shown::Msg);
    QVERIFY(dialogs_.shown.first().isCaution);
    QCOMPARE(dialogs_.shown.first().message, kCannot);
    QCOMPARE(dialogs_.shown.first().explanation, kCannotWhy);
    QCOMPARE(printing.pageSetupShown, 0);
    QCOMPARE(printing.printShown, 0);
    QVERIFY(!QFile::exists(printing.pdfPath));
}

void TestHelpPrint::shortPageIsOnePageReadAsTheWindowShowsIt() {
    TempHelp help;
    QVERIFY(help.write(QStringLiteral("nbq_play.html"),
                       "<html>\n<head>\n<title>Play</title>\n</head>\n<body>\n<h1>Play</h1>\n<p>Short.</p>\n"
                       "<h2>Steps</h2>\n<ul>\n<li>One\n<li>Two\n</ul>\n<p>After.</p>\n</body>\n</html>\n"));
    TestDoubles::PdfPrintDialogs printing;
    printing.pdfPath = pdf("short.pdf");
    helpScrn2* w = shown(1);
    QVERIFY(w);
    w->findChild<QTextBrowser*>(QStringLiteral("myHTML"))->setFocus();
    w->menu()->item(QStringLiteral("FilePrint"))->trigger();
    QVERIFY(dialogs_.shown.isEmpty());
    QCOMPARE(TestDoubles::pdfPageCount(printing.pdfPath), 1);
    QCOMPARE(w->printField()->toPlainText(),
             QStringLiteral("\nPlay\n\n\nShort.\n\n\nSteps\n\n\n\n\n   \u2022 One\n\n   \u2022 Two\n\n\n\nAfter.\n\n\n\n"));
    QCOMPARE(printing.documentName, QStringLiteral("Play"));
    // The focus leaves the window's controls.
    QVERIFY(!w->focusWidget() || !w->focusWidget()->hasFocus());

    // The page's line breaks leave runs of empty lines in the field; on paper one sets paragraphs apart.
    const std::unique_ptr<QTextDocument> printed = helpScrn2::printCopy(*w->printField());
    QCOMPARE(printed->toPlainText(),
             QStringLiteral("Play\n\nShort.\n\nSteps\n\n   \u2022 One\n   \u2022 Two\n\nAfter."));
    // Body text at the size of the window's page, headings at their own and marked as headings.
    const int shownSize = w->findChild<QTextBrowser*>(QStringLiteral("myHTML"))->font().pointSize();
    QVERIFY(shownSize >= 11);
    const auto at = [&](const QString& text) {
        QTextCursor cursor(printed.get());
        cursor.setPosition(printed->toPlainText().indexOf(text) + 1);
        return cursor;
    };
    QCOMPARE(at(QStringLiteral("Short.")).charFormat().fontPointSize(), qreal(shownSize));
    QCOMPARE(at(QStringLiteral("After.")).charFormat().fontPointSize(), qreal(shownSize));
    QCOMPARE(at(QStringLiteral("Play")).charFormat().fontPointSize(), 24.0);
    QCOMPARE(at(QStringLiteral("Play")).blockFormat().headingLevel(), 1);
    QCOMPARE(at(QStringLiteral("Steps")).blockFormat().headingLevel(), 2);
    QCOMPARE(at(QStringLiteral("One")).blockFormat().headingLevel(), 0);
}

void TestHelpPrint::longPageGoesOnToMorePages() {
    TempHelp help;
    QVERIFY(help.write(QStringLiteral("nbq_info.html"), pageOf(400)));
    TestDoubles::PdfPrintDialogs printing;
    printing.pdfPath = pdf("long.pdf");
    helpScrn2* w = shown(17);
    QVERIFY(w);
    w->menu()->item(QStringLiteral("FilePrint"))->trigger();
    const int pages = TestDoubles::pdfPageCount(printing.pdfPath);
    QVERIFY2(pages >= 5 && pages <= 30, qPrintable(QString::number(pages)));
}

void TestHelpPrint::setupIsAskedOncePerRun() {
    TestDoubles::PdfPrintDialogs printing;
    printing.pdfPath = pdf("twice.pdf");
    helpScrn2* first = shown(1);
    QVERIFY(first);
    first->menu()->item(QStringLiteral("FilePrint"))->trigger();
    QCOMPARE(printing.pageSetupShown, 1);
    QCOMPARE(printing.printShown, 1);
    QVERIFY(!myGlobals::gPrinterSettings.isEmpty());
    helpScrn2* second = shown(4);
    QVERIFY(second);
    second->menu()->item(QStringLiteral("FilePrint"))->trigger();
    QCOMPARE(printing.pageSetupShown, 1);
    QCOMPARE(printing.printShown, 2);
    QVERIFY(dialogs_.shown.isEmpty());
}

void TestHelpPrint::pageSetupCancelledForgetsTheSetup() {
    TestDoubles::PdfPrintDialogs printing;
    printing.pdfPath = pdf("setup.pdf");
    helpScrn2* w = shown(0);
    QVERIFY(w);
    w->menu()->item(QStringLiteral("FilePageSetup"))->trigger();
    QCOMPARE(printing.pageSetupShown, 1);
    QVERIFY(!myGlobals::gPrinterSettings.isEmpty());
    printing.pageSetupAnswers = {false};
    w->menu()->item(QStringLiteral("FilePageSetup"))->trigger();
    QVERIFY(myGlobals::gPrinterSettings.isEmpty());
}

void TestHelpPrint::cancelledDialogsPrintNothingAndSayNothing() {
    TestDoubles::PdfPrintDialogs printing;
    printing.pdfPath = pdf("cancelled.pdf");
    helpScrn2* w = shown(2);
    QVERIFY(w);
    printing.pageSetupAnswers = {false};
    w->menu()->item(QStringLiteral("FilePrint"))->trigger();
    QCOMPARE(printing.printShown, 0);
    QVERIFY(myGlobals::gPrinterSettings.isEmpty());
    printing.acceptPrint = false;
    w->menu()->item(QStringLiteral("FilePrint"))->trigger();
    QCOMPARE(printing.printShown, 1);
    QVERIFY(!QFile::exists(printing.pdfPath));
    QVERIFY(dialogs_.shown.isEmpty());
}

// A computer without a printer: the platform's own dialogs open, the print dialog offers a PDF file,
// and the topic lands in it through the real printer.
void TestHelpPrint::printsToAFileWithoutAPrinter() {
    TempHelp help;
    QVERIFY(help.write(QStringLiteral("nbq_play.html"),
                       "<html>\n<head>\n<title>Playing a round</title>\n</head>\n<body>\n<h1>Playing a "
                       "round</h1>\n<p>Type the answer and press Return.</p>\n<ul>\n<li>Twenty problems\n"
                       "<li>One clock\n</ul>\n<p>The stars come last.</p>\n</body>\n</html>\n"));
    helpScrn2* w = shown(1);
    QVERIFY(w);
    const QString out = pdf("Playing a round.pdf");
    TestDoubles::PlatformDialogsDriver driver;
    driver.run([w] { w->menu()->item(QStringLiteral("FilePrint"))->trigger(); }, out);
    QVERIFY2(dialogs_.messages().isEmpty(), qPrintable(dialogs_.messages().join('|')));
    QVERIFY2(driver.others.isEmpty(), qPrintable(driver.others.join('|')));
    QCOMPARE(driver.pageSetupShown, 1);
    QCOMPARE(driver.printShown, 1);
    QVERIFY2(driver.chosen.contains(QLatin1String("PDF")), qPrintable(driver.destinations.join('|')));
    const QString text = TestDoubles::pdfText(out).simplified();
    for (const char* shown : {"Playing a round", "Type the answer and press Return.", "Twenty problems",
                              "One clock", "The stars come last."})
        QVERIFY2(text.contains(QLatin1String(shown)),
                 qPrintable(QStringLiteral("%1 not in: %2").arg(shown, text)));
}

void TestHelpPrint::nothingToPrintOn() {
    TestDoubles::PdfPrintDialogs printing;
    printing.printSurface = false;
    helpScrn2* w = shown(2);
    QVERIFY(w);
    w->menu()->item(QStringLiteral("FilePrint"))->trigger();
    QCOMPARE(dialogs_.messages(), QStringList{"This computer cannot print."});
    QCOMPARE(printing.pageSetupShown + printing.printShown, 0);
}

void TestHelpPrint::pageGoneOrTooLarge() {
    TempHelp help;
    QVERIFY(help.write(QStringLiteral("nbq_cls.html"), "<html><body><p>Classes.</p></body></html>"));
    TestDoubles::PdfPrintDialogs printing;
    printing.pdfPath = pdf("gone.pdf");
    helpScrn2* w = shown(4);
    QVERIFY(w);
    QVERIFY(QFile::remove(help.path(QStringLiteral("nbq_cls.html"))));
    w->menu()->item(QStringLiteral("FilePrint"))->trigger();
    QCOMPARE(dialogs_.messages(), QStringList{kCannot});
    QCOMPARE(printing.printShown, 0);

    // A page that takes too long to read is refused the same way (the view shows none such: this one
    // grew after it was shown).
    dialogs_.clear();
    QVERIFY(help.write(QStringLiteral("nbq_pref.html"), "<html><body><p>Preferences.</p></body></html>"));
    helpScrn2* large = shown(6);
    QVERIFY(large);
    QVERIFY(help.write(QStringLiteral("nbq_pref.html"), QByteArray(helpScrn2::kLargestPrintedPage + 1, 'a')));
    large->menu()->item(QStringLiteral("FilePrint"))->trigger();
    QCOMPARE(dialogs_.messages(), QStringList{kCannot});
    QCOMPARE(printing.printShown, 0);
}

void TestHelpPrint::followedLinkPrintsThatPage() {
    TempHelp help;
    QVERIFY(help.write(QStringLiteral("nbq_info.html"),
                       "<html><body><p>See <a href=\"nbq_net.html#far\">NETLINK</a></p></body></html>"));
    QVERIFY(help.write(QStringLiteral("nbq_net.html"),
                       "<html><body><p><a name=\"far\"></a>Shared folders.</p></body></html>"));
    TestDoubles::PdfPrintDialogs printing;
    printing.pdfPath = pdf("link.pdf");
    helpScrn2* w = shown(17);
    QVERIFY(w);
    auto* view = w->findChild<QTextBrowser*>(QStringLiteral("myHTML"));
    QTextCursor link = view->document()->find(QStringLiteral("NETLINK"));
    link.setPosition(link.selectionStart() + 2);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->cursorRect(link).center());
    QTRY_COMPARE(w->curDocName(), QStringLiteral("nbq_net.html#far"));
    w->menu()->item(QStringLiteral("FilePrint"))->trigger();
    QVERIFY(dialogs_.shown.isEmpty());
    QCOMPARE(w->printField()->toPlainText().trimmed(), QStringLiteral("Shared folders."));
    QCOMPARE(TestDoubles::pdfPageCount(printing.pdfPath), 1);
}

void TestHelpPrint::marginsLeavingNoRoom() {
    TestDoubles::PdfPrintDialogs printing;
    printing.pdfPath = pdf("nomargin.pdf");
    // A printable area 30 points high: nothing fits below the top margin.
    printing.pageSetupChoice =
        QPageLayout(QPageSize(QSizeF(200, 100), QPageSize::Point), QPageLayout::Portrait,
                    QMarginsF(10, 35, 10, 35), QPageLayout::Point, QMarginsF());
    helpScrn2* w = shown(1);
    QVERIFY(w);
    w->menu()->item(QStringLiteral("FilePrint"))->trigger();
    QCOMPARE(dialogs_.messages(), QStringList{"The help topic could not be printed."});
    QCOMPARE(printing.printShown, 0);
}

void TestHelpPrint::pagesAreLaidOutBetweenLines() {
    // The loop ends with the laid-out lines, each page holding whole lines only.
    QTextDocument document;
    document.setPlainText(QStringLiteral("one\ntwo\nthree\nfour\nfive"));
    document.setDocumentMargin(0);
    QImage image(400, 400, QImage::Format_ARGB32);
    QPainter painter(&image);
    const qreal line = QFontMetricsF(document.defaultFont()).lineSpacing();
    int newPages = 0;
    const int pages = helpScrn2::printDocument(document, painter, 300, line * 2.5, [&] { ++newPages; });
    QCOMPARE(pages, 3);
    QCOMPARE(newPages, 2);
    // Not even one line fits: one line per page, and printing still ends.
    newPages = 0;
    QCOMPARE(helpScrn2::printDocument(document, painter, 300, 1, [&] { ++newPages; }), 5);
    QTextDocument empty;
    QCOMPARE(helpScrn2::printDocument(empty, painter, 300, 100, [] {}), 1);
}

void TestHelpPrint::headingsStayWithTheirText() {
    QTextDocument document;
    document.setDocumentMargin(0);
    document.setPlainText(QStringLiteral("one\ntwo\nHeading\n\nunder it\nsix\nseven"));
    QTextCursor heading(document.findBlockByNumber(2));
    QTextBlockFormat format = heading.blockFormat();
    format.setHeadingLevel(2);
    heading.setBlockFormat(format);
    const int headingAt = heading.block().position();
    const qreal line = QFontMetricsF(document.defaultFont()).lineSpacing();
    const auto starts = [&](qreal lines) {
        QList<int> positions;
        for (const helpScrn2::PrintedPage& page : helpScrn2::paginate(document, 300, line * lines))
            positions << page.firstPosition;
        return positions;
    };
    // Room for three lines: the heading would close the first page; it opens the second.
    QCOMPARE(starts(3.5).value(1), headingAt);
    // Room for four: the heading and the empty line under it go on together.
    QCOMPARE(starts(4.5).value(1), headingAt);
    // Room for five: the heading's text is on the page too.
    QCOMPARE(starts(5.5).value(1), document.findBlockByNumber(5).position());
    // Room for one line only: the heading cannot wait for a page with room for more.
    QCOMPARE(starts(1.5).size(), 7);
}

void TestHelpPrint::everyShippedPagePrints_data() {
    QTest::addColumn<int>("topic");
    for (int topic = 1; topic < indexCtnr::topicTable().size(); ++topic)
        if (!indexCtnr::topicTable().at(topic).endsWith(QLatin1String(",folder")))
            QTest::newRow(qPrintable(indexCtnr::topicTable().at(topic).section(QLatin1Char(','), 1)))
                << topic;
}

void TestHelpPrint::everyShippedPagePrints() {
    QFETCH(int, topic);
    TestDoubles::PdfPrintDialogs printing;
    printing.pdfPath = pdf("page.pdf");
    QFile::remove(printing.pdfPath);
    helpScrn2* w = shown(topic);
    QVERIFY(w);
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    QString title;
    connect(w->printField(), &HTMLField::GotTitle, this, [&](const QString& t) { title = t; });
    w->menu()->item(QStringLiteral("FilePrint"))->trigger();
    QVERIFY(dialogs_.shown.isEmpty());
    QVERIFY(!title.isEmpty());
    QVERIFY(TestDoubles::pdfPageCount(printing.pdfPath) >= 1);
    // What prints is what the view shows, line for line.
    const QString printed = w->printField()->toPlainText().simplified();
    const QString shownText =
        w->findChild<QTextBrowser*>(QStringLiteral("myHTML"))->toPlainText().simplified();
    QVERIFY(printed.contains(shownText.left(20)));
    static const QRegularExpression tag(
        QStringLiteral("</?(html|head|title|body|h[1-3]|p|br|ul|li|b|i|small|font|a|img)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    QVERIFY(!printed.contains(tag));
    QVERIFY(!printed.contains(QLatin1Char('&')));
    // On paper no two empty lines follow one another.
    QVERIFY(!helpScrn2::printCopy(*w->printField())->toPlainText().contains(QStringLiteral("\n\n\n")));
}

QTEST_MAIN(TestHelpPrint)
#include "tst_helpprint.moc"
