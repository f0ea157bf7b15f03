// The help window as a reader sees it: opened from the sign-in window, from a drill round, at its
// largest size, and on every page. Nothing may be cut off or lie on top of something else. With
// NBR_SHOTS_DIR set, each view is also saved there as a picture.

#include "help/helpscrn2.h"
#include "help/htmlfield.h"
#include "help/indexctnr.h"
#include "support/lookcheck.h"
#include "temphelp.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTest>
#include <QTextBrowser>

class TestHelpScrn2Look : public QObject {
    Q_OBJECT

    static void look(helpScrn2* w, const QString& name) {
        QWidget* content = w->content();
        QList<QWidget*> parts;
        for (QWidget* child : content->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            if (child->isVisible())
                parts << child;
        QVERIFY(parts.size() >= 3);
        for (int i = 0; i < parts.size(); ++i) {
            QVERIFY2(content->rect().contains(parts[i]->geometry()), qPrintable(parts[i]->objectName()));
            for (int j = i + 1; j < parts.size(); ++j)
                QVERIFY2(!parts[i]->geometry().intersects(parts[j]->geometry()),
                         qPrintable(parts[i]->objectName() + QLatin1Char('/') + parts[j]->objectName()));
        }
        QVERIFY(Look::saveShot(w, QStringLiteral("help-%1.png").arg(name)));
    }

private slots:
    void initTestCase() {
        const QString missing = shippedPagesMissing();
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
    }
    void cleanup() { QApplication::closeAllWindows(); }
    void fromSignIn();
    void fromTheDrillRound();
    void withIndex_data();
    void withIndex();
    void everyPage_data();
    void everyPage();
    void printedPages();
};

void TestHelpScrn2Look::fromSignIn() {
    helpScrn2* w = helpScrn2::open(0, nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    look(w, QStringLiteral("signin"));
}

void TestHelpScrn2Look::fromTheDrillRound() {
    helpScrn2* w = helpScrn2::open(1, nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QTRY_COMPARE(w->curDocName(), QStringLiteral("nbq_play.html"));
    look(w, QStringLiteral("round"));
}

void TestHelpScrn2Look::withIndex_data() {
    QTest::addColumn<bool>("largest");
    QTest::addColumn<QSize>("size");
    // The size the window opens at is the one its picture in the help pages shows.
    QTest::newRow("as it opens") << false << QSize(helpScrn2::kMinWidth, helpScrn2::kMinHeight);
    QTest::newRow("largest") << true << QSize(helpScrn2::kMaxWidth, helpScrn2::kMaxHeight);
}

void TestHelpScrn2Look::withIndex() {
    QFETCH(bool, largest);
    QFETCH(QSize, size);
    helpScrn2* w = helpScrn2::open(4, nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QTRY_COMPARE(w->curDocName(), QStringLiteral("nbq_cls.html"));
    if (largest)
        w->resize(w->maximumSize());
    QTRY_COMPARE(w->content()->size(), size);
    QTest::mouseClick(w->findChild<QWidget*>(QStringLiteral("hideBtn")), Qt::LeftButton);
    QVERIFY(w->indexVisible());
    look(w, QStringLiteral("%1x%2").arg(size.width()).arg(size.height()));
}

void TestHelpScrn2Look::everyPage_data() {
    QTest::addColumn<int>("topic");
    for (int topic = 1; topic < indexCtnr::topicTable().size(); ++topic)
        if (!indexCtnr::topicTable().at(topic).endsWith(QLatin1String(",folder")))
            QTest::newRow(qPrintable(QString::number(topic))) << topic;
}

void TestHelpScrn2Look::everyPage() {
    QFETCH(int, topic);
    helpScrn2* w = helpScrn2::open(topic, nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QTRY_VERIFY(!w->curDocName().isEmpty());
    auto* view = w->findChild<QTextBrowser*>(QStringLiteral("myHTML"));
    QVERIFY(view->toPlainText().size() > 200);
    QCOMPARE(view->documentTitle().isEmpty(), false);
    look(w, QStringLiteral("page-%1").arg(w->curDocName().section(QLatin1Char('.'), 0, 0)));
}

// The pages as printing lays them out, on paper of US Letter at 100 dots per inch with the margins of
// the printable area and our own 36 points.
void TestHelpScrn2Look::printedPages() {
    helpScrn2* w = helpScrn2::open(4, nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QTRY_COMPARE(w->curDocName(), QStringLiteral("nbq_cls.html"));
    QFile file(w->curDocUrl().toLocalFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    w->printField()->Render(QString::fromUtf8(file.readAll()));

    const qreal dpi = 100, perPoint = dpi / 72;
    const QSize paper(850, 1100);
    const QRectF printable(0.5 * dpi, 0.5 * dpi, paper.width() - dpi, paper.height() - dpi);
    const qreal margin = 36 * perPoint;
    QList<QImage> pages;
    const auto freshPage = [&] {
        QImage page(paper, QImage::Format_RGB32);
        page.fill(Qt::white);
        page.setDotsPerMeterX(qRound(dpi / 0.0254));
        page.setDotsPerMeterY(qRound(dpi / 0.0254));
        pages << page;
    };
    freshPage();
    // Laid out for the paper's resolution on a device of its own: the pages move as the list grows.
    QImage device = pages.first();
    const std::unique_ptr<QTextDocument> document = helpScrn2::printCopy(*w->printField());
    document->setDocumentMargin(0);
    document->documentLayout()->setPaintDevice(&device);
    // Each page gets its own painter: the laid-out page is drawn, then painted onto the paper.
    QImage sheet(printable.size().toSize(), QImage::Format_ARGB32);
    sheet.fill(Qt::transparent);
    QPainter painter(&sheet);
    painter.translate(margin, margin);
    const auto flush = [&] {
        QPainter paper(&pages.last());
        paper.drawImage(printable.topLeft(), sheet);
        sheet.fill(Qt::transparent);
    };
    const int count = helpScrn2::printDocument(*document, painter, printable.width() - margin,
                                               printable.height() - margin, [&] {
                                                   flush();
                                                   freshPage();
                                               });
    painter.end();
    flush();
    QCOMPARE(pages.size(), count);
    QVERIFY(count >= 1);
    if (!Look::shotsFolder().isEmpty()) {
        for (int i = 0; i < qMin(2, count); ++i)
            QVERIFY(Look::saveShot(pages[i].scaledToWidth(560, Qt::SmoothTransformation),
                                   QStringLiteral("help-printed-%1.png").arg(i + 1)));
    }
}

QTEST_MAIN(TestHelpScrn2Look)
#include "tst_helpscrn2_look.moc"
