// The styled field that holds a page for printing: its styles as the text shows them, its title, and
// its live links and anchors.

#include "help/htmlfield.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

namespace {

QTextCharFormat formatAt(HTMLField& field, int position) {
    QTextCursor c(field.document());
    c.setPosition(position + 1); // the format of the character in front of the cursor
    return c.charFormat();
}

void caretAt(HTMLField& field, int position) {
    QTextCursor c = field.textCursor();
    c.setPosition(position);
    field.setTextCursor(c);
}

} // namespace

class TestHtmlField : public QObject {
    Q_OBJECT

private slots:
    void stylesAsTheTextShowsThem();
    void titleAndColours();
    void positionsMatchTheText();
    void caretInsideALink_data();
    void caretInsideALink();
    void adjacentLinksBothAct();
    void renderingRaisesNoLink();
    void samePageLinkScrollsToItsAnchor();
    void renderingAgainClearsTheLastPage();
};

void TestHtmlField::stylesAsTheTextShowsThem() {
    HTMLField field;
    field.Render(QStringLiteral(
        "<html>\n<body>\n<h2>Head<font size=12>ing</font>s</h2><i>it</i> "
        "<font color=#00FF00 face=Courier>g<a href=x.html>L</a></font><small>s</small>\n</body>\n</html>"));
    const QString text = field.toPlainText();
    QCOMPARE(text, QStringLiteral("\nHeadings\nit gLs\n\n"));
    QCOMPARE(formatAt(field, 1).fontWeight(), int(QFont::Bold));
    QCOMPARE(formatAt(field, 1).fontPointSize(), 18.0);
    QCOMPARE(formatAt(field, 5).fontPointSize(), 12.0);
    QCOMPARE(formatAt(field, 5).fontWeight(), int(QFont::Bold));
    const int it = text.indexOf(QStringLiteral("it"));
    QVERIFY(formatAt(field, it).fontItalic());
    QVERIFY(!formatAt(field, it + 2).fontItalic());
    const int g = text.indexOf(QStringLiteral("gL"));
    QCOMPARE(formatAt(field, g).foreground().color(), QColor(0, 255, 0));
    QCOMPARE(formatAt(field, g).fontFamilies().toStringList(), QStringList{"Courier"});
    QCOMPARE(formatAt(field, g + 1).foreground().color(), QColor(0, 0, 255));
    QVERIFY(formatAt(field, g + 1).fontUnderline());
    QVERIFY(!formatAt(field, g).fontUnderline());
    QCOMPARE(formatAt(field, g + 2).fontPointSize(), 10.0);
    QCOMPARE(field.textCursor().position(), 0);
    QVERIFY(!field.nowRendering());
}

void TestHtmlField::titleAndColours() {
    HTMLField field;
    QSignalSpy titles(&field, &HTMLField::GotTitle);
    field.Render(QStringLiteral(
        "<title>Help &amp; more</title><body bgcolor=#000000 text=#FFFFFF link=#FF8000>Hi</body>"));
    QCOMPARE(titles.size(), 1);
    QCOMPARE(titles.first().first().toString(), QStringLiteral("Help & more"));
    QCOMPARE(field.linkColor(), QColor(255, 128, 0));
    QCOMPARE(field.palette().color(QPalette::Base), QColor(0, 0, 0));
    QCOMPARE(formatAt(field, 0).foreground().color(), QColor(255, 255, 255));
    field.Render(QStringLiteral("Hi"));
    QCOMPARE(titles.size(), 2);
    QCOMPARE(field.linkColor(), QColor(0, 0, 255));
    QCOMPARE(field.palette().color(QPalette::Base), QColor(255, 255, 255));
}

void TestHtmlField::positionsMatchTheText() {
    // Each CR and LF is one position of the field, also where a page has both.
    HTMLField field;
    field.Render(QStringLiteral("a\r\n<br>\n<b>x</b>\n<p>y</p>"));
    const QString text = field.toPlainText();
    QCOMPARE(text.size(), field.document()->characterCount() - 1);
    QCOMPARE(field.bolds(), QStringList{"4\t5"});
    QCOMPARE(text.mid(4, 1), QStringLiteral("x"));
    QCOMPARE(formatAt(field, 4).fontWeight(), int(QFont::Bold));
    QCOMPARE(formatAt(field, 0).fontWeight(), int(QFont::Normal));
}

void TestHtmlField::caretInsideALink_data() {
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("raised");
    QTest::newRow("before") << 9 << 0;
    QTest::newRow("start") << 10 << 1;
    QTest::newRow("inside") << 15 << 1;
    QTest::newRow("end") << 20 << 1;
    QTest::newRow("after") << 21 << 0;
}

void TestHtmlField::caretInsideALink() {
    QFETCH(int, caret);
    QFETCH(int, raised);
    HTMLField field;
    field.Render(QStringLiteral("0123456789<a href=nbq_pref.html>abcdefghij</a>0123456789"));
    QCOMPARE(field.links(), QStringList{"10\t20\tnbq_pref.html"});
    QSignalSpy clicked(&field, &HTMLField::LinkClicked);
    caretAt(field, caret);
    QCOMPARE(clicked.size(), raised);
    if (raised)
        QCOMPARE(clicked.first().first().toString(), QStringLiteral("nbq_pref.html"));
}

void TestHtmlField::adjacentLinksBothAct() {
    HTMLField field;
    field.Render(QStringLiteral("<a href=x.html>ab</a><a href=y.html>cd</a>"));
    QSignalSpy clicked(&field, &HTMLField::LinkClicked);
    caretAt(field, 2);
    QCOMPARE(clicked.size(), 2);
    QCOMPARE(clicked.at(0).first().toString(), QStringLiteral("x.html"));
    QCOMPARE(clicked.at(1).first().toString(), QStringLiteral("y.html"));
}

void TestHtmlField::renderingRaisesNoLink() {
    HTMLField field;
    field.Render(QStringLiteral("<a href=a.html>first</a>"));
    caretAt(field, 3);
    QSignalSpy clicked(&field, &HTMLField::LinkClicked);
    // The caret passes through links while the runs are applied and when it returns to 0.
    field.Render(QStringLiteral("<a href=b.html>one</a> <a href=c.html>two</a>"));
    QCOMPARE(clicked.size(), 0);
}

void TestHtmlField::samePageLinkScrollsToItsAnchor() {
    HTMLField field;
    field.resize(300, 120);
    field.show();
    QVERIFY(QTest::qWaitForWindowExposed(&field));
    QString page = QStringLiteral("<a href=#TOP>up</a> and <a href=#far>down</a><br>");
    for (int i = 0; i < 60; ++i)
        page += QStringLiteral("line %1<br>").arg(i);
    page += QStringLiteral("<a name=far></a>Far away<br>");
    for (int i = 0; i < 60; ++i)
        page += QStringLiteral("more %1<br>").arg(i);
    page = QStringLiteral("<a name=top></a>") + page;
    field.Render(page);
    QSignalSpy clicked(&field, &HTMLField::LinkClicked);
    QCOMPARE(field.verticalScrollBar()->value(), 0);

    const int far = field.toPlainText().indexOf(QStringLiteral("Far away"));
    caretAt(field, field.toPlainText().indexOf(QStringLiteral("down")) + 1);
    QVERIFY(field.verticalScrollBar()->value() > 0);
    QTextCursor anchor(field.document());
    anchor.setPosition(far);
    QVERIFY2(qAbs(field.cursorRect(anchor).top()) <= 6,
             qPrintable(QString::number(field.cursorRect(anchor).top())));
    // "#TOP" names "top": letter case does not count.
    caretAt(field, 1);
    QCOMPARE(field.verticalScrollBar()->value(), 0);
    QCOMPARE(clicked.size(), 0);
    // A target that names no anchor does nothing.
    field.Render(QStringLiteral("<a href=#nowhere>x</a>"));
    caretAt(field, 1);
    QCOMPARE(clicked.size(), 0);
}

void TestHtmlField::renderingAgainClearsTheLastPage() {
    HTMLField field;
    field.Render(QStringLiteral("<b>a</b><a name=n></a><a href=x>y</a>"));
    field.Render(QStringLiteral("plain"));
    QVERIFY(field.bolds().isEmpty());
    QVERIFY(field.anchors().isEmpty());
    QVERIFY(field.links().isEmpty());
    QCOMPARE(formatAt(field, 0).fontWeight(), int(QFont::Normal));
    field.ClearAll();
    QVERIFY(field.toPlainText().isEmpty());
}

QTEST_MAIN(TestHtmlField)
#include "tst_htmlfield.moc"
