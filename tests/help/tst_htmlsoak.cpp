// A bounded, seeded soak of the page reader: mutated help pages and tag soup. Every reading ends,
// reads the same twice, keeps its runs within its text and applies to a document.

#include "help/helpfolder.h"
#include "temphelp.h"
#include "help/htmlsubset.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>
#include <QTextCharFormat>
#include <QTextDocument>

namespace {

const char* const kFragments[] = {"<",
                                  ">",
                                  "</",
                                  "<b>",
                                  "</b>",
                                  "<i>",
                                  "<p",
                                  "</p>",
                                  "<h1>",
                                  "</h3",
                                  "<li>",
                                  "<br>",
                                  "<title>",
                                  "</title>",
                                  "&amp;",
                                  "&lt;",
                                  "&gt;",
                                  "&eacute;",
                                  "&nbsp;",
                                  "<img src=x alt=y>",
                                  "<a href=#top>",
                                  "<a name=top>",
                                  "</a>",
                                  "<font size=-99999999999 color=#zz>",
                                  "</font>",
                                  "<body>",
                                  "</body>",
                                  "\r",
                                  "\n",
                                  "  ",
                                  "\"",
                                  "=",
                                  "\x01",
                                  "\x00"};

QString pick(QRandomGenerator& random) {
    const auto n = std::size(kFragments);
    const char* fragment = kFragments[random.bounded(static_cast<quint32>(n))];
    return fragment[0] == '\0' ? QString(QChar(0)) : QString::fromLatin1(fragment);
}

QString mutate(QString page, QRandomGenerator& random) {
    const int edits = 1 + random.bounded(12);
    for (int e = 0; e < edits; ++e) {
        const int at = page.isEmpty() ? 0 : random.bounded(static_cast<int>(page.size()));
        switch (random.bounded(4)) {
        case 0:
            page.insert(at, pick(random));
            break;
        case 1:
            page.remove(at, random.bounded(40));
            break;
        case 2:
            page.insert(at, page.mid(random.bounded(static_cast<int>(page.size()) + 1), random.bounded(200)));
            break;
        default:
            if (!page.isEmpty())
                page[at] = QChar(random.bounded(128));
            break;
        }
    }
    return page;
}

bool withinText(const QStringList& runs, qsizetype length, int positions) {
    for (const QString& run : runs) {
        const QStringList fields = run.split(QLatin1Char('\t'));
        if (fields.size() < 2)
            return false;
        qlonglong previous = 0;
        for (int i = 0; i < positions; ++i) {
            const qlonglong p = fields[i].toLongLong();
            if (p < previous || p > length)
                return false;
            previous = p;
        }
    }
    return true;
}

} // namespace

class TestHtmlSoak : public QObject {
    Q_OBJECT
    QStringList pages_;

    void check(const QString& page) {
        const HtmlSubset::Rendered r = HtmlSubset::render(page, 12);
        QVERIFY(HtmlSubset::render(page, 12) == r);
        const qsizetype length = r.text.size();
        for (const QStringList* runs :
             {&r.bolds, &r.italics, &r.headers, &r.fonts, &r.colors, &r.sizes, &r.links})
            QVERIFY2(withinText(*runs, length, 2), qPrintable(page.left(200)));
        QVERIFY(withinText(r.anchors, length, 1));
        QTextDocument document;
        HtmlSubset::setText(&document, r.text, QTextCharFormat());
        QCOMPARE(document.characterCount() - 1, length);
        HtmlSubset::applyRuns(&document, r);
    }

private slots:
    void initTestCase() {
        const QString missing = shippedPagesMissing();
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
        const QDir folder(HelpFolder::path());
        for (const QString& name : folder.entryList({QStringLiteral("*.html")}, QDir::Files)) {
            QFile f(folder.filePath(name));
            QVERIFY(f.open(QIODevice::ReadOnly));
            pages_ << QString::fromUtf8(f.readAll());
        }
        QVERIFY(pages_.size() >= 14);
    }
    void mutatedPages();
    void tagSoup();
};

void TestHtmlSoak::mutatedPages() {
    QRandomGenerator random(20261211);
    QElapsedTimer clock;
    clock.start();
    for (int round = 0; round < 40; ++round)
        for (const QString& page : pages_) {
            check(mutate(page, random));
            if (QTest::currentTestFailed())
                return;
        }
    QVERIFY2(clock.elapsed() < 30000, qPrintable(QString::number(clock.elapsed())));
}

void TestHtmlSoak::tagSoup() {
    QRandomGenerator random(7);
    for (int round = 0; round < 400; ++round) {
        QString soup;
        const int fragments = random.bounded(300);
        for (int i = 0; i < fragments; ++i)
            soup += random.bounded(3) == 0 ? QStringLiteral("x") : pick(random);
        check(soup);
        if (QTest::currentTestFailed())
            return;
    }
}

QTEST_MAIN(TestHtmlSoak)
#include "tst_htmlsoak.moc"
