// The help folder as it ships: every topic has its page, every link and picture resolves, the pages
// keep to the HTML that our own printing reads well, and nothing in the folder is left unused.

#include "help/helpfolder.h"
#include "help/indexctnr.h"
#include "temphelp.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

namespace {

QString readPage(const QString& fileName) {
    QFile f(HelpFolder::page(fileName));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

QStringList pageFiles() {
    return QDir(HelpFolder::path()).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
}

const QSet<QString>& allowedEntities() {
    static const QSet<QString> names{
        "copy",   "reg",    "cent",   "yen",    "pound",  "euro",   "trade",  "quot",   "deg",    "nbsp",
        "Agrave", "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",  "agrave", "aacute", "acirc",  "atilde",
        "auml",   "aring",  "Ccedil", "ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",   "egrave", "eacute",
        "ecirc",  "euml",   "Igrave", "Iacute", "Icirc",  "Iuml",   "igrave", "iacute", "icirc",  "iuml",
        "Ntilde", "ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",   "ograve", "oacute", "ocirc",
        "otilde", "ouml",   "Ugrave", "Uacute", "Ucirc",  "Uuml",   "ugrave", "uacute", "ucirc",  "uuml",
        "Yuml",   "yuml",   "szlig",  "amp",    "lt",     "gt"};
    return names;
}

// Tag name -> the attributes it may carry.
const QHash<QString, QSet<QString>>& allowedTags() {
    static const QHash<QString, QSet<QString>> tags{{"html", {}},
                                                    {"head", {}},
                                                    {"title", {}},
                                                    {"body", {"bgcolor", "text", "link"}},
                                                    {"h1", {}},
                                                    {"h2", {}},
                                                    {"h3", {}},
                                                    {"p", {}},
                                                    {"br", {}},
                                                    {"ul", {}},
                                                    {"li", {}},
                                                    {"b", {}},
                                                    {"i", {}},
                                                    {"small", {}},
                                                    {"font", {"size", "color", "face"}},
                                                    {"a", {"href", "name"}},
                                                    {"img", {"src", "alt"}}};
    return tags;
}

struct Tag {
    bool closing;
    QString name;
    QString attributes;
    qsizetype at;
};

QList<Tag> tagsOf(const QString& page) {
    QList<Tag> tags;
    static const QRegularExpression tag(QStringLiteral("<(/?)([A-Za-z0-9]*)([^<>]*)>"));
    for (const QRegularExpressionMatch& m : tag.globalMatch(page))
        tags.append({!m.captured(1).isEmpty(), m.captured(2), m.captured(3), m.capturedStart()});
    return tags;
}

QHash<QString, QString> attributesOf(const QString& text, QStringList* problems) {
    QHash<QString, QString> attributes;
    static const QRegularExpression attribute(QStringLiteral("\\s+([a-z]+)=\"([^\"]*)\""));
    qsizetype consumed = 0;
    for (const QRegularExpressionMatch& m : attribute.globalMatch(text)) {
        if (m.capturedStart() != consumed)
            *problems << QStringLiteral("stray text in attributes: ") + text;
        consumed = m.capturedEnd();
        if (m.captured(2).contains(QLatin1Char(' ')) || m.captured(2).isEmpty())
            *problems << QStringLiteral("blank or empty value: ") + m.captured(0);
        attributes.insert(m.captured(1), m.captured(2));
    }
    if (consumed != text.size())
        *problems << QStringLiteral("unreadable attributes: ") + text;
    return attributes;
}

QSet<QString> anchorsOf(const QString& page) {
    QSet<QString> names;
    QStringList ignored;
    for (const Tag& t : tagsOf(page)) {
        if (!t.closing && t.name == QLatin1String("a"))
            if (const QString name = attributesOf(t.attributes, &ignored).value(QStringLiteral("name"));
                !name.isEmpty())
                names.insert(name);
    }
    return names;
}

} // namespace

class TestHelpPages : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        const QString missing = shippedPagesMissing();
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
    }
    void everyTopicHasItsPage();
    void pagesKeepToThePrintableSubset_data();
    void pagesKeepToThePrintableSubset();
    void linksAndPicturesResolve();
    void nothingInTheFolderIsUnused();
    void aButtonLeftUnavailableIsSaidSo_data();
    void aButtonLeftUnavailableIsSaidSo();
};

void TestHelpPages::everyTopicHasItsPage() {
    QVERIFY2(QDir(HelpFolder::path()).exists(), qPrintable(HelpFolder::path()));
    int pages = 0;
    for (const QString& entry : indexCtnr::topicTable()) {
        const QString file = entry.section(QLatin1Char(','), 1, 1);
        if (file == QLatin1String("folder"))
            continue;
        ++pages;
        QVERIFY2(QFileInfo(HelpFolder::page(file)).isFile(), qPrintable(file));
    }
    QCOMPARE(pages, 14);
}

void TestHelpPages::pagesKeepToThePrintableSubset_data() {
    QTest::addColumn<QString>("file");
    for (const QString& file : pageFiles())
        QTest::newRow(qPrintable(file)) << file;
}

void TestHelpPages::pagesKeepToThePrintableSubset() {
    QFETCH(QString, file);
    const QString page = readPage(file);
    QVERIFY(!page.isEmpty());
    QStringList problems;

    QVERIFY(page.startsWith(QLatin1String("<html>\n")));
    QCOMPARE(page.count(QLatin1String("<title>")), 1);
    QCOMPARE(page.count(QLatin1String("</title>")), 1);
    const qsizetype titleStart = page.indexOf(QLatin1String("<title>")) + 7;
    QVERIFY(page.indexOf(QLatin1String("</title>")) > titleStart);
    QCOMPARE(page.count(QLatin1String("<h1>")), 1);
    QVERIFY(!page.contains(QLatin1Char('\r')));

    // Elements: known, well nested, closed except the bare line break and list item, and a picture,
    // which has no content to close.
    QStringList open;
    for (const Tag& t : tagsOf(page)) {
        if (!allowedTags().contains(t.name)) {
            problems << QStringLiteral("tag <%1%2>").arg(t.closing ? "/" : "", t.name);
            continue;
        }
        const bool bare = t.name == QLatin1String("br") || t.name == QLatin1String("li");
        if (t.name == QLatin1String("img")) {
            if (t.closing)
                problems << QStringLiteral("</img>");
            for (const QString& key : attributesOf(t.attributes, &problems).keys())
                if (!allowedTags().value(t.name).contains(key))
                    problems << QStringLiteral("attribute %1 on <img>").arg(key);
            continue;
        }
        if (bare) {
            if (t.closing || !t.attributes.isEmpty())
                problems
                    << QStringLiteral("not bare: <%1%2%3>").arg(t.closing ? "/" : "", t.name, t.attributes);
            continue;
        }
        if (t.closing) {
            if (open.isEmpty() || open.last() != t.name)
                problems << QStringLiteral("</%1> closes %2")
                                .arg(t.name, open.isEmpty() ? "nothing" : open.last());
            else
                open.removeLast();
            continue;
        }
        const QHash<QString, QString> attributes = attributesOf(t.attributes, &problems);
        for (auto it = attributes.cbegin(); it != attributes.cend(); ++it)
            if (!allowedTags().value(t.name).contains(it.key()))
                problems << QStringLiteral("attribute %1 on <%2>").arg(it.key(), t.name);
        open << t.name;
    }
    if (!open.isEmpty())
        problems << QStringLiteral("left open: ") + open.join(QLatin1Char(' '));
    // A "<" or ">" that is not part of a tag would be taken for one.
    QString outsideTags = page;
    outsideTags.remove(QRegularExpression(QStringLiteral("<[^<>]*>")));
    if (outsideTags.contains(QLatin1Char('<')) || outsideTags.contains(QLatin1Char('>')))
        problems << QStringLiteral("a bare < or >");

    // Entities: only those the printing knows.
    static const QRegularExpression ampersand(QStringLiteral("&([A-Za-z0-9#]*);?"));
    for (const QRegularExpressionMatch& m : ampersand.globalMatch(page)) {
        if (!m.captured(0).endsWith(QLatin1Char(';')) || !allowedEntities().contains(m.captured(1)))
            problems << QStringLiteral("entity ") + m.captured(0);
    }

    // One line per paragraph, heading and item, since line feeds print as line breaks.
    bool inList = false;
    for (const QString& line : page.split(QLatin1Char('\n'))) {
        for (const char* block : {"p", "h1", "h2", "h3", "title"}) {
            const QString opening = QStringLiteral("<%1>").arg(block);
            const QString closing = QStringLiteral("</%1>").arg(block);
            if (line.count(opening) != line.count(closing))
                problems << QStringLiteral("split %1: ").arg(block) + line;
        }
        if (line == QLatin1String("<ul>"))
            inList = true;
        else if (line == QLatin1String("</ul>"))
            inList = false;
        else if (inList &&
                 (!line.startsWith(QLatin1String("<li>")) || line.count(QLatin1String("<li>")) != 1))
            problems << QStringLiteral("list line: ") + line;
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1String("\n"))));
}

void TestHelpPages::linksAndPicturesResolve() {
    QStringList problems;
    for (const QString& file : pageFiles()) {
        QStringList ignored;
        for (const Tag& t : tagsOf(readPage(file))) {
            if (t.closing)
                continue;
            const QHash<QString, QString> attributes = attributesOf(t.attributes, &ignored);
            if (t.name == QLatin1String("a") && attributes.contains(QStringLiteral("href"))) {
                const QString href = attributes.value(QStringLiteral("href"));
                const QString target = href.section(QLatin1Char('#'), 0, 0);
                const QString anchor =
                    href.contains(QLatin1Char('#')) ? href.section(QLatin1Char('#'), 1) : QString();
                const QString targetFile = target.isEmpty() ? file : target;
                if (target.contains(QLatin1Char('/')) || target.contains(QLatin1Char(':')) ||
                    !QFileInfo(HelpFolder::page(targetFile)).isFile())
                    problems << file + QStringLiteral(": no page for ") + href;
                else if (!anchor.isEmpty() && !anchorsOf(readPage(targetFile)).contains(anchor))
                    problems << file + QStringLiteral(": no anchor for ") + href;
            }
            if (t.name == QLatin1String("img")) {
                const QString src = attributes.value(QStringLiteral("src"));
                if (src.isEmpty() || src.contains(QLatin1Char('/')) ||
                    !QFileInfo(HelpFolder::page(src)).isFile())
                    problems << file + QStringLiteral(": no picture ") + src;
                if (attributes.value(QStringLiteral("alt")).isEmpty())
                    problems << file + QStringLiteral(": picture without alt ") + src;
            }
        }
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1String("\n"))));
}

void TestHelpPages::nothingInTheFolderIsUnused() {
    QSet<QString> used;
    for (const QString& entry : indexCtnr::topicTable())
        used.insert(entry.section(QLatin1Char(','), 1, 1));
    for (const QString& file : pageFiles()) {
        QStringList ignored;
        for (const Tag& t : tagsOf(readPage(file))) {
            const QHash<QString, QString> attributes = attributesOf(t.attributes, &ignored);
            if (const QString href = attributes.value(QStringLiteral("href")); !href.isEmpty())
                used.insert(href.section(QLatin1Char('#'), 0, 0));
            if (const QString src = attributes.value(QStringLiteral("src")); !src.isEmpty())
                used.insert(src);
        }
    }
    const QStringList everything =
        QDir(HelpFolder::path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    QStringList unused;
    for (const QString& entry : everything)
        if (!used.contains(entry))
            unused << entry;
    QVERIFY2(unused.isEmpty(), qPrintable(unused.join(QLatin1String(", "))));
}

void TestHelpPages::aButtonLeftUnavailableIsSaidSo_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("until");
    // The preferences window opened with the data on this computer keeps the button unavailable after
    // a move to a shared folder, until it is opened again.
    QTest::newRow("Use This Computer after a move") << "nbq_net.html"
                                                    << "Use This Computer"
                                                    << "until you close Preferences and open it again";
}

// Where a page tells the teacher to click a button that a window may leave unavailable, the same
// paragraph says until when, so that the teacher is not left before a button that does nothing.
void TestHelpPages::aButtonLeftUnavailableIsSaidSo() {
    QFETCH(QString, page);
    QFETCH(QString, button);
    QFETCH(QString, until);
    const QString html = readPage(page);
    QVERIFY(!html.isEmpty());
    static const QRegularExpression blockStart(QStringLiteral("<(p|li|h[1-6])[ >]"),
                                               QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    int told = 0;
    for (QString block : html.split(blockStart)) {
        block = block.remove(tag).replace(blanks, QStringLiteral(" "));
        if (!block.contains(QStringLiteral("Click ") + button))
            continue;
        ++told;
        QVERIFY2(block.contains(until), qPrintable(block));
    }
    QVERIFY(told > 0);
}

QTEST_MAIN(TestHelpPages)
#include "tst_helppages.moc"
