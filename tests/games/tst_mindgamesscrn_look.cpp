// The Mind games as a student sees them: before a game, a level-4 problem with a bracket in each
// place and a negative answer, with counters and an average, and a pass showing a five-digit answer.
// Every text fits its control. With NBR_SHOTS_DIR set, each step is also saved there as a picture.

#include "app/picts.h"
#include "controls/newcnvbtn.h"
#include "data/random.h"
#include "gamefixture.h"
#include "games/common/answerfield.h"
#include "games/mindgames/mindgamesscrn.h"
#include "support/doubles.h"
#include "support/lookcheck.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {

template <typename T = QWidget> T* ctl(const QString& name, int index = -1) {
    QWidget* w = MindGamesScrn::instance();
    return index >= 0 ? GameTest::indexed<T>(w, name, index, "Index") : GameTest::part<T>(w, name);
}

} // namespace

class TestMindGamesScrnLook : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyStepReadsWhole();

private:
    void shot(const QString& name);

    TestDoubles::ScriptedDialogs dialogs;
    TestDoubles::RecordingFeedback feedback;
    std::unique_ptr<GameTest::Student> student;
};

void TestMindGamesScrnLook::initTestCase() {
    myPicts::loadPics();
    student = std::make_unique<GameTest::Student>(QStringLiteral("Amelia Fitzgerald-Hernandez"),
                                                  QStringLiteral("12"), QStringLiteral("1"));
}

void TestMindGamesScrnLook::cleanupTestCase() {
    if (MindGamesScrn::exists())
        MindGamesScrn::instance()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    student.reset();
}

void TestMindGamesScrnLook::shot(const QString& name) {
    MindGamesScrn* w = MindGamesScrn::instance();
    for (QLabel* label : w->content()->findChildren<QLabel*>()) {
        if (!label->isVisibleTo(w) || label->text().trimmed().isEmpty())
            continue;
        const QRect needed = Look::neededFor(label);
        QVERIFY2(needed.width() <= label->width(), qPrintable(label->objectName() + ": " + label->text() +
                                                              QStringLiteral(" %1 in %2 at %3px")
                                                                  .arg(needed.width())
                                                                  .arg(label->width())
                                                                  .arg(label->font().pixelSize())));
    }
    auto* field = ctl<AnswerField>(QStringLiteral("AnsFld"));
    QVERIFY2(field->fontMetrics().horizontalAdvance(field->text()) <= field->width() - 6,
             qPrintable(field->text()));
    QVERIFY(Look::saveShot(w, QStringLiteral("mind-%1.png").arg(name)));
}

void TestMindGamesScrnLook::everyStepReadsWhole() {
    QVERIFY(GameTest::openGame(5));
    MindGamesScrn* w = MindGamesScrn::instance();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    shot(QStringLiteral("1-opening"));

    App::myRnd().seed(4);
    QTest::mouseClick(ctl<newCnvBtn>(QStringLiteral("StartBtn")), Qt::LeftButton, {}, QPoint(10, 10));
    auto* pass = ctl<QPushButton>(QStringLiteral("passBtn"));
    // Pass until a problem has a bracket in each place and a negative answer.
    for (int i = 0; i < 200; ++i) {
        const bool bothPlaces = ctl(QStringLiteral("paren"), 0)->x() != ctl(QStringLiteral("paren"), 2)->x();
        if (bothPlaces && w->answer() < 0 && i >= 3)
            break;
        pass->click();
        pass->click();
    }
    QVERIFY(w->answer() < 0);
    w->gametimer_Action();
    shot(QStringLiteral("2-level4-problem"));

    // A pass showing a five-digit answer.
    for (int i = 0; i < 400 && w->answer() < 10000; ++i) {
        pass->click();
        pass->click();
    }
    QVERIFY(w->answer() >= 10000);
    pass->click();
    shot(QStringLiteral("3-pass-five-digits"));
}

QTEST_MAIN(TestMindGamesScrnLook)
#include "tst_mindgamesscrn_look.moc"
