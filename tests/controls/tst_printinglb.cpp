#include "app/onmodal.h"
#include "app/printsettings.h"
#include "main/uiseams.h"
#include "controls/printdoubles.h"
#include "controls/printinglb.h"
#include "data/dbctrl.h"
#include "data/globals.h"
#include "support/doubles.h"

#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QSizeGrip>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

using TestDoubles::DrawnText;
using TestDoubles::PdfPrintDialogs;
using TestDoubles::RecordingDevice;
using TestDoubles::ScriptedDialogs;

namespace {

// Remembers where the export dialog suggested to save, besides what ScriptedDialogs records.
class ExportDialogs : public ScriptedDialogs {
public:
    QString suggestedName;
    QStringList fileTypes;
    QString saveFile(const Seams::FileRequest& request) override {
        suggestedName = request.suggestedName;
        fileTypes = request.fileTypes;
        return ScriptedDialogs::saveFile(request);
    }
};

void fill(printingLB& list, const QList<QStringList>& rows, int columns = 3) {
    list.setColumnCount(columns);
    for (const QStringList& r : rows)
        list.addRow(r);
}

QList<DrawnText> onPage(const QList<DrawnText>& texts, int page) {
    QList<DrawnText> out;
    for (const DrawnText& t : texts) {
        if (t.page == page)
            out << t;
    }
    return out;
}

const DrawnText* find(const QList<DrawnText>& texts, const QString& text) {
    for (const DrawnText& t : texts) {
        if (t.text == text)
            return &t;
    }
    return nullptr;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Lays out one copy on a recording page and returns what was drawn; newPage moves to the next page.
QList<DrawnText> layOut(const printingLB& list, const QRectF& printable, const QString& title,
                        const QStringList& headings, int* pageBreaks = nullptr) {
    RecordingDevice device;
    QPainter g(&device);
    int breaks = 0;
    list.printOneCopy(g, printable, title, headings, [&] {
        ++breaks;
        ++device.engine.page;
    });
    g.end();
    if (pageBreaks)
        *pageBreaks = breaks;
    return device.engine.texts;
}

} // namespace

class TestPrintingLB : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void columnsFollowTheHeadings_data();
    void columnsFollowTheHeadings();
    void titleDateAndHeadingsInBlue();
    void emptyListSaysSo();
    void rowsRunOnToNewPages();
    void firstRowAlwaysBelowTheHeadings();
    void printsOutputTextOnOneLine();
    void printsIntoOneJobPerCopy_data();
    void printsIntoOneJobPerCopy();
    void keptPageSetupReachesThePrinter();
    void cancelledDialogsPrintNothing();
    void printsToAFileWithoutAPrinter();
    void nothingToPrintOnIsExplained();
    void exportWritesTheListFormat();
    void exportOfAnEmptyList();
    void cancelledExportWritesNothing();
    void theRealChooserShowsThePrompt();
    void unwritableExportIsReported_data();
    void unwritableExportIsReported();
    void stripesOnEvenUnselectedRows();
    void columnPercentsFillTheWidth();

private:
    QTemporaryDir dir_;
};

void TestPrintingLB::initTestCase() {
    TestDoubles::hideThePrinters();
}

void TestPrintingLB::init() {
    myGlobals::gPrinterSettings.clear();
}

void TestPrintingLB::columnsFollowTheHeadings_data() {
    QTest::addColumn<QStringList>("headings");
    QTest::addColumn<int>("columns");     // the divisor of the width
    QTest::addColumn<QList<int>>("used"); // the slots that draw, in order
    QTest::newRow("class list") << QStringList{"Student Name", "Password", "Stars", ""} << 3
                                << QList<int>{0, 1, 2};
    QTest::newRow("four headings") << QStringList{"A", "B", "C", "D"} << 4 << QList<int>{0, 1, 2, 3};
    QTest::newRow("one heading") << QStringList{"Name", "", "", ""} << 1 << QList<int>{0};
    // A gap stops the count: the third heading and the second column stand outside the width.
    QTest::newRow("gap") << QStringList{"A", "", "C", ""} << 1 << QList<int>{0, 2};
    QTest::newRow("empty first heading") << QStringList{"", "B", "", ""} << 2 << QList<int>{1};
}

void TestPrintingLB::columnsFollowTheHeadings() {
    QFETCH(QStringList, headings);
    QFETCH(int, columns);
    QFETCH(QList<int>, used);
    printingLB list;
    fill(list, {{"c0", "c1", "c2", "c3"}}, 4);
    const QRectF printable(36, 40, 541, 700);
    const QList<DrawnText> texts = layOut(list, printable, "Title", headings);
    const qreal cw = std::floor(541.0 / columns);
    for (int i = 0; i < used.size(); ++i) {
        const int k = used[i];
        const DrawnText* heading = find(texts, headings[k]);
        QVERIFY2(heading, qPrintable(headings[k]));
        QCOMPARE(heading->at, QPointF(36 + k * cw, 40 + 64));
        // The list's columns go in order to the slots that have a heading.
        const DrawnText* cell = find(texts, QStringLiteral("c%1").arg(i));
        QVERIFY(cell);
        QCOMPARE(cell->at, QPointF(36 + k * cw, 40 + 80));
    }
    // Nothing else of the row is drawn.
    QCOMPARE(texts.size(), 2 + 2 * used.size());
}

void TestPrintingLB::titleDateAndHeadingsInBlue() {
    printingLB list;
    fill(list, {{"Ann", "pw", "1.5"}});
    const QList<DrawnText> texts = layOut(list, QRectF(18, 20, 576, 750), "Grade 3", {"Name", "", "", ""});
    QCOMPARE(texts.size(), 4);
    QCOMPARE(texts[0].text, QStringLiteral("Grade 3"));
    QCOMPARE(texts[0].at, QPointF(18, 36));
    QCOMPARE(texts[1].text, DBCtrl::todayText());
    QCOMPARE(texts[1].at, QPointF(18, 52));
    QCOMPARE(texts[2].text, QStringLiteral("Name"));
    QCOMPARE(texts[2].at, QPointF(18, 84));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(texts[i].color, QColor(65, 117, 189));
    QCOMPARE(texts[3].text, QStringLiteral("Ann"));
    QCOMPARE(texts[3].color, QColor(Qt::black));
    for (const DrawnText& t : texts)
        QCOMPARE(t.pixelSize, 12);
}

void TestPrintingLB::emptyListSaysSo() {
    printingLB list;
    list.setColumnCount(3);
    int breaks = -1;
    const QList<DrawnText> texts =
        layOut(list, QRectF(36, 36, 540, 720), "Empty", {"Student Name", "Password", "Stars", ""}, &breaks);
    QCOMPARE(breaks, 0);
    const DrawnText* none = find(texts, "No items in list.");
    QVERIFY(none);
    QCOMPARE(none->at, QPointF(36, 36 + 80));
    QCOMPARE(none->color, QColor(Qt::black));
    QCOMPARE(texts.size(), 6); // title, date, three headings, the note
}

void TestPrintingLB::rowsRunOnToNewPages() {
    printingLB list;
    QList<QStringList> rows;
    for (int i = 0; i < 12; ++i)
        rows << QStringList{QStringLiteral("row%1").arg(i)};
    fill(list, rows, 1);
    // Room below the headings for exactly five rows: baselines 116, 132, 148, 164 and 180.
    const QRectF printable(36, 36, 500, 144);
    int breaks = 0;
    const QList<DrawnText> texts = layOut(list, printable, "T", {"Name", "", "", ""}, &breaks);
    QCOMPARE(breaks, 1);
    for (int i = 0; i < 5; ++i) {
        const DrawnText* t = find(texts, QStringLiteral("row%1").arg(i));
        QCOMPARE(t->page, 0);
        QCOMPARE(t->at.y(), 116.0 + 16 * i);
    }
    // The next page starts at the top of the printable area, with no title, date or headings.
    const QList<DrawnText> second = onPage(texts, 1);
    QCOMPARE(second.size(), 7);
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(second[i].text, QStringLiteral("row%1").arg(5 + i));
        QCOMPARE(second[i].at, QPointF(36, 36.0 + 16 * i));
    }

    // A list that just fills its pages leaves no blank page behind.
    printingLB exact;
    QList<QStringList> five;
    for (int i = 0; i < 5; ++i)
        five << QStringList{QStringLiteral("r%1").arg(i)};
    fill(exact, five, 1);
    layOut(exact, printable, "T", {"Name", "", "", ""}, &breaks);
    QCOMPARE(breaks, 0);
}

void TestPrintingLB::firstRowAlwaysBelowTheHeadings() {
    printingLB list;
    fill(list, {{"first"}, {"second"}, {"third"}}, 1);
    // A page so short that even the first row's baseline lies below its printable area.
    int breaks = 0;
    const QList<DrawnText> texts = layOut(list, QRectF(10, 10, 300, 40), "T", {"N", "", "", ""}, &breaks);
    QCOMPARE(find(texts, "first")->at, QPointF(10, 90));
    QCOMPARE(find(texts, "first")->page, 0);
    QCOMPARE(find(texts, "second")->at, QPointF(10, 10));
    QCOMPARE(find(texts, "second")->page, 1);
    QCOMPARE(find(texts, "third")->at, QPointF(10, 26));
    QCOMPARE(breaks, 1);
}

void TestPrintingLB::printsOutputTextOnOneLine() {
    printingLB list;
    fill(list, {{"Ann\tLee", "Hx@", "1.5"}, {"Bo\nB", "", "2.0"}});
    list.item(0, 1)->setData(printingLB::OutputTextRole, QStringLiteral("secret"));
    const QList<DrawnText> texts =
        layOut(list, QRectF(0, 0, 600, 700), "Class\tA", {"Student Name", "Password", "Stars", ""});
    QVERIFY(find(texts, "Class A"));
    QVERIFY(find(texts, "Ann Lee"));
    QVERIFY(find(texts, "secret"));
    QVERIFY(!find(texts, "Hx@"));
    QVERIFY(find(texts, "Bo B"));
    QCOMPARE(find(texts, "2.0")->at, QPointF(400, 96));
}

void TestPrintingLB::printsIntoOneJobPerCopy_data() {
    QTest::addColumn<int>("students");
    QTest::addColumn<int>("copies");
    QTest::addColumn<int>("pages");
    // A4 with half-inch margins holds 44 rows on the first page and 49 on each further one.
    QTest::newRow("one page") << 44 << 1 << 1;
    QTest::newRow("two pages") << 60 << 1 << 2;
    QTest::newRow("two copies of two pages") << 60 << 2 << 4;
    QTest::newRow("three copies of an empty list") << 0 << 3 << 3;
    QTest::newRow("two thousand students") << 2000 << 1 << 41;
}

void TestPrintingLB::printsIntoOneJobPerCopy() {
    QFETCH(int, students);
    QFETCH(int, copies);
    QFETCH(int, pages);
    ScriptedDialogs dialogs;
    PdfPrintDialogs printing;
    printing.pageSetupChoice = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                           QMarginsF(36, 36, 36, 36), QPageLayout::Point);
    printing.copies = copies;
    printing.pdfPath = dir_.filePath(QStringLiteral("print-%1-%2.pdf").arg(students).arg(copies));
    printingLB list;
    list.setColumnCount(3);
    for (int i = 0; i < students; ++i)
        list.addRow({QStringLiteral("Student %1").arg(i), QStringLiteral("pw%1").arg(i), ".5"});
    list.printMe("Grade 4", "Student Name", "Password", "Stars", "");
    QCOMPARE(printing.pageSetupShown, 1);
    QCOMPARE(printing.printShown, 1);
    QCOMPARE(TestDoubles::pdfPageCount(printing.pdfPath), pages);
    QVERIFY(dialogs.messages().isEmpty());
}

void TestPrintingLB::keptPageSetupReachesThePrinter() {
    ScriptedDialogs dialogs;
    PdfPrintDialogs printing;
    printing.pageSetupChoice = QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape,
                                           QMarginsF(20, 30, 20, 30), QPageLayout::Point);
    printingLB list;
    fill(list, {{"Ann", "", ".0"}});
    for (int run = 0; run < 2; ++run) {
        printing.pdfPath = dir_.filePath(QStringLiteral("kept-%1.pdf").arg(run));
        list.printMe("Grade 1", "Student Name", "Password", "Stars", "");
        // Asked the first time only; the second printing uses the kept setup.
        QCOMPARE(printing.pageSetupShown, 1);
        QCOMPARE(printing.layoutAtPrint.orientation(), QPageLayout::Landscape);
        QCOMPARE(printing.layoutAtPrint.margins(QPageLayout::Point), QMarginsF(20, 30, 20, 30));
        const QStringList box = TestDoubles::pdfFirstMediaBox(printing.pdfPath).split(' ');
        QCOMPARE(box.size(), 4);
        QCOMPARE(box[2].toDouble(), 792.0);
        QCOMPARE(box[3].toDouble(), 612.0);
    }
}

void TestPrintingLB::cancelledDialogsPrintNothing() {
    ScriptedDialogs dialogs;
    PdfPrintDialogs printing;
    printingLB list;
    fill(list, {{"Ann", "", ".0"}});

    printing.pdfPath = dir_.filePath("cancel-setup.pdf");
    printing.pageSetupAnswers = {false};
    list.printMe("T", "A", "", "", "");
    QCOMPARE(printing.printShown, 0);
    QVERIFY(!QFile::exists(printing.pdfPath));
    QVERIFY(myGlobals::gPrinterSettings.isEmpty());

    printing.pdfPath = dir_.filePath("cancel-print.pdf");
    printing.acceptPrint = false;
    list.printMe("T", "A", "", "", "");
    QCOMPARE(printing.pageSetupShown, 2);
    QCOMPARE(printing.printShown, 1);
    QVERIFY(!QFile::exists(printing.pdfPath));
    QVERIFY(dialogs.messages().isEmpty());
}

// A school computer without a printer: the platform's own page setup and print dialog open, the
// print dialog offers a PDF file, and the class list lands in it through the real printer, whole.
void TestPrintingLB::printsToAFileWithoutAPrinter() {
    ScriptedDialogs dialogs;
    printingLB list;
    fill(list, {{"Ann Lee", "HxQ", "2.5"}, {"Bo Ray", "", ".0"}, {"Cy Dunn", "Pw", "4.0"}});
    const QString pdf = dir_.filePath("Grade 3 list.pdf");
    TestDoubles::PlatformDialogsDriver driver;
    driver.run([&] { list.printMe("Grade 3", "Student Name", "Password", "Stars", ""); }, pdf);
    QVERIFY2(dialogs.messages().isEmpty(), qPrintable(dialogs.messages().join('|')));
    QVERIFY2(driver.others.isEmpty(), qPrintable(driver.others.join('|')));
    QCOMPARE(driver.pageSetupShown, 1);
    QCOMPARE(driver.printShown, 1);
    QVERIFY2(driver.chosen.contains(QLatin1String("PDF")), qPrintable(driver.destinations.join('|')));
    QVERIFY(QFile::exists(pdf));
    const QString text = TestDoubles::pdfText(pdf);
    for (const char* shown :
         {"Grade 3", "Student Name", "Password", "Stars", "Ann Lee", "Bo Ray", "Cy Dunn", "HxQ"})
        QVERIFY2(text.contains(QLatin1String(shown)),
                 qPrintable(QStringLiteral("%1 not in:\n%2").arg(shown, text)));
}

// Only where Qt has nothing to print on at all does printing stop before the dialogs, and it says why.
void TestPrintingLB::nothingToPrintOnIsExplained() {
    ScriptedDialogs dialogs;
    PdfPrintDialogs printing;
    printing.printSurface = false;
    printing.pdfPath = dir_.filePath("nothing-to-print-on.pdf");
    printingLB list;
    fill(list, {{"Ann", "", ".0"}});
    list.printMe("T", "A", "", "", "");
    QCOMPARE(dialogs.messages(), QStringList{"This computer cannot print."});
    QVERIFY(dialogs.shown[0].isCaution);
    QCOMPARE(printing.pageSetupShown + printing.printShown, 0);
    QVERIFY(!QFile::exists(printing.pdfPath));
}

void TestPrintingLB::exportWritesTheListFormat() {
    ExportDialogs dialogs;
    const QString path = dir_.filePath("Grade 3");
    dialogs.paths = {path};
    printingLB list;
    fill(list, {{"Ann", "", ""},
                {"Ann", "", "1.5"},
                {"Bo\tLee", "Hx", "2.0"},
                {"Cy\r\nDee", "", ".5"},
                {"", "", "4.0"},
                {"Émile", "", ".0"}});
    list.item(2, 1)->setData(printingLB::OutputTextRole, QStringLiteral("kiwi"));
    list.exportMe("Grade 3", "Student Name", "Password", "Stars", "");
    QCOMPARE(dialogs.suggestedName, QStringLiteral("Grade 3"));
    QCOMPARE(dialogs.shown.first().message, QStringLiteral("Export A List"));
    QCOMPARE(dialogs.shown.first().file.prompt, QStringLiteral("Choose a location for the exported list."));
    QCOMPARE(dialogs.fileTypes, QStringList{"text/plain"});
    QCOMPARE(readAll(path), QStringLiteral("Grade 3\n"
                                           "Student Name\tPassword\tStars\t\n"
                                           "Ann\n"
                                           "Ann\t\t1.5\n"
                                           "Bo Lee\tkiwi\t2.0\n"
                                           "Cy  Dee\t\t.5\n"
                                           "\t\t4.0\n"
                                           "Émile\t\t.0\n")
                                .toUtf8());
    QCOMPARE(dialogs.messages(), QStringList{});

    // A second export to the same file replaces it.
    dialogs.paths = {path};
    list.setRowCount(1);
    list.exportMe("Grade 3", "Student Name", "Password", "Stars", "");
    QCOMPARE(readAll(path), QByteArray("Grade 3\nStudent Name\tPassword\tStars\t\nAnn\n"));
}

void TestPrintingLB::exportOfAnEmptyList() {
    ExportDialogs dialogs;
    const QString path = dir_.filePath("empty.txt");
    dialogs.paths = {path};
    printingLB list;
    list.setColumnCount(3);
    list.exportMe("", "A", "B", "", "");
    QCOMPARE(dialogs.suggestedName, QString());
    QCOMPARE(readAll(path), QByteArray("\nA\tB\t\t\n"));
}

void TestPrintingLB::cancelledExportWritesNothing() {
    ExportDialogs dialogs; // no path scripted: the user cancels
    printingLB list;
    fill(list, {{"Ann", "", ".0"}});
    list.exportMe("Grade 3", "Student Name", "Password", "Stars", "");
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown[0].kind, TestDoubles::Shown::SaveFile);
    QCOMPARE(dialogs.messages(), QStringList{});
}

// The platform's chooser has no place for a prompt; ours puts it in a row of its own above
// everything the dialog holds, which a change of Qt's dialog could undo unseen.
void TestPrintingLB::theRealChooserShowsThePrompt() {
    UiSeams::Dialogs real;
    Seams::setDialogs(&real);
    printingLB list;
    fill(list, {{"Ann", "", ".0"}});
    bool looked = false;
    onModal([&](QWidget* modal) {
        auto* chooser = qobject_cast<QFileDialog*>(modal);
        QVERIFY(chooser);
        QCOMPARE(chooser->windowTitle(), QStringLiteral("Export A List"));
        QCOMPARE(chooser->acceptMode(), QFileDialog::AcceptSave);
        auto* prompt = chooser->findChild<QLabel*>(QStringLiteral("prompt"));
        QVERIFY(prompt);
        QVERIFY(prompt->isVisible());
        QCOMPARE(prompt->text(), QStringLiteral("Choose a location for the exported list."));
        QCOMPARE(chooser->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text(),
                 QStringLiteral("Grade 3"));
        // Above every other part of the dialog, and as wide as they are together.
        int left = chooser->width(), right = 0, shownParts = 0;
        for (QWidget* part : chooser->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (part == prompt || !part->isVisible() || qobject_cast<QSizeGrip*>(part))
                continue;
            ++shownParts;
            QVERIFY2(part->y() > prompt->geometry().bottom(), qPrintable(part->objectName()));
            left = std::min(left, part->x());
            right = std::max(right, part->geometry().right());
        }
        QVERIFY(shownParts >= 4);
        QVERIFY(prompt->x() <= left && prompt->geometry().right() >= right);
        looked = true;
        chooser->reject();
    });
    list.exportMe("Grade 3", "Student Name", "Password", "Stars", "");
    Seams::setDialogs(nullptr);
    QVERIFY(looked);
}

void TestPrintingLB::unwritableExportIsReported_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing folder") << "missing";
    QTest::newRow("a folder of that name") << "folder";
    QTest::newRow("inside a file") << "file";
    QTest::newRow("read-only folder") << "readonly";
}

void TestPrintingLB::unwritableExportIsReported() {
    QFETCH(QString, kind);
    QTemporaryDir here;
    QString path;
    if (kind == "missing") {
        path = here.filePath("no/such/folder/list.txt");
    } else if (kind == "folder") {
        path = here.filePath("list.txt");
        QVERIFY(QDir().mkpath(path));
    } else if (kind == "file") {
        QFile plain(here.filePath("plain"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        path = here.filePath("plain/list.txt");
    } else {
        const QString folder = here.filePath("locked");
        QVERIFY(QDir().mkpath(folder));
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        QFile probe(folder + "/probe");
        path = folder + "/list.txt";
        if (probe.open(QIODevice::WriteOnly)) {
            // The superuser writes into read-only folders: a folder that refuses everyone stands in,
            // so that the case runs wherever the tests run.
            probe.remove();
            path = QStringLiteral("/proc/numbrook-riza-list.txt");
        }
    }
    ExportDialogs dialogs;
    dialogs.paths = {path};
    printingLB list;
    fill(list, {{"Ann", "", ".0"}});
    list.exportMe("Grade 3", "Student Name", "Password", "Stars", "");
    QCOMPARE(dialogs.messages(), QStringList{"The list could not be exported."});
    QVERIFY(dialogs.shown.last().isCaution);
    QVERIFY(dialogs.shown.last().explanation.contains(QDir::toNativeSeparators(path)));
    QVERIFY(!QFileInfo(path).isFile());
}

void TestPrintingLB::stripesOnEvenUnselectedRows() {
    printingLB list;
    fill(list, {{"a"}, {"b"}, {"c"}, {"d"}}, 1);
    list.setSelectionMode(QAbstractItemView::MultiSelection);
    list.selectRow(2);
    QImage image(10, 10, QImage::Format_RGB32);
    for (int row = 0; row < 4; ++row) {
        image.fill(Qt::white);
        QPainter g(&image);
        const bool painted = list.paintCellBackground(g, row, 0, QRect(0, 0, 10, 10));
        g.end();
        QCOMPARE(painted, row == 0);
        QCOMPARE(image.pixelColor(5, 5), row == 0 ? QColor(237, 243, 254) : QColor(Qt::white));
    }

    // And on screen: the first row striped, the second plain.
    list.resize(200, 120);
    list.clearSelection();
    const QImage shot = list.grab().toImage();
    const int x = list.viewport()->geometry().left() + list.columnWidth(0) - 5;
    const int y0 = list.viewport()->geometry().top() + list.rowViewportPosition(0) + 2;
    const int y1 = list.viewport()->geometry().top() + list.rowViewportPosition(1) + 2;
    QCOMPARE(shot.pixelColor(x, y0), QColor(237, 243, 254));
    QVERIFY(shot.pixelColor(x, y1) != QColor(237, 243, 254));
}

void TestPrintingLB::columnPercentsFillTheWidth() {
    printingLB list;
    list.setColumnCount(3);
    list.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list.setColumnPercents({68, 24, 8});
    list.resize(462, 200);
    const int w = list.viewport()->width();
    QCOMPARE(list.columnWidth(0), w * 68 / 100);
    QCOMPARE(list.columnWidth(1), w * 24 / 100);
    QCOMPARE(list.columnWidth(0) + list.columnWidth(1) + list.columnWidth(2), w);
    list.resize(800, 200);
    QCOMPARE(list.columnWidth(0), list.viewport()->width() * 68 / 100);
}

QTEST_MAIN(TestPrintingLB)
#include "tst_printinglb.moc"
