#include "app/onmodal.h"
#include "controls/getinputscrn.h"
#include "controls/newcnvbtn.h"
#include "data/globals.h"
#include "support/lookcheck.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

namespace {

// Types the text key by key, letters beyond ASCII included.
void typeInto(QLineEdit* field, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(field, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

} // namespace

class TestGetInputScrn : public QObject {
    Q_OBJECT
private slots:
    void answersAndTheDontAskFlag_data();
    void answersAndTheDontAskFlag();
    void showsWhatTheCallerAsked();
    void textsInTheirTypeAfterAWrongPassword();
};

void TestGetInputScrn::answersAndTheDontAskFlag_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("entries"); // each typed and sent with Return
    QTest::addColumn<QString>("finish"); // after the entries, if still open: cancel, close, escape, button
    QTest::addColumn<bool>("boxShown");
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<bool>("flagBefore");
    QTest::addColumn<bool>("result");
    QTest::addColumn<bool>("flagAfter");
    QTest::addColumn<bool>("warned");

    QTest::newRow("right, box ticked")
        << "Tiger7" << QStringList{"Tiger7"} << "" << true << true << false << true << true << false;
    QTest::newRow("right, box unticked")
        << "Tiger7" << QStringList{"Tiger7"} << "" << true << false << true << true << false << false;
    QTest::newRow("one letter in another case")
        << "Tiger7" << QStringList{"tiger7"} << "cancel" << true << true << true << false << false << true;
    QTest::newRow("trailing blank is not trimmed") << "Tiger7" << QStringList{"Tiger7 "} << "cancel" << false
                                                   << false << false << false << false << true;
    QTest::newRow("wrong, then right")
        << "Tiger7" << QStringList{"Tigre7", "Tiger7"} << "" << true << true << false << true << true << true;
    QTest::newRow("hidden box keeps the flag")
        << "abc" << QStringList{"abc"} << "" << false << false << true << true << true << false;
    QTest::newRow("student's wrong password clears the flag")
        << "abc" << QStringList{"x"} << "cancel" << false << false << true << false << false << true;
    QTest::newRow("hidden box writes back its start state")
        << "abc" << QStringList{"x", "abc"} << "" << false << false << true << true << true << true;
    QTest::newRow("cancel leaves the flag")
        << "abc" << QStringList{} << "cancel" << true << false << true << false << true << false;
    QTest::newRow("close box leaves the flag")
        << "abc" << QStringList{} << "close" << true << false << true << false << true << false;
    QTest::newRow("escape leaves the flag")
        << "abc" << QStringList{} << "escape" << true << false << true << false << true << false;
    QTest::newRow("accept button") << "abc" << QStringList{} << "type abc, button" << true << true << false
                                   << true << true << false;
    QTest::newRow("empty entry, empty answer")
        << "" << QStringList{""} << "" << true << false << false << true << false << false;
    QTest::newRow("empty entry") << "abc" << QStringList{""} << "cancel" << true << false << false << false
                                 << false << true;
    QTest::newRow("stored password that cannot be read never matches")
        << myGlobals::unscrambleStr(QStringLiteral("zq")) << QStringList{"zq", "q"} << "cancel" << false
        << false << false << false << false << true;
    QTest::newRow("very long") << QStringLiteral("ab").repeated(20000)
                               << QStringList{QStringLiteral("ab").repeated(20000)} << "" << false << false
                               << false << true << false << false;
    QTest::newRow("any characters") << QStringLiteral("Ünï 数学 '\"; --")
                                    << QStringList{QStringLiteral("Ünï 数学 '\"; --")} << "" << false << false
                                    << false << true << false << false;
}

void TestGetInputScrn::answersAndTheDontAskFlag() {
    QFETCH(QString, answer);
    QFETCH(QStringList, entries);
    QFETCH(QString, finish);
    QFETCH(bool, boxShown);
    QFETCH(bool, ticked);
    QFETCH(bool, flagBefore);
    QFETCH(bool, result);
    QFETCH(bool, flagAfter);
    QFETCH(bool, warned);

    myGlobals::gNoPWReq = flagBefore;
    getInputScrn prompt;
    bool warningsShown = false;
    onModal([&](QWidget*) {
        auto* field = prompt.findChild<QLineEdit*>(QStringLiteral("theMsgFld"));
        auto* box = prompt.findChild<QCheckBox*>(QStringLiteral("setPWBox"));
        QCOMPARE(box->isVisible(), boxShown);
        QCOMPARE(prompt.findChild<QLabel*>(QStringLiteral("Label1"))->isVisible(), boxShown);
        QCOMPARE(box->isChecked(), flagBefore);
        if (boxShown)
            box->setChecked(ticked);
        for (const QString& entry : entries) {
            field->clear();
            if (entry.size() > 1000)
                field->setText(entry); // typing 40000 keys would only slow the test down
            else
                typeInto(field, entry);
            QTest::keyClick(field, Qt::Key_Return);
            warningsShown =
                warningsShown ||
                (prompt.isVisible() && prompt.findChild<QLabel*>(QStringLiteral("sorryWarn"))->isVisible() &&
                 prompt.findChild<QLabel*>(QStringLiteral("sorryWarn2"))->isVisible());
        }
        if (!prompt.isVisible())
            return;
        if (finish == QLatin1String("cancel")) {
            QTest::mouseClick(prompt.findChild<newCnvBtn*>(QStringLiteral("cancelBtn")), Qt::LeftButton, {},
                              QPoint(5, 5));
        } else if (finish == QLatin1String("close")) {
            prompt.close();
        } else if (finish == QLatin1String("escape")) {
            QTest::keyClick(field, Qt::Key_Escape);
        } else if (finish.startsWith(QLatin1String("type "))) {
            typeInto(field, finish.mid(5, finish.indexOf(QLatin1Char(',')) - 5));
            QTest::mouseClick(prompt.findChild<newCnvBtn*>(QStringLiteral("acceptBtn")), Qt::LeftButton, {},
                              QPoint(5, 5));
        }
        QVERIFY2(!prompt.isVisible(), "the prompt should have closed");
    });
    const bool got = prompt.showMessage(QStringLiteral("Please enter the Administrator's Password:"), answer,
                                        QStringLiteral("Accept"), QStringLiteral("Cancel"), boxShown);
    QCOMPARE(got, result);
    QCOMPARE(myGlobals::gNoPWReq, flagAfter);
    QCOMPARE(warningsShown, warned);
}

void TestGetInputScrn::showsWhatTheCallerAsked() {
    getInputScrn prompt;
    onModal([&](QWidget*) {
        QCOMPARE(prompt.windowTitle(), QStringLiteral("Information"));
        QCOMPARE(prompt.size(), QSize(390, 226));
        QCOMPARE(prompt.findChild<QLabel*>(QStringLiteral("promptTxt"))->text(),
                 QStringLiteral("Password for Ann Lee:"));
        auto* accept = prompt.findChild<newCnvBtn*>(QStringLiteral("acceptBtn"));
        auto* cancel = prompt.findChild<newCnvBtn*>(QStringLiteral("cancelBtn"));
        QCOMPARE(accept->myCaption(), QStringLiteral("Accept"));
        QCOMPARE(accept->kind(), 1);
        QCOMPARE(accept->pos(), QPoint(250, 177));
        QCOMPARE(cancel->myCaption(), QStringLiteral("Not now"));
        QCOMPARE(cancel->kind(), 0);
        QCOMPARE(prompt.findChild<QLineEdit*>(QStringLiteral("theMsgFld"))->echoMode(), QLineEdit::Password);
        QVERIFY(!prompt.findChild<QLabel*>(QStringLiteral("sorryWarn"))->isVisible());
        QVERIFY(QTest::qWaitForWindowActive(&prompt));
        QTRY_COMPARE(QApplication::focusWidget(), prompt.findChild<QLineEdit*>(QStringLiteral("theMsgFld")));
        prompt.close();
    });
    QVERIFY(!prompt.showMessage(QStringLiteral("Password for Ann Lee:"), QStringLiteral("x"),
                                QStringLiteral("Accept"), QStringLiteral("Not now"), false));
}

// After a wrong password every text shows, each in the type and colour of the layout, and none is
// cut off.
void TestGetInputScrn::textsInTheirTypeAfterAWrongPassword() {
    struct Text {
        const char* name;
        QRect at;
        int pixels;
        QColor colour;
    };
    const Text texts[] = {
        {"promptTxt", {84, 20, 286, 36}, 13, QColor(0x41, 0x75, 0xBD)},
        {"sorryWarn", {105, 100, 180, 20}, 13, QColor(0xFF, 0x00, 0x00)},
        {"sorryWarn2", {135, 120, 120, 16}, 10, QColor(0x00, 0x00, 0x00)},
        {"Label1", {43, 148, 152, 20}, 10, QColor(0x00, 0x00, 0x00)},
    };
    getInputScrn prompt;
    onModal([&](QWidget*) {
        auto* field = prompt.findChild<QLineEdit*>(QStringLiteral("theMsgFld"));
        typeInto(field, QStringLiteral("tigre"));
        QTest::keyClick(field, Qt::Key_Return);
        QList<QWidget*> labels;
        for (const Text& t : texts) {
            auto* label = prompt.findChild<QLabel*>(QLatin1String(t.name));
            QVERIFY2(label && label->isVisible(), t.name);
            QCOMPARE(label->geometry(), t.at);
            QCOMPARE(label->font().pixelSize(), t.pixels);
            QVERIFY2(!label->font().bold(), t.name);
            QCOMPARE(label->palette().color(QPalette::WindowText), t.colour);
            labels << label;
        }
        const QString cut = Look::firstCutOff(labels);
        QVERIFY2(cut.isEmpty(), qPrintable(cut));
        QVERIFY(Look::saveShot(&prompt, QStringLiteral("password-prompt-wrong.png")));
        prompt.close();
    });
    QVERIFY(!prompt.showMessage(QStringLiteral("Please enter the administrative password."),
                                QStringLiteral("Tiger"), QStringLiteral("Accept"), QStringLiteral("Cancel"),
                                true));
}

QTEST_MAIN(TestGetInputScrn)
#include "tst_getinputscrn.moc"
