// The problem-set maker as a teacher sees it: empty, with a few problems and the answer of the one
// being typed, after an entry error, and with a full list. In each, nothing may be cut off or lie on
// top of something else. With NBR_SHOTS_DIR set, each is also saved there as a picture.

#include "controls/newcnvbtn.h"
#include "setmaker/creategamescrn.h"
#include "support/doubles.h"
#include "support/lookcheck.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

namespace {

template <typename T> T* part(const char* name) {
    return createGameScrn::instance()->findChild<T*>(QString::fromLatin1(name));
}

void type(const char* field, const QString& keys) {
    part<QLineEdit>(field)->clear();
    QTest::keyClicks(part<QLineEdit>(field), keys);
}

void add(const QString& top, const QString& bottom) {
    type("topFld", top);
    type("botFld", bottom);
    QTest::keyClick(part<QLineEdit>("botFld"), Qt::Key_Return);
}

} // namespace

class TestCreateGameScrnLook : public QObject {
    Q_OBJECT
private slots:
    void nothingCutOffOrCovered_data();
    void nothingCutOffOrCovered();

private:
    TestDoubles::ScriptedDialogs dialogs;
    TestDoubles::RecordingFeedback feedback;
};

void TestCreateGameScrnLook::nothingCutOffOrCovered_data() {
    QTest::addColumn<int>("problems");
    QTest::addColumn<QString>("top");
    QTest::addColumn<QString>("bottom");
    QTest::addColumn<int>("clicks"); // on the sign
    QTest::addColumn<bool>("entryError");
    QTest::newRow("empty") << 0 << ""
                           << "" << 0 << false;
    QTest::newRow("problems") << 5 << "-99"
                              << "99" << 2 << false;
    QTest::newRow("entry-error") << 3 << "12"
                                 << "" << 3 << true;
    QTest::newRow("full") << 20 << ""
                          << "" << 1 << false;
}

void TestCreateGameScrnLook::nothingCutOffOrCovered() {
    QFETCH(int, problems);
    QFETCH(QString, top);
    QFETCH(QString, bottom);
    QFETCH(int, clicks);
    QFETCH(bool, entryError);

    createGameScrn* window = createGameScrn::instance();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const char* tops[] = {"999", "-99", "12", "100", "-8", "7", "64", "0", "15", "-5"};
    const char* bottoms[] = {"99", "-9", "7", "10", "2", "7", "8", "5", "3", "-3"};
    for (int i = 0; i < problems; ++i)
        add(QString::fromLatin1(tops[i % 10]), QString::fromLatin1(bottoms[i % 10]));
    for (int i = 0; i < clicks; ++i)
        QTest::mouseClick(part<QWidget>("funcCnv"), Qt::LeftButton, {}, QPoint(12, 12));
    type("topFld", top);
    type("botFld", bottom);
    if (entryError)
        QTest::keyClick(part<QLineEdit>("botFld"), Qt::Key_Return);
    else if (!top.isEmpty())
        QTRY_VERIFY(!part<QLabel>("resultFld")->text().isEmpty());
    part<QLineEdit>("nameFld")->setText(problems ? QStringLiteral("Week 3 mixed") : QString());

    auto* content = part<QWidget>("content");
    const QList<QWidget*> shown = Look::shownChildren(content);
    QVERIFY(shown.size() >= 30);
    const QString cut = Look::firstCutOff(shown);
    QVERIFY2(cut.isEmpty(), qPrintable(cut));
    auto* list = part<QListWidget>("probList");
    for (int r = 0; r < list->count(); ++r) {
        const QRect row = list->visualItemRect(list->item(r));
        QVERIFY2(list->viewport()->rect().contains(row), qPrintable(list->item(r)->text()));
        QVERIFY2(list->fontMetrics().horizontalAdvance(list->item(r)->text()) < row.width() - 4,
                 qPrintable(list->item(r)->text()));
    }
    const QString overlap = Look::firstOverlap(shown, content->rect());
    QVERIFY2(overlap.isEmpty(), qPrintable(overlap));

    QVERIFY(Look::saveShot(
        window, QStringLiteral("setmaker-%1.png").arg(QString::fromLatin1(QTest::currentDataTag()))));
    dialogs.answers = {Seams::Answer::Alternate};
    window->close();
    QTRY_VERIFY(!createGameScrn::exists());
}

QTEST_MAIN(TestCreateGameScrnLook)
#include "tst_creategamescrn_look.moc"
