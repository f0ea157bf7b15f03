#include "main/uiseams.h"
#include "controls/ovrmsgbox.h"
#include "controls/waitscrn.h"
#include "data/globals.h"
#include "onmodal.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <QtTest>

#include <functional>

namespace {

// A speech engine that says nothing and records what it was asked; the test says when a text ends.
class FakeEngine : public UiSeams::SpeechEngine {
public:
    bool present = true;
    QStringList spoken;
    int stops = 0;
    bool available() override { return present; }
    void speak(const QString& text) override { spoken << text; }
    void stop() override { ++stops; }
    void finish() { emit finished(); }
    void fail() { emit failed(); }
};

QPushButton* button(QWidget* box, const char* name) {
    return box->findChild<QPushButton*>(QLatin1String(name));
}

} // namespace

class TestUiSeams : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void speechSaysOneTextAfterAnother();
    void speechStopDropsTheQueue();
    void speechIsSilentWithoutAnEngine();
    void questionAnswersByButton_data();
    void questionAnswersByButton();
    void escapeNeverPicksTheAlternate();
    void messagesGoToTheProgramsBox();
    void waitWindowStepsAsideForQuestions();
    void soundOfAMissingFileIsSilent();
};

void TestUiSeams::initTestCase() {
    UiSeams::install();
}

void TestUiSeams::speechSaysOneTextAfterAnother() {
    auto* engine = new FakeEngine;
    UiSeams::Speech speech(engine);
    speech.say(QStringLiteral("7 times 8"));
    speech.say(QStringLiteral("equals"));
    speech.say(QStringLiteral("   ")); // nothing to say
    speech.say(QStringLiteral("56"));
    QCOMPARE(engine->spoken, QStringList{"7 times 8"});
    QVERIFY(speech.isSpeaking());
    engine->finish();
    QCOMPARE(engine->spoken, (QStringList{"7 times 8", "equals"}));
    engine->finish();
    engine->finish();
    QCOMPARE(engine->spoken, (QStringList{"7 times 8", "equals", "56"}));
    QVERIFY(!speech.isSpeaking());
    QCOMPARE(engine->stops, 0);
}

void TestUiSeams::speechStopDropsTheQueue() {
    auto* engine = new FakeEngine;
    UiSeams::Speech speech(engine);
    speech.say(QStringLiteral("one"));
    speech.say(QStringLiteral("two"));
    speech.stop();
    QCOMPARE(engine->stops, 1);
    QVERIFY(!speech.isSpeaking());
    engine->finish(); // the engine's own end of the stopped text
    QCOMPARE(engine->spoken, QStringList{"one"});
    speech.say(QStringLiteral("three"));
    QCOMPARE(engine->spoken, (QStringList{"one", "three"}));

    // An engine that fails drops what waits, and the next text is tried afresh.
    speech.say(QStringLiteral("four"));
    engine->fail();
    QVERIFY(!speech.isSpeaking());
    speech.say(QStringLiteral("five"));
    QCOMPARE(engine->spoken.last(), QStringLiteral("five"));
}

void TestUiSeams::speechIsSilentWithoutAnEngine() {
    auto* engine = new FakeEngine;
    engine->present = false;
    UiSeams::Speech speech(engine);
    speech.say(QStringLiteral("hello"));
    QVERIFY(engine->spoken.isEmpty());
    QVERIFY(!speech.isSpeaking());
    speech.stop();
    QCOMPARE(engine->stops, 0);
}

void TestUiSeams::questionAnswersByButton_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("closedAnswer"); // the question's answer to a close from outside
    QTest::addColumn<int>("answer");
    const int def = int(Seams::Answer::Default), cancel = int(Seams::Answer::Cancel),
              alternate = int(Seams::Answer::Alternate);
    QTest::newRow("Return") << "return" << cancel << def;
    QTest::newRow("Escape") << "escape" << cancel << cancel;
    QTest::newRow("Escape, whatever a close would answer") << "escape" << def << cancel;
    QTest::newRow("cancel button") << "cancelButton" << def << cancel;
    QTest::newRow("alternate button") << "alternateButton" << cancel << alternate;
    QTest::newRow("default button") << "defaultButton" << cancel << def;
    QTest::newRow("closed from outside: cancel") << "outside" << cancel << cancel;
    QTest::newRow("closed from outside: default") << "outside" << def << def;
    QTest::newRow("closed from outside: alternate") << "outside" << alternate << alternate;
}

void TestUiSeams::questionAnswersByButton() {
    QFETCH(QString, how);
    QFETCH(int, closedAnswer);
    QFETCH(int, answer);
    Seams::Question q;
    q.closedAnswer = Seams::Answer(closedAnswer);
    q.icon = Seams::Icon::Caution;
    q.message = QStringLiteral("There is already a Pref file at that location.");
    q.explanation = QStringLiteral("Click <Cancel> to use the preferences file on the server.");
    q.defaultCaption = QStringLiteral("Replace");
    q.cancelCaption = QStringLiteral("Cancel");
    q.alternateCaption = QStringLiteral("Later");
    QStringList captions;
    onModal([&](QWidget* box) {
        for (QPushButton* b : box->findChildren<QPushButton*>())
            captions << b->text();
        if (how == QLatin1String("return"))
            QTest::keyClick(box, Qt::Key_Return);
        else if (how == QLatin1String("escape"))
            QTest::keyClick(box, Qt::Key_Escape);
        else if (how == QLatin1String("outside"))
            box->windowHandle()->close(); // as the window manager's close box does
        else
            button(box, qPrintable(how))->click();
    });
    QCOMPARE(int(Seams::dialogs().ask(q)), answer);
    captions.sort();
    QCOMPARE(captions, (QStringList{"Cancel", "Later", "Replace"}));
}

void TestUiSeams::escapeNeverPicksTheAlternate() {
    Seams::Question q;
    q.message = QStringLiteral("The remote server is not available");
    q.defaultCaption = QStringLiteral("Retry Server");
    q.alternateCaption = QStringLiteral("Use Local Computer");
    bool stillOpen = false;
    onModal([&](QWidget* box) {
        QTest::keyClick(box, Qt::Key_Escape);
        stillOpen = box->isVisible();
        button(box, "alternateButton")->click();
    });
    QCOMPARE(Seams::dialogs().ask(q), Seams::Answer::Alternate);
    QVERIFY(stillOpen);
}

void TestUiSeams::messagesGoToTheProgramsBox() {
    bool wasOurs = false;
    bool survivedEscape = false;
    onModal([&](QWidget* box) {
        wasOurs = qobject_cast<ovrMsgBox*>(box) != nullptr;
        QVERIFY(QTest::qWaitForWindowActive(box));
        QTRY_VERIFY(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        survivedEscape = box->isVisible();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    myGlobals::gShowMsg(true, QStringLiteral("Database Error: 11"),
                        QStringLiteral("database disk image is malformed"));
    QVERIFY(wasOurs);
    QVERIFY(survivedEscape);
}

void TestUiSeams::waitWindowStepsAsideForQuestions() {
    auto& dialogs = Seams::dialogs();
    dialogs.showWaitWindow(QStringLiteral("Looking for server..."));
    auto* real = dynamic_cast<UiSeams::Dialogs*>(&dialogs);
    QVERIFY(real);
    QPointer<waitScrn> wait = real->waitWindow();
    QVERIFY(wait && wait->isVisible());
    QCOMPARE(wait->shownText(), QStringLiteral("Looking for server...."));

    bool hiddenDuringQuestion = false;
    onModal([&](QWidget* box) {
        hiddenDuringQuestion = !wait->isVisible();
        QTest::keyClick(box, Qt::Key_Return);
    });
    Seams::Question q;
    q.message = QStringLiteral("The remote server is not available");
    q.defaultCaption = QStringLiteral("Retry Server");
    dialogs.ask(q);
    QVERIFY(hiddenDuringQuestion);
    QVERIFY(wait && wait->isVisible());

    dialogs.closeWaitWindow();
    QTRY_VERIFY(wait.isNull());
    dialogs.closeWaitWindow(); // closing twice is harmless
}

void TestUiSeams::soundOfAMissingFileIsSilent() {
    int messages = 0;
    static int* counter = nullptr;
    counter = &messages;
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) { ++*counter; });
    Seams::feedback().playSound(QStringLiteral("no such sound"));
    Seams::feedback().playSound(QString());
    qInstallMessageHandler(previous);
    QCOMPARE(messages, 0);
}

QTEST_MAIN(TestUiSeams)
#include "tst_uiseams.moc"
