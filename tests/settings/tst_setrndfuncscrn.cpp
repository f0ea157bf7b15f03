#include "app/onmodal.h"
#include "controls/newcnvbtn.h"
#include "settings/setrndfuncscrn.h"
#include "settingsfixture.h"

#include <QCheckBox>
#include <QtTest>

using namespace SettingsTest;

namespace {

const QString kFirstText = QStringLiteral("Only CHECKED functions will be used.");
const QString kRefusal =
    QStringLiteral("You must select as least 2 functions. Otherwise, no need to use random.");

QString settings(const QString& allowed) {
    return QStringLiteral("0,4,10,") + allowed + QStringLiteral(",0,15,10,0,0,0,0");
}

QList<bool> ticks(QWidget* dialog) {
    QList<bool> all;
    for (QCheckBox* box : array<QCheckBox>(dialog, "allowFuncBtn"))
        all << box->isChecked();
    return all;
}

void setTicks(QWidget* dialog, const QList<bool>& wanted) {
    const QList<QCheckBox*> boxes = array<QCheckBox>(dialog, "allowFuncBtn");
    for (int i = 0; i < boxes.size(); ++i) {
        if (boxes[i]->isChecked() != wanted[i])
            click(boxes[i]);
    }
}

QString label(QWidget* dialog) {
    return dialog->findChild<QLabel*>("StaticText1")->text();
}

} // namespace

class TestSetRndFuncScrn : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { closeAll(); }

    void presetsAndSaves_data();
    void presetsAndSaves();
    void refusesFewerThanTwo_data();
    void refusesFewerThanTwo();
    void cancelWritesNothing_data();
    void cancelWritesNothing();
};

void TestSetRndFuncScrn::presetsAndSaves_data() {
    QTest::addColumn<QString>("allowed");
    QTest::addColumn<QList<bool>>("preset");
    QTest::addColumn<QList<bool>>("chosen");
    QTest::addColumn<QString>("how"); // button, return, enter
    QTest::addColumn<QString>("written");

    QTest::newRow("unchanged") << "1^0^1^0" << QList<bool>{true, false, true, false}
                               << QList<bool>{true, false, true, false} << "button"
                               << "1^0^1^0";
    QTest::newRow("fewer than four parts")
        << "1^1" << QList<bool>{true, true, false, false} << QList<bool>{true, true, false, false} << "button"
        << "1^1^0^0";
    QTest::newRow("only an exact 1 checks a box") << "2^ 1^^1" << QList<bool>{false, false, false, true}
                                                  << QList<bool>{true, false, false, true} << "return"
                                                  << "1^0^0^1";
    QTest::newRow("all but subtraction, with Enter") << "0^0^0^0" << QList<bool>{false, false, false, false}
                                                     << QList<bool>{true, false, true, true} << "enter"
                                                     << "1^0^1^1";
    QTest::newRow("a damaged field") << "x,y" << QList<bool>{false, false, false, false}
                                     << QList<bool>{false, true, true, false} << "button"
                                     << "0^1^1^0";
}

void TestSetRndFuncScrn::presetsAndSaves() {
    QFETCH(QString, allowed);
    QFETCH(QList<bool>, preset);
    QFETCH(QList<bool>, chosen);
    QFETCH(QString, how);
    QFETCH(QString, written);

    SignedIn ann(settings(QStringLiteral("1^1^1^1")));
    myGlobals::gCurPlayer->myParams[StRecord::AllowedOpsParam] = allowed;

    QList<bool> shown;
    QString title;
    int result = -1;
    onModal([&](QWidget* dialog) {
        title = dialog->windowTitle();
        shown = ticks(dialog);
        setTicks(dialog, chosen);
        if (how == QLatin1String("button"))
            click(dialog->findChild<newCnvBtn*>("saveBtn"));
        else
            QTest::keyClick(dialog, how == QLatin1String("return") ? Qt::Key_Return : Qt::Key_Enter);
    });
    result = SetRndFuncScrn::instance()->exec();

    QCOMPARE(title, QStringLiteral("Select Functions"));
    QCOMPARE(shown, preset);
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(SignedIn::field(StRecord::AllowedOpsParam), written);
    QCOMPARE(ann.feedback.beeps, 0);
    // The record changes in memory only.
    QCOMPARE(ann.stored(), settings(QStringLiteral("1^1^1^1")));
    QTRY_VERIFY(!SetRndFuncScrn::exists());
}

void TestSetRndFuncScrn::refusesFewerThanTwo_data() {
    QTest::addColumn<QList<bool>>("chosen");
    QTest::addColumn<QString>("how");
    QTest::newRow("one, Save") << QList<bool>{false, false, true, false} << "button";
    QTest::newRow("none, Save") << QList<bool>{false, false, false, false} << "button";
    QTest::newRow("one, Return") << QList<bool>{true, false, false, false} << "return";
}

void TestSetRndFuncScrn::refusesFewerThanTwo() {
    QFETCH(QList<bool>, chosen);
    QFETCH(QString, how);

    SignedIn ann(settings(QStringLiteral("1^1^0^0")));
    QString before, refusal, afterChange;
    bool stayed = false;
    int result = -1;
    onModal([&](QWidget* dialog) {
        before = label(dialog);
        setTicks(dialog, chosen);
        if (how == QLatin1String("button"))
            click(dialog->findChild<newCnvBtn*>("saveBtn"));
        else
            QTest::keyClick(dialog, Qt::Key_Return);
        stayed = dialog->isVisible();
        refusal = label(dialog);
        QCOMPARE(SignedIn::field(StRecord::AllowedOpsParam), QStringLiteral("1^1^0^0"));
        // The refusal stays up while the boxes change; two boxes are then enough.
        setTicks(dialog, {false, true, false, true});
        afterChange = label(dialog);
        click(dialog->findChild<newCnvBtn*>("saveBtn"));
    });
    result = SetRndFuncScrn::instance()->exec();

    QCOMPARE(before, kFirstText);
    QVERIFY(stayed);
    QCOMPARE(refusal, kRefusal);
    QCOMPARE(afterChange, kRefusal);
    QCOMPARE(ann.feedback.beeps, 1);
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(SignedIn::field(StRecord::AllowedOpsParam), QStringLiteral("0^1^0^1"));
    QVERIFY(ann.dialogs.shown.isEmpty());

    // The next opening starts with the first text again.
    QTRY_VERIFY(!SetRndFuncScrn::exists());
    QCOMPARE(label(SetRndFuncScrn::instance()), kFirstText);
    SetRndFuncScrn::instance()->close();
}

void TestSetRndFuncScrn::cancelWritesNothing_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel") << "button";
    QTest::newRow("Esc") << "escape";
    QTest::newRow("window manager's close") << "close";
}

void TestSetRndFuncScrn::cancelWritesNothing() {
    QFETCH(QString, how);

    SignedIn ann(settings(QStringLiteral("1^0^1^0")));
    onModal([&](QWidget* dialog) {
        setTicks(dialog, {false, true, false, true});
        if (how == QLatin1String("button"))
            click(dialog->findChild<newCnvBtn*>("cancelBtn"));
        else if (how == QLatin1String("escape"))
            QTest::keyClick(dialog, Qt::Key_Escape);
        else
            dialog->close();
    });
    const int result = SetRndFuncScrn::instance()->exec();

    QCOMPARE(result, int(QDialog::Rejected));
    QCOMPARE(SignedIn::field(StRecord::AllowedOpsParam), QStringLiteral("1^0^1^0"));
    QCOMPARE(ann.feedback.beeps, 0);
}

QTEST_MAIN(TestSetRndFuncScrn)
#include "tst_setrndfuncscrn.moc"
