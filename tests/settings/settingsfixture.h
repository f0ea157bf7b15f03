#pragma once

// A signed-in student with a stored settings list in a fresh database, and small ways to reach and
// drive the controls of the settings window and its dialogs by name.

#include "data/dbctrl.h"
#include "data/globals.h"
#include "data/strecord.h"
#include "progress/newdatascrn.h"
#include "round/gamescrn.h"
#include "settings/numbercombo.h"
#include "settings/paramscrn.h"
#include "signin/namescrn.h"
#include "support/doubles.h"
#include "support/fixtures.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace SettingsTest {

// The student "Ann Lee" of class "3A", signed in as the sign-in window does it: the record is loaded
// from the database row that holds the given settings list.
class SignedIn {
public:
    explicit SignedIn(const QString& stParam, const QString& name = QStringLiteral("Ann Lee")) {
        id = db.addStudent(name, QStringLiteral("3A"));
        db.addResults(id, 0, 0);
        DBCtrl::exec(QStringLiteral("UPDATE theData SET stParam = ? WHERE StID = ?"), {stParam, id});
        auto record = std::make_shared<StRecord>(name, QStringLiteral("3A"), id, QString(), 0);
        record->getStudentData();
        myGlobals::gCurPlayer = record;
        dialogs.clear(); // the new database's note
    }
    ~SignedIn() { myGlobals::gCurPlayer.reset(); }

    QString stored() const { return db.dataColumn(id, QStringLiteral("stParam")); }
    static QString field(int index) { return myGlobals::gCurPlayer->myParams.value(index); }
    static QString fields() { return myGlobals::gCurPlayer->myParams.join(QLatin1Char(',')); }

    TestDoubles::ScriptedDialogs dialogs;
    TestDoubles::RecordingFeedback feedback;
    TestDoubles::TempDatabase db;
    int id = 0;
};

// Members of a control array, in index order.
template <typename T = QAbstractButton> QList<T*> array(QWidget* window, const QString& name) {
    QList<T*> members = window->findChildren<T*>(name);
    std::sort(members.begin(), members.end(),
              [](T* a, T* b) { return a->property("index").toInt() < b->property("index").toInt(); });
    return members;
}

inline int checkedIndex(QWidget* window, const QString& name) {
    const QList<QAbstractButton*> members = array(window, name);
    for (int i = 0; i < members.size(); ++i) {
        if (members[i]->isChecked())
            return i;
    }
    return -1;
}

inline QAbstractButton* member(QWidget* window, const QString& name, int index) {
    return array(window, name).value(index);
}

inline NumberCombo* combo(QWidget* window, const QString& name, int index = 0) {
    return array<NumberCombo>(window, name).value(index);
}

inline QStringList entries(const QComboBox* box) {
    QStringList all;
    for (int i = 0; i < box->count(); ++i)
        all << box->itemText(i);
    return all;
}

inline QStringList numbers(int first, int last, int step = 1) {
    QStringList all;
    for (int n = first; n <= last; n += step)
        all << QString::number(n);
    return all;
}

// Replaces the text of a number box key by key, as a student would: the first key replaces the
// selected text, and an empty text is a Backspace over it.
inline void typeInto(QComboBox* box, const QString& text) {
    box->lineEdit()->selectAll();
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Backspace);
    else
        QTest::keyClicks(box, text);
}

// Picks an entry from the box's drop-down list.
inline void pickEntry(QComboBox* box, const QString& text) {
    const int row = box->findText(text);
    QVERIFY2(row >= 0, qPrintable(text));
    box->showPopup();
    box->view()->setCurrentIndex(box->model()->index(row, 0));
    QTest::keyClick(box->view(), Qt::Key_Return);
}

inline void click(QWidget* control) {
    QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier,
                      QPoint(control->width() / 2, control->height() / 2));
}

// The settings window, built for the signed-in student and shown, before it has settled.
inline ParamScrn* openSettings() {
    ParamScrn* window = ParamScrn::instance();
    window->show();
    return window;
}

// Closes every window the tests opened, and lets closed ones go.
inline void closeAll() {
    if (ParamScrn::exists())
        ParamScrn::instance()->close();
    QCoreApplication::processEvents();
    for (QWidget* w : QApplication::topLevelWidgets())
        w->hide();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

inline bool visible(QWidget* window) {
    return window && window->isVisible();
}

} // namespace SettingsTest
