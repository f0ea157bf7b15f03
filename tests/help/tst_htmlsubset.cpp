// Reading a help page: text, runs, anchors, colours and title, without any window.

#include "help/htmlsubset.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

using HtmlSubset::Rendered;

namespace {

constexpr int kBase = 12;

// The runs as one line: "b 0,4; i 0,2; a 5,7,#top; @ 0,top" (kinds in reading order).
QString runsOf(const Rendered& r) {
    QStringList out;
    const std::pair<const char*, const QStringList*> kinds[] = {
        {"b", &r.bolds},      {"i", &r.italics},  {"h", &r.headers}, {"face", &r.fonts},
        {"color", &r.colors}, {"size", &r.sizes}, {"a", &r.links},   {"@", &r.anchors}};
    for (const auto& [kind, runs] : kinds)
        for (const QString& run : *runs)
            out << QString::fromLatin1(kind) + QLatin1Char(' ') +
                       QString(run).replace(QLatin1Char('\t'), QLatin1Char(','));
    return out.join(QLatin1String("; "));
}

QString crlf(const char* text) {
    return QString::fromUtf8(text).replace(QLatin1Char('|'), QChar(13));
}

} // namespace

class TestHtmlSubset : public QObject {
    Q_OBJECT

private slots:
    void pages_data();
    void pages();
    void bodyColours_data();
    void bodyColours();
    void attributeValues();
    void leadingLineFeedsMoveTheRunsBack();
    void titleNeedsAWholePair_data();
    void titleNeedsAWholePair();
    void strayBracketsEndInTime_data();
    void strayBracketsEndInTime();
    void placeholderCharactersInThePage();
    void nestedTagsStayLinear();
    void anyPageEndsInTime_data();
    void nesting_data();
    void nesting();
    void anyPageEndsInTime();
    void entities_data();
    void entities();
    void allSixtyFourEntities();
    void colours_data();
    void colours();
    void sizes_data();
    void sizes();
    void helpers();
    void runsApplied();
    void badRunsAreClippedOrSkipped();
};

void TestHtmlSubset::pages_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("runs");
    QTest::addColumn<QString>("title");
    const auto row = [](const char* name, const char* page, const char* text, const char* runs,
                        const char* title = "") {
        QTest::newRow(name) << QString::fromUtf8(page) << crlf(text) << QString::fromUtf8(runs)
                            << QString::fromUtf8(title);
    };
    row("empty", "", "", "");
    row("bold", "<b>bold</b> text", "bold text", "b 0,4");
    row("nested", "<b><i>ab</i>c</b>", "abc", "b 0,3; i 0,2");
    row("first closing closes the outer", "<b>x<b>y</b>z</b>", "xyz", "b 0,2; b 1,3");
    row("paragraphs", "<p>A</p><p>B</p>", "|A||B|", "");
    row("heading takes its closing break", "<h1>Title</h1>Text", "|Title|Text", "h 1,7,1");
    row("list", "<ul><li>One</li><li>Two</li></ul>", "||   \u2022 One|   \u2022 Two|", "");
    row("image with alt", "<img src=a.png alt=Shot>", "[IMAGE: Shot]", "a 0,13,a.png");
    row("image", "<img src=a.png>", "[IMAGE]", "a 0,7,a.png");
    row("image without source", "<IMAGE alt=x>", "[IMAGE: x]", "");
    row("anchor and link", "<a name=top></a>Text <a href=#top>Up</a>", "Text Up", "a 5,7,#top; @ 0,top");
    row("relative size", "<font size=+2>x</font>", "x", "size 0,1,14");
    row("size and colour", "<font size=3 color=#FF0000>x</font>", "x", "color 0,1,#FF0000; size 0,1,3");
    row("face", "<font face=Courier>x</font>", "x", "face 0,1,Courier");
    row("small", "a<small>b</small>", "ab", "size 1,2,10");
    row("no closing tag", "<b>bold", "bold", "");
    row("letter case", "<B>x</B>", "x", "b 0,1");
    row("escaped brackets", "&lt;b&gt;", "<b>", "");
    row("image marker not in the bold run", "<b><img alt=A>x</b>", "[IMAGE: A]x", "b 0,1");
    row("title", "<title>Help &amp; more</title>", "", "", "Help & more");
    row("escaped title", "<title>a &lt; b</title>", "", "", "a &lt; b");
    row("br with slash", "a<br/>b and a<br />b", "ab and ab", "");
    row("upper-case BR", "a<BR>b", "a|b", "");
    row("four blanks", "a    b\tc", "a b\tc", "");
    row("quoted alt keeps its first word", "<img alt=\"two words\">", "[IMAGE: two]", "");
    row("single quotes stay", "<a href='x.html'>y</a>", "y", "a 0,1,'x.html'");
    row("stray closing tag found by its beginning", "<b>x</blockquote>y", "xy", "b 0,1");
    row("upper-case HREF", "<a HREF=nbq_pref.html>p</a>", "p", "a 0,1,nbq_pref.html");
    row("h4 gives no break", "a<h4>b</h4>c", "abc", "");
    row("li with attributes", "<li class=x>a", "a", "");
    row("closing tag alone", "a</b>c", "ac", "");
    row("definition list", "<dl><dt>T</dt><dd>D</dd></dl>", "|T|D|", "");
    row("comment", "a<!-- note -->b", "ab", "");
    row("carriage returns run lines together", "a\r\nb\rc", "a\nbc", "");
    row("escaped amp-lt", "&amp;lt;x&amp;gt;", "<x>", "");
    row("link over colour", "<font color=#00FF00><a href=x.html>L</a></font>", "L",
        "color 0,1,#00FF00; a 0,1,x.html");
}

void TestHtmlSubset::pages() {
    QFETCH(QString, page);
    QFETCH(QString, text);
    QFETCH(QString, runs);
    QFETCH(QString, title);
    const Rendered r = HtmlSubset::render(page, kBase);
    QCOMPARE(r.text, text);
    QCOMPARE(runsOf(r), runs);
    QCOMPARE(r.title, title);
    // The same page reads the same every time.
    QVERIFY(HtmlSubset::render(page, kBase) == r);
}

void TestHtmlSubset::bodyColours_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("link");
    QTest::addColumn<bool>("handled");
    QTest::newRow("none") << "Hi" << QColor(255, 255, 255) << QColor(0, 0, 0) << QColor(0, 0, 255) << false;
    QTest::newRow("closed body") << "<body bgcolor=#000000 text=#FFFFFF>Hi</body>" << QColor(0, 0, 0)
                                 << QColor(255, 255, 255) << QColor(0, 0, 255) << true;
    QTest::newRow("unclosed body") << "<body bgcolor=#000000>Hi" << QColor(255, 255, 255) << QColor(0, 0, 0)
                                   << QColor(0, 0, 255) << false;
    QTest::newRow("link colour") << "<body link=#1F4E8C>Hi</body>" << QColor(255, 255, 255) << QColor(0, 0, 0)
                                 << QColor(0x1F, 0x4E, 0x8C) << true;
}

void TestHtmlSubset::bodyColours() {
    QFETCH(QString, page);
    QFETCH(QColor, background);
    QFETCH(QColor, text);
    QFETCH(QColor, link);
    QFETCH(bool, handled);
    const Rendered r = HtmlSubset::render(page, kBase);
    QCOMPARE(r.text, QStringLiteral("Hi"));
    QCOMPARE(r.background, background);
    QCOMPARE(r.textColor, text);
    QCOMPARE(r.linkColor, link);
    QCOMPARE(r.bodyHandled, handled);
}

void TestHtmlSubset::attributeValues() {
    // Quoted and unquoted values record the same; a later attribute of the same name wins.
    QCOMPARE(HtmlSubset::render("<a href=\"a.html\">x</a>", kBase).links,
             HtmlSubset::render("<a href=a.html>x</a>", kBase).links);
    QCOMPARE(HtmlSubset::render("<a href=a.html HREF=b.html>x</a>", kBase).links,
             QStringList{"0\t1\tb.html"});
    // Entities are decoded inside values too.
    QCOMPARE(HtmlSubset::render("<img alt=a&nbsp;b>", kBase).text, QStringLiteral("[IMAGE: a\u00A0b]"));
}

void TestHtmlSubset::leadingLineFeedsMoveTheRunsBack() {
    // The shape of every shipped page: the runs must land on the characters they style.
    const Rendered r =
        HtmlSubset::render("<html>\n<head>\n<title>T</title>\n</head>\n<body>\n<a name=\"top\"></a><b>x</b> "
                           "<a href=\"#top\">y</a>\n</body>\n</html>\n",
                           kBase);
    QCOMPARE(r.text, QStringLiteral("x y\n\n\n"));
    QCOMPARE(r.bolds, QStringList{"0\t1"});
    QCOMPARE(r.links, QStringList{"2\t3\t#top"});
    QCOMPARE(r.anchors, QStringList{"0\ttop"});
    QCOMPARE(r.title, QStringLiteral("T"));
    QVERIFY(r.bodyHandled);
}

void TestHtmlSubset::titleNeedsAWholePair_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");
    QTest::newRow("open only") << "ab<title>cd"
                               << "abcd"
                               << "";
    QTest::newRow("close only") << "abcdefgh</title>ij"
                                << "abcdefghij"
                                << "";
    QTest::newRow("pair") << "a<title>T</title>b"
                          << "ab"
                          << "T";
    QTest::newRow("second closing kept as text") << "a<title>T</title>b</title>c"
                                                 << "abc"
                                                 << "T";
    QTest::newRow("upper case") << "a<TITLE>T</Title>b"
                                << "ab"
                                << "T";
}

void TestHtmlSubset::titleNeedsAWholePair() {
    QFETCH(QString, page);
    QFETCH(QString, text);
    QFETCH(QString, title);
    const Rendered r = HtmlSubset::render(page, kBase);
    QCOMPARE(r.text, text);
    QCOMPARE(r.title, title);
}

void TestHtmlSubset::strayBracketsEndInTime_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("runs");
    QTest::newRow("lone <") << "a < b"
                            << "a < b"
                            << "";
    QTest::newRow("< after a tag") << "<b>x</b> 3 < 4"
                                   << "x 3 < 4"
                                   << "b 0,1";
    QTest::newRow("open tag without >") << "x<b"
                                        << "x<b"
                                        << "";
    QTest::newRow("closing tag without >") << "<b>x</b"
                                           << "x</b"
                                           << "";
    QTest::newRow("a < the run counted, read as a tag later") << "<small>a<b</small>c>d" << "ad" << "size 0,2,10";
    QTest::newRow("stray < inside content") << "<i>a<b</i>c"
                                            << "a<bc"
                                            << "i 0,3";
}

void TestHtmlSubset::strayBracketsEndInTime() {
    QFETCH(QString, page);
    QFETCH(QString, text);
    QFETCH(QString, runs);
    const Rendered r = HtmlSubset::render(page, kBase);
    QCOMPARE(r.text, text);
    QCOMPARE(runsOf(r), runs);
}

void TestHtmlSubset::placeholderCharactersInThePage() {
    // Characters 0 and 1 of the page never turn into brackets, so they never make a tag.
    const QString page =
        QStringLiteral("a") + QChar(0) + QStringLiteral("b>c") + QChar(1) + QStringLiteral("<i>d</i>");
    const Rendered r = HtmlSubset::render(page, kBase);
    QCOMPARE(r.text, QStringLiteral("ab>cd"));
    QCOMPARE(r.italics, QStringList{"4\t5"});
}

void TestHtmlSubset::nestedTagsStayLinear() {
    QString page;
    for (int i = 0; i < 2000; ++i)
        page += QStringLiteral("<b>");
    page += QStringLiteral("x");
    for (int i = 0; i < 2000; ++i)
        page += QStringLiteral("</b>");
    QElapsedTimer clock;
    clock.start();
    const Rendered r = HtmlSubset::render(page, kBase);
    QCOMPARE(r.text, QStringLiteral("x"));
    QCOMPARE(r.bolds.size(), 2000);
    QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
}

void TestHtmlSubset::anyPageEndsInTime_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("text");
    const int n = 225000; // 0.9 MB of "<b>x"
    QTest::newRow("unclosed nested b")
        << QStringLiteral("<b>x").repeated(n) << QStringLiteral("x").repeated(n);
    QString distinct;
    for (int i = 0; i < 60000; ++i)
        distinct += QStringLiteral("<t%1>x").arg(i);
    QTest::newRow("unclosed, every name new") << distinct << QStringLiteral("x").repeated(60000);
    QTest::newRow("closed, nested 100000 deep")
        << QStringLiteral("<i>x").repeated(100000) + QStringLiteral("</i>").repeated(100000)
        << QStringLiteral("x").repeated(100000);
    QTest::newRow("one closing at the very end")
        << QStringLiteral("<font size=3>x").repeated(60000) + QStringLiteral("</font>")
        << QStringLiteral("x").repeated(60000);
    QTest::newRow("elements one after another")
        << QStringLiteral("<b>x</b>").repeated(100000) << QStringLiteral("x").repeated(100000);
}

// However a page nests or leaves its elements open, reading it ends well within a second and keeps
// all its text.
void TestHtmlSubset::anyPageEndsInTime() {
    QFETCH(QString, page);
    QFETCH(QString, text);
    QElapsedTimer clock;
    clock.start();
    const Rendered r = HtmlSubset::render(page, kBase);
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QStringLiteral("%1 ms").arg(clock.elapsed())));
    QCOMPARE(r.text.size(), text.size());
    QCOMPARE(r.text, text);
}

void TestHtmlSubset::nesting_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("depth");
    QTest::newRow("a page") << "<html><head><title>t</title></head><body><h1>H</h1><p>a <b>b <i>c</i></b>"
                               "<br><img src=x.png><ul><li>one<li>two</ul></body></html>"
                            << 4;
    QTest::newRow("closed in order") << "<b><i><u>x</u></i></b><b>y</b>" << 3;
    QTest::newRow("unclosed") << QStringLiteral("<b>x").repeated(50) << 50;
    QTest::newRow("names taken in turn") << QStringLiteral("<b><i><font>").repeated(10) << 30;
    QTest::newRow("paragraphs and items do not nest") << QStringLiteral("<p>a<li>b<td>c").repeated(50) << 0;
    QTest::newRow("empty elements") << QStringLiteral("<br><hr><img src=a><br/><x/>").repeated(50) << 0;
    QTest::newRow("comments and declarations") << "<!DOCTYPE html><!-- <b><b><b> --><?xml?><b>x" << 1;
    QTest::newRow("stray closing tags") << "</b></b></b><b><i>x" << 2;
    QTest::newRow("letter case") << "<B><b>x</B></b>" << 2;
    QTest::newRow("counting stops past the limit") << QStringLiteral("<b>").repeated(1000) << 101;
}

void TestHtmlSubset::nesting() {
    QFETCH(QString, page);
    QFETCH(int, depth);
    QCOMPARE(HtmlSubset::nestingDepth(page, 100), depth);
}

void TestHtmlSubset::entities_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("decoded");
    QTest::newRow("amp") << "AT&amp;T"
                         << "AT&T";
    QTest::newRow("once") << "&amp;eacute;"
                          << "&eacute;";
    QTest::newRow("amp amp") << "&amp;amp;"
                             << "&amp;";
    QTest::newRow("upper") << "&Eacute;"
                           << "\u00C9";
    QTest::newRow("lower") << "&eacute;"
                           << "\u00E9";
    QTest::newRow("wrong case") << "&EACUTE;"
                                << "&EACUTE;";
    QTest::newRow("nbsp") << "a&nbsp;b"
                          << "a\u00A0b";
    QTest::newRow("numeric") << "&#169;"
                             << "&#169;";
    QTest::newRow("unknown") << "&apos;"
                             << "&apos;";
    QTest::newRow("lt stays") << "&lt;&gt;"
                              << "&lt;&gt;";
    QTest::newRow("Yuml") << "&Yuml;&yuml;&szlig;"
                          << "\u0178\u00FF\u00DF";
    QTest::newRow("without semicolon") << "&copy x"
                                       << "&copy x";
}

void TestHtmlSubset::entities() {
    QFETCH(QString, text);
    QFETCH(QString, decoded);
    QCOMPARE(HtmlSubset::replaceEntities(text), decoded);
}

void TestHtmlSubset::allSixtyFourEntities() {
    const char* names[] = {"copy",   "reg",    "cent",   "yen",    "pound",  "euro",   "trade",  "quot",
                           "deg",    "nbsp",   "Agrave", "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",
                           "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "Ccedil", "ccedil",
                           "Egrave", "Eacute", "Ecirc",  "Euml",   "egrave", "eacute", "ecirc",  "euml",
                           "Igrave", "Iacute", "Icirc",  "Iuml",   "igrave", "iacute", "icirc",  "iuml",
                           "Ntilde", "ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",   "ograve",
                           "oacute", "ocirc",  "otilde", "ouml",   "Ugrave", "Uacute", "Ucirc",  "Uuml",
                           "ugrave", "uacute", "ucirc",  "uuml",   "Yuml",   "yuml",   "szlig",  "amp"};
    const QString expected = QString::fromUtf8("\u00A9\u00AE\u00A2\u00A5\u00A3\u20AC\u2122\"\u00B0\u00A0"
                                               "ÀÁÂÃÄÅàáâãäåÇçÈÉÊËèéêëÌÍÎÏìíîïÑñÒÓÔÕÖòóôõöÙÚÛÜùúûü\u0178ÿß&");
    QString all;
    for (const char* n : names)
        all += QLatin1Char('&') + QString::fromLatin1(n) + QLatin1Char(';');
    QCOMPARE(HtmlSubset::replaceEntities(all), expected);
    // Each decoded alone: the table has no two names for one character but these.
    QCOMPARE(expected.size(), 64);
}

void TestHtmlSubset::colours_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("orange") << "#FF8000" << QColor(255, 128, 0);
    QTest::newRow("short form") << "#fff" << QColor(255, 15, 255);
    QTest::newRow("no hash") << "FF0000" << QColor(240, 0, 0);
    QTest::newRow("name") << "red" << QColor(237, 0, 237);
    QTest::newRow("empty") << "" << QColor(0, 0, 0);
    QTest::newRow("mixed case") << "#aBcDeF" << QColor(0xAB, 0xCD, 0xEF);
    QTest::newRow("half digits") << "#1g2h3i" << QColor(1, 2, 3);
}

void TestHtmlSubset::colours() {
    QFETCH(QString, value);
    QFETCH(QColor, colour);
    QCOMPARE(HtmlSubset::colorFromHex(value), colour);
    QCOMPARE(HtmlSubset::colorFromHex(HtmlSubset::hexFromColor(colour)), colour);
}

void TestHtmlSubset::sizes_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("points");
    QTest::newRow("absolute") << "3" << 3;
    QTest::newRow("plus") << "+2" << 14;
    QTest::newRow("minus") << "-2" << 10;
    QTest::newRow("below zero") << "-20" << -8;
    QTest::newRow("fraction") << "+1.5" << 14;
    QTest::newRow("unit") << "14px" << 14;
    QTest::newRow("nothing readable") << "big" << 0;
    QTest::newRow("huge") << "99999999999999999999" << std::numeric_limits<int>::max();
    QTest::newRow("huge below") << "-99999999999999999999" << std::numeric_limits<int>::min();
}

void TestHtmlSubset::sizes() {
    QFETCH(QString, value);
    QFETCH(int, points);
    QCOMPARE(HtmlSubset::getSizeFromParam(value, kBase), points);
}

void TestHtmlSubset::helpers() {
    QCOMPARE(HtmlSubset::hexFromColor(QColor(10, 171, 255)), QStringLiteral("#0AABFF"));
    QCOMPARE(HtmlSubset::removeExcessSpace(QStringLiteral("a     b  c\t\t d")),
             QStringLiteral("a b c\t\t d"));
    QCOMPARE(HtmlSubset::stripHTML(QStringLiteral("a<b>c</b>d")), QStringLiteral("acd"));
    QCOMPARE(HtmlSubset::stripHTML(QStringLiteral("a<b>c<d")), QStringLiteral("ac<d"));
    QCOMPARE(HtmlSubset::lTrim(QStringLiteral("\n\n a"), QStringLiteral("\n")), QStringLiteral(" a"));
    QCOMPARE(HtmlSubset::lTrim(QStringLiteral("\n\n"), QStringLiteral("\n")), QString());
    QCOMPARE(HtmlSubset::getTitle(QStringLiteral("x<title> A  </title>")), QStringLiteral(" A  "));
}

void TestHtmlSubset::runsApplied() {
    QTextDocument document;
    const Rendered r = HtmlSubset::render(
        "<h2>Head<font size=12>ing</font>s</h2><a href=x.html><font color=#00FF00>link</font></a>", kBase);
    QTextCharFormat base;
    base.setFontPointSize(kBase);
    HtmlSubset::setText(&document, r.text, base);
    HtmlSubset::applyRuns(&document, r);
    QCOMPARE(document.characterCount() - 1, r.text.size());
    const auto formatAt = [&](int position) {
        QTextCursor c(&document);
        c.setPosition(position + 1); // the format of the character in front of the cursor
        return c.charFormat();
    };
    // "\rHeadings\rlink": the heading 1..10 bold at 18 points; "ing" at 12 points and still bold.
    QCOMPARE(formatAt(1).fontWeight(), int(QFont::Bold));
    QCOMPARE(formatAt(1).fontPointSize(), 18.0);
    QCOMPARE(formatAt(6).fontPointSize(), 12.0);
    QCOMPARE(formatAt(6).fontWeight(), int(QFont::Bold));
    QCOMPARE(formatAt(8).fontPointSize(), 18.0);
    const int link = r.text.indexOf(QStringLiteral("link"));
    QCOMPARE(formatAt(link).foreground().color(), QColor(0, 0, 255));
    QVERIFY(formatAt(link).fontUnderline());
    QCOMPARE(formatAt(link).fontWeight(), int(QFont::Normal));
}

void TestHtmlSubset::badRunsAreClippedOrSkipped() {
    Rendered r;
    r.text = QStringLiteral("abcdef");
    r.bolds = QStringList{"4\t2", "3\t99", "-5\t1"};
    r.sizes = QStringList{"0\t1\t0", "1\t2\t-8", "2\t3\t500"};
    QTextDocument document;
    HtmlSubset::setText(&document, r.text, QTextCharFormat());
    HtmlSubset::applyRuns(&document, r);
    QTextCursor c(&document);
    const auto at = [&](int i) {
        c.setPosition(i + 1);
        return c.charFormat();
    };
    QCOMPARE(at(0).fontWeight(), int(QFont::Bold)); // -5..1 clipped to 0..1
    QCOMPARE(at(1).fontWeight(), int(QFont::Normal));
    QCOMPARE(at(2).fontWeight(), int(QFont::Normal)); // 4..2 skipped
    QCOMPARE(at(5).fontWeight(), int(QFont::Bold));   // 3..99 clipped to the end
    QVERIFY(!at(0).hasProperty(QTextFormat::FontPointSize));
    QVERIFY(!at(1).hasProperty(QTextFormat::FontPointSize));
    QCOMPARE(at(2).fontPointSize(), 144.0);
}

QTEST_MAIN(TestHtmlSubset)
#include "tst_htmlsubset.moc"
