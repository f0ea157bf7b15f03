#include "app/menus.h"
#include "controls/newcnvbtn.h"
#include "help/helpscrn2.h"
#include "help/helpview.h"
#include "help/indexctnr.h"
#include "support/doubles.h"
#include "support/outsideinputs.h"
#include "temphelp.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QTextBrowser>

namespace {

const QString kMissing = QStringLiteral("That help file is damaged or missing.");

} // namespace

class TestHelpScrn2 : public QObject {
    Q_OBJECT
    TestDoubles::ScriptedDialogs dialogs_;

    static QTextBrowser* view(helpScrn2* w) { return w->findChild<QTextBrowser*>(QStringLiteral("myHTML")); }
    static indexCtnr* index(helpScrn2* w) { return w->findChild<indexCtnr*>(QStringLiteral("myIndexCtnr")); }
    static newCnvBtn* button(helpScrn2* w, const char* name) {
        return w->findChild<newCnvBtn*>(QString::fromLatin1(name));
    }
    static helpScrn2* shown(int topic, QWidget* parent = nullptr) {
        auto* w = new helpScrn2(topic, parent);
        w->show();
        return QTest::qWaitForWindowExposed(w) ? w : nullptr;
    }
    static void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }
    static void pick(helpScrn2* w, int row) {
        QListWidget* list = index(w)->list();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }
    // The index shown: view beside it from 200 to the right edge; hidden: view over the whole width.
    static void verifyIndexShown(helpScrn2* w, bool shownIndex) {
        const int width = w->content()->width();
        QCOMPARE(index(w)->isVisible(), shownIndex);
        QCOMPARE(w->indexVisible(), shownIndex);
        QCOMPARE(view(w)->x(), shownIndex ? 200 : 0);
        QCOMPARE(view(w)->width(), shownIndex ? width - 200 : width);
        QCOMPARE(button(w, "hideBtn")->myCaption(),
                 shownIndex ? QStringLiteral("Hide Index") : QStringLiteral("Show Index"));
    }

private slots:
    void initTestCase() {
        const QString missing = shippedPagesMissing();
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
    }
    void init() { dialogs_.clear(); }
    void cleanup() { QApplication::closeAllWindows(); }

    void indexAloneFromTopicZero_data();
    void indexAloneFromTopicZero();
    void topicPageComesAfter200ms();
    void pressBeforeThePageShowsTheIndexAgain();
    void hideAndShowFollowTheWidth();
    void sizeLimitsAndAnchors();
    void pickingTopicsAndHeadings();
    void missingPageKeepsTheShownOne();
    void missingFolder();
    void damagedPageShowsWhatTheViewMakesOfIt();
    void whatIsNoPageIsRefusedAtOnce_data();
    void whatIsNoPageIsRefusedAtOnce();
    void followedLinkNamesTheDocument();
    void returnAndEnterClose();
    void closedEarlyLoadsNothing();
    void helpFromAModalWindowTakesClicks();
    void teacherBarWithPrinting();
    void editItemsReadThePageButNeverChangeIt();
};

void TestHelpScrn2::indexAloneFromTopicZero_data() {
    QTest::addColumn<int>("topic");
    QTest::newRow("sign-in") << 0;
    QTest::newRow("negative") << -3;
    QTest::newRow("past the table") << 18;
    QTest::newRow("far past") << 1000;
}

void TestHelpScrn2::indexAloneFromTopicZero() {
    QFETCH(int, topic);
    helpScrn2* w = shown(topic);
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Help"));
    QCOMPARE(w->content()->size(), QSize(800, 580));
    QCOMPARE(index(w)->geometry(), QRect(0, 0, 200, 540));
    QCOMPARE(view(w)->geometry(), QRect(200, 0, 600, 540));
    QCOMPARE(button(w, "hideBtn")->geometry(), QRect(40, 544, 120, 29));
    QCOMPARE(button(w, "closeBtn")->geometry(), QRect(340, 544, 120, 29));
    QCOMPARE(button(w, "closeBtn")->myCaption(), QStringLiteral("Close"));
    QCOMPARE(button(w, "closeBtn")->kind(), 1);
    verifyIndexShown(w, true);
    QTest::qWait(300);
    verifyIndexShown(w, true);
    QVERIFY(view(w)->source().isEmpty());
    QVERIFY(view(w)->toPlainText().isEmpty());
    QVERIFY(w->curDocName().isEmpty());
    QVERIFY(dialogs_.shown.isEmpty());
}

void TestHelpScrn2::topicPageComesAfter200ms() {
    // The shipped pages: the test program points at the source folder.
    helpScrn2* w = shown(1);
    QVERIFY(w);
    QVERIFY(button(w, "hideBtn")->myCaption().isEmpty());
    QVERIFY(index(w)->isVisible());
    QCOMPARE(view(w)->x(), 200);
    QVERIFY(view(w)->source().isEmpty());
    QTRY_COMPARE(w->curDocName(), QStringLiteral("nbq_play.html"));
    verifyIndexShown(w, false);
    QCOMPARE(button(w, "hideBtn")->kind(), 0);
    QVERIFY(view(w)->toPlainText().contains(QStringLiteral("Play Numbrook")));
    // The index selects nothing of its own accord.
    QVERIFY(index(w)->list()->selectedItems().isEmpty());
    QVERIFY(dialogs_.shown.isEmpty());
}

void TestHelpScrn2::pressBeforeThePageShowsTheIndexAgain() {
    helpScrn2* w = shown(2);
    QVERIFY(w);
    click(button(w, "hideBtn"));
    verifyIndexShown(w, false);
    // The timer switches the index rather than hiding it.
    QTRY_COMPARE(w->curDocName(), QStringLiteral("nbq_indD.html"));
    verifyIndexShown(w, true);
}

void TestHelpScrn2::hideAndShowFollowTheWidth() {
    helpScrn2* w = shown(1);
    QVERIFY(w);
    QTRY_VERIFY(!w->indexVisible());
    click(button(w, "hideBtn"));
    verifyIndexShown(w, true);
    click(button(w, "hideBtn"));
    verifyIndexShown(w, false);

    // Widened with the index hidden, then shown: the view keeps the extra 100 pixels.
    w->resize(w->width() + 100, w->height());
    QTRY_COMPARE(w->content()->width(), 900);
    QCOMPARE(view(w)->width(), 900);
    click(button(w, "hideBtn"));
    verifyIndexShown(w, true);
    QCOMPARE(view(w)->width(), 700);
    QCOMPARE(index(w)->width(), 200);
}

void TestHelpScrn2::sizeLimitsAndAnchors() {
    helpScrn2* w = shown(0);
    QVERIFY(w);
    const int barHeight = w->height() - w->content()->height();
    QCOMPARE(w->minimumSize(), QSize(800, 580 + barHeight));
    QCOMPARE(w->maximumSize(), QSize(1280, 960 + barHeight));

    w->resize(300, 200);
    QTRY_COMPARE(w->content()->size(), QSize(800, 580));
    w->resize(5000, 5000);
    QTRY_COMPARE(w->content()->size(), QSize(1280, 960));
    QCOMPARE(index(w)->geometry(), QRect(0, 0, 200, 920));
    QCOMPARE(view(w)->geometry(), QRect(200, 0, 1080, 920));
    QCOMPARE(button(w, "hideBtn")->geometry(), QRect(40, 960 - 36, 120, 29));
    QCOMPARE(button(w, "closeBtn")->geometry(), QRect(340, 960 - 36, 120, 29));
    // The index's own list and border follow its height.
    QCOMPARE(index(w)->list()->geometry(), QRect(0, 32, 192, 888));
}

void TestHelpScrn2::pickingTopicsAndHeadings() {
    helpScrn2* w = shown(0);
    QVERIFY(w);
    pick(w, 12);
    QTRY_COMPARE(w->curDocName(), QStringLiteral("nbq_03h.html"));
    QVERIFY(view(w)->toPlainText().contains(QStringLiteral("Math Squares")));
    const QUrl page = view(w)->source();
    // A heading changes nothing and says nothing.
    pick(w, 9);
    QCOMPARE(view(w)->source(), page);
    QCOMPARE(w->curDocName(), QStringLiteral("nbq_03h.html"));
    QVERIFY(dialogs_.shown.isEmpty());
    verifyIndexShown(w, true);
}

void TestHelpScrn2::missingPageKeepsTheShownOne() {
    TempHelp help;
    QVERIFY(help.write(QStringLiteral("nbq_play.html"),
                       "<html><head><title>Play</title></head><body><p>Playing.</p></body></html>"));
    helpScrn2* w = shown(1);
    QVERIFY(w);
    QTRY_COMPARE(w->curDocName(), QStringLiteral("nbq_play.html"));
    click(button(w, "hideBtn"));
    pick(w, 2); // Individual Data: not in this folder
    QCOMPARE(dialogs_.messages(), QStringList{kMissing});
    QCOMPARE(dialogs_.shown.first().kind, TestDoubles::Shown::Plain);
    QCOMPARE(w->curDocName(), QStringLiteral("nbq_play.html"));
    QVERIFY(view(w)->toPlainText().contains(QStringLiteral("Playing.")));
}

void TestHelpScrn2::missingFolder() {
    const QByteArray previous = qgetenv("NBR_HELP_DIR");
    qputenv("NBR_HELP_DIR", "/nonexistent/NBQ_Help");
    helpScrn2* w = shown(13);
    QVERIFY(w);
    QTRY_COMPARE(dialogs_.messages(), QStringList{kMissing});
    QVERIFY(w->curDocName().isEmpty());
    verifyIndexShown(w, false);
    // A heading still says nothing.
    click(button(w, "hideBtn"));
    pick(w, 16);
    QCOMPARE(dialogs_.shown.size(), 1);
    qputenv("NBR_HELP_DIR", previous);
}

void TestHelpScrn2::damagedPageShowsWhatTheViewMakesOfIt() {
    TempHelp help;
    QVERIFY(help.write(
        QStringLiteral("nbq_04h.html"),
        QByteArray("<html><b><<title>x<a href=\"#\"><img src=\"gone.png\">Tail&bogus;\x00\xff\xfe<h1", 48)));
    helpScrn2* w = shown(13);
    QVERIFY(w);
    QTRY_COMPARE(w->curDocName(), QStringLiteral("nbq_04h.html"));
    QVERIFY(dialogs_.shown.isEmpty());
}

void TestHelpScrn2::whatIsNoPageIsRefusedAtOnce_data() {
    OutsideInputs::addRows();
    // Qt's own reading of a page takes time in the square of how deep its elements nest: seconds for
    // this page within the size bound, days for the 0.9 MB one.
    QTest::newRow("30000 nested tags") << "nested";
    QTest::newRow("0.9 MB of nested tags") << "nested, large";
}

// A link in a page that leads to a pipe, a folder, a device, a page too large or one nested too deep:
// the help window's message at once, and the page shown stays.
void TestHelpScrn2::whatIsNoPageIsRefusedAtOnce() {
    QFETCH(QString, kind);
    TempHelp help;
    QString target;
    if (kind.startsWith(QLatin1String("nested"))) {
        target = help.path(QStringLiteral("deep.html"));
        QVERIFY(
            help.write(QStringLiteral("deep.html"),
                       QByteArray("<b>x").repeated(kind.endsWith(QLatin1String("large")) ? 225000 : 30000)));
    } else {
        target = OutsideInputs::make(kind, QFileInfo(help.path(QStringLiteral("x"))).path(),
                                     HelpView::kLargestPage);
    }
    QVERIFY(!target.isEmpty());
    const OutsideInputs::PipeRelease release(target);
    QVERIFY(help.write(QStringLiteral("nbq_play.html"), "<html><body><p>Playing. <a href=\"" +
                                                            QUrl::fromLocalFile(target).toEncoded() +
                                                            "\">GOLINK</a></p></body></html>"));
    helpScrn2* w = shown(1);
    QVERIFY(w);
    QTRY_COMPARE(w->curDocName(), QStringLiteral("nbq_play.html"));
    QTextBrowser* v = view(w);
    QTextCursor link = v->document()->find(QStringLiteral("GOLINK"));
    QVERIFY(!link.isNull());
    link.setPosition(link.selectionStart() + 2);
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, v->cursorRect(link).center());
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QStringLiteral("%1 ms").arg(clock.elapsed())));
    QCOMPARE(dialogs_.messages(), QStringList{kMissing});
    QCOMPARE(w->curDocName(), QStringLiteral("nbq_play.html"));
    QVERIFY(v->toPlainText().contains(QStringLiteral("Playing.")));
}

void TestHelpScrn2::followedLinkNamesTheDocument() {
    TempHelp help;
    QVERIFY(
        help.write(QStringLiteral("nbq_info.html"),
                   "<html><body><p>Start <a href=\"nbq_net.html\">NETWORKLINK</a> end</p></body></html>"));
    QVERIFY(help.write(QStringLiteral("nbq_net.html"), "<html><body><p>Shared folder.</p></body></html>"));
    helpScrn2* w = shown(17);
    QVERIFY(w);
    QTRY_COMPARE(w->curDocName(), QStringLiteral("nbq_info.html"));
    QTextBrowser* v = view(w);
    QTextCursor link = v->document()->find(QStringLiteral("NETWORKLINK"));
    QVERIFY(!link.isNull());
    link.setPosition(link.selectionStart() + 3);
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, v->cursorRect(link).center());
    QTRY_COMPARE(w->curDocName(), QStringLiteral("nbq_net.html"));
    QVERIFY(v->toPlainText().contains(QStringLiteral("Shared folder.")));
    QCOMPARE(w->curDocUrl(), QUrl::fromLocalFile(help.path(QStringLiteral("nbq_net.html"))));
}

void TestHelpScrn2::returnAndEnterClose() {
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        QPointer<helpScrn2> w = shown(1);
        QVERIFY(w);
        QTRY_VERIFY(!w->curDocName().isEmpty());
        view(w)->setFocus();
        QTest::keyClick(view(w), key);
        QTRY_VERIFY(w.isNull());
    }
    // Other keys leave it open.
    QPointer<helpScrn2> w = shown(0);
    QTest::keyClick(w, Qt::Key_A);
    QTest::keyClick(w, Qt::Key_Escape);
    QVERIFY(w && w->isVisible());
}

void TestHelpScrn2::closedEarlyLoadsNothing() {
    TempHelp empty; // a page load would say the page is missing
    QPointer<helpScrn2> w = shown(1);
    QVERIFY(w);
    click(button(w, "closeBtn"));
    QTRY_VERIFY(w.isNull());
    QTest::qWait(350);
    QVERIFY(dialogs_.shown.isEmpty());

    QPointer<helpScrn2> boxed = shown(1);
    boxed->close();
    QTRY_VERIFY(boxed.isNull());
    QTest::qWait(350);
    QVERIFY(dialogs_.shown.isEmpty());
}

void TestHelpScrn2::helpFromAModalWindowTakesClicks() {
    auto* maker = new QDialog;
    maker->setAttribute(Qt::WA_DeleteOnClose);
    maker->setModal(true);
    maker->resize(400, 387);
    maker->show();
    QVERIFY(QTest::qWaitForWindowExposed(maker));
    QCOMPARE(QApplication::activeModalWidget(), maker);

    QPointer<helpScrn2> help = helpScrn2::open(5, maker);
    QVERIFY(QTest::qWaitForWindowExposed(help));
    QTRY_COMPARE(help->curDocName(), QStringLiteral("nbq_psets.html"));
    // Through the window system, where a modal window blocks the windows it does not own.
    const auto clickThroughTheWindowSystem = [&](QWidget* target) {
        const QPoint at = target->mapTo(help, target->rect().center());
        QTest::mouseClick(help->windowHandle(), Qt::LeftButton, {}, at);
    };
    clickThroughTheWindowSystem(button(help, "hideBtn"));
    QTRY_VERIFY(help->indexVisible());

    // The maker closes; the help window stays until it is closed itself.
    QPointer<QDialog> gone = maker;
    maker->close();
    QTRY_VERIFY(gone.isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!help.isNull());
    QVERIFY(help->isVisible());
    clickThroughTheWindowSystem(button(help, "hideBtn"));
    QTRY_VERIFY(!help->indexVisible());
    clickThroughTheWindowSystem(button(help, "closeBtn"));
    QTRY_VERIFY(help.isNull());

    // From a window that is not modal, the help window is a window of its own too.
    QWidget plain;
    plain.show();
    QPointer<helpScrn2> free = helpScrn2::open(0, &plain);
    QVERIFY(!free->parentWidget());
    free->close();
}

void TestHelpScrn2::teacherBarWithPrinting() {
    helpScrn2* w = shown(0);
    QVERIFY(w);
    CtrlMenu* bar = w->menu();
    QVERIFY(bar);
    // Both offered before any page is there; Print names what it prints.
    QVERIFY(bar->item(QStringLiteral("FilePrint"))->isEnabled());
    QCOMPARE(bar->item(QStringLiteral("FilePrint"))->text(), QStringLiteral("Print Help Topic"));
    QVERIFY(bar->item(QStringLiteral("FilePageSetup"))->isEnabled());
    QVERIFY(bar->item(QStringLiteral("FileQuit"))->isEnabled());
    QVERIFY(bar->item(QStringLiteral("EditCopy"))->isEnabled());
    QVERIFY(!bar->item(QStringLiteral("FileOpen"))->isEnabled());
}

void TestHelpScrn2::editItemsReadThePageButNeverChangeIt() {
    helpScrn2* w = shown(0);
    QVERIFY(w);
    pick(w, 7);
    QTRY_COMPARE(w->curDocName(), QStringLiteral("nbq_net.html"));
    const QString page = view(w)->toPlainText();
    view(w)->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), view(w));
    w->menu()->item(QStringLiteral("EditSelectAll"))->trigger();
    QCOMPARE(view(w)->textCursor().selectedText().size(), page.size());
    for (const char* item : {"EditClear", "EditCut", "EditPaste"})
        w->menu()->item(QString::fromLatin1(item))->trigger();
    QCOMPARE(view(w)->toPlainText(), page);
}

QTEST_MAIN(TestHelpScrn2)
#include "tst_helpscrn2.moc"
