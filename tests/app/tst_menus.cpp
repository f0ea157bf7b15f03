#include "app/menus.h"

#include <QAction>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QVBoxLayout>
#include <QtTest>

namespace {

// Each bar as text, menu by menu: "Menu|caption" then "  item|caption|shortcuts|role".
QStringList describe(const Menus::Bar& bar) {
    QStringList lines;
    for (QAction* top : bar.actions()) {
        lines << top->menu()->objectName() + QLatin1Char('|') + top->text();
        for (QAction* a : top->menu()->actions()) {
            if (a->isSeparator()) {
                lines << QStringLiteral("  ") + a->objectName() + QStringLiteral("|-");
                continue;
            }
            QStringList keys;
            for (const QKeySequence& k : a->shortcuts())
                keys << k.toString(QKeySequence::PortableText);
            static const QHash<int, QString> roles{{QAction::NoRole, ""},
                                                   {QAction::QuitRole, "quit"},
                                                   {QAction::PreferencesRole, "preferences"},
                                                   {QAction::AboutRole, "about"}};
            lines << QStringLiteral("  %1|%2|%3|%4")
                         .arg(a->objectName(), a->text(), keys.join(QLatin1Char(' ')),
                              roles.value(a->menuRole(), "?"));
        }
    }
    return lines;
}

const QStringList kEdit(const QString& deleteKey) {
    return {"EditMenu|&Edit",
            "  EditUndo|&Undo|Ctrl+Z|",
            "  UntitledMenu1|-",
            "  EditCut|Cu&t|Ctrl+X|",
            "  EditCopy|&Copy|Ctrl+C|",
            "  EditPaste|&Paste|Ctrl+V|",
            "  EditClear|&Delete|" + deleteKey + "|",
            "  UntitledMenu0|-",
            "  EditSelectAll|Select &All|Ctrl+A|"};
}

} // namespace

// A window of the program as the menus see it: it handles some items by slots named like them.
class HandlingWindow : public QMainWindow {
    Q_OBJECT
public:
    QStringList handled;
public slots:
    void FileClose() { handled << QStringLiteral("FileClose"); }
    void HelpHelp() { handled << QStringLiteral("HelpHelp"); }
    void EditUndo() { handled << QStringLiteral("EditUndo"); }
};

// A window that may keep its close, and notes the order in which Quit asked the windows.
class KeepingWindow : public QWidget {
public:
    KeepingWindow(const QString& name, bool keeps, QStringList* asked) : keeps_(keeps), asked_(asked) {
        setObjectName(name);
    }

protected:
    void closeEvent(QCloseEvent* event) override {
        *asked_ << objectName();
        if (keeps_)
            event->ignore();
        else
            event->accept();
    }

private:
    bool keeps_;
    QStringList* asked_;
};

class TestMenus : public QObject {
    Q_OBJECT
private slots:
    void mainBarFollowsItsTable();
    void teacherBarFollowsItsTable();
    void everyWindowGetsItsOwnBar();
    void windowHandlesItemsByName();
    void shortcutsReachTheHandlers();
    void editItemsWorkOnTheFocusedField();
    void aWindowThatKeepsItsCloseStopsQuit();
    void quitClosesEveryWindow(); // last: the program is quitting afterwards
};

void TestMenus::mainBarFollowsItsTable() {
    MenuBar1 bar;
    QStringList expected{"FileMenu|&File", "  FileClose|Close|Ctrl+W|", "  FilePrint|Print|Ctrl+P|",
                         "  FileExport|Export||", "  FileQuit|Quit|Ctrl+Q|quit"};
    expected << kEdit(QString());
    expected << QStringList{"AdminMenu|Admin",
                            "  AdminPreferences|Preferences...||preferences",
                            "  AdminClassLists|Class Lists|Ctrl+1|",
                            "  AdminCreate|Create Problem Sets|Ctrl+2|",
                            "HallofFameMenu|Hall of Fame",
                            "  HallofFameShowList|Show List||",
                            "HelpMenu|Help",
                            "  HelpAboutNumbrookZeri|About Numbrook Riza||about",
                            "  HelpHelp|Help|? F1|",
                            "  HelpGettingStarted|Getting Started...||",
                            "  HelpCheckVersion|Check Version||"};
    QCOMPARE(describe(bar), expected);
}

void TestMenus::teacherBarFollowsItsTable() {
    CtrlMenu bar;
    QStringList expected{"FileMenu|&File",
                         "  FileClose|Close|Ctrl+W|",
                         "  FileNew|New|Ctrl+N|",
                         "  FileOpen|Open|Ctrl+O|",
                         "  FileSave|Save|Ctrl+S|",
                         "  FileImport|Import...||",
                         "  FileExport|Export...||",
                         "  FilePageSetup|Page Setup|Ctrl+Shift+P|",
                         "  FilePrint|Print|Ctrl+P|",
                         "  FileQuit|Quit|Ctrl+Q|quit"};
    expected << kEdit(QStringLiteral("Ctrl+D"));
    expected << QStringList{"HelpMenu|Help", "  HelpHelp|Help|Ctrl+? F1|"};
    QCOMPARE(describe(bar), expected);
    QVERIFY(!bar.menu(QStringLiteral("AdminMenu")));
    QVERIFY(!bar.menu(QStringLiteral("HallofFameMenu")));
}

void TestMenus::everyWindowGetsItsOwnBar() {
    QMainWindow classWindow, setMaker;
    auto* one = new CtrlMenu;
    auto* two = new CtrlMenu;
    one->attachTo(&classWindow);
    two->attachTo(&setMaker);
    QCOMPARE(classWindow.menuBar(), one);
    QCOMPARE(setMaker.menuBar(), two);
    // A window retitles its own items while it is in front; the other window's bar keeps its text.
    one->item(QStringLiteral("FilePrint"))->setText(QStringLiteral("Print Class List"));
    QCOMPARE(two->item(QStringLiteral("FilePrint"))->text(), QStringLiteral("Print"));

    // A window without QMainWindow gets the bar at the top of its layout.
    QWidget plain;
    auto* layout = new QVBoxLayout(&plain);
    layout->addWidget(new QLineEdit);
    auto* bar = new MenuBar1;
    bar->attachTo(&plain);
    QCOMPARE(layout->menuBar(), bar);
}

void TestMenus::windowHandlesItemsByName() {
    HandlingWindow window;
    auto* bar = new MenuBar1;
    QVERIFY(bar->item(QStringLiteral("FileQuit"))->isEnabled()); // usable before any window binds it
    QVERIFY(!bar->item(QStringLiteral("FileClose"))->isEnabled());
    bar->attachTo(&window);
    QCOMPARE(bar->bindHandlers(&window), (QStringList{"FileClose", "EditUndo", "HelpHelp"}));
    bar->item(QStringLiteral("FileClose"))->trigger();
    bar->item(QStringLiteral("HelpHelp"))->trigger();
    bar->item(QStringLiteral("EditUndo"))->trigger();
    QCOMPARE(window.handled, (QStringList{"FileClose", "HelpHelp", "EditUndo"}));

    // Nothing offered does nothing: items without a handler are switched off, except those with a
    // standard behaviour.
    QVERIFY(!bar->item(QStringLiteral("FilePrint"))->isEnabled());
    QVERIFY(!bar->item(QStringLiteral("AdminClassLists"))->isEnabled());
    QVERIFY(bar->item(QStringLiteral("FileQuit"))->isEnabled());
    QVERIFY(bar->item(QStringLiteral("EditCopy"))->isEnabled());

    // Binding again does not call a handler twice.
    bar->bindHandlers(&window);
    window.handled.clear();
    bar->item(QStringLiteral("FileClose"))->trigger();
    QCOMPARE(window.handled, QStringList{"FileClose"});
}

void TestMenus::shortcutsReachTheHandlers() {
    HandlingWindow window;
    window.setCentralWidget(new QWidget);
    auto* bar = new CtrlMenu;
    bar->attachTo(&window);
    bar->bindHandlers(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_W, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_F1);
    QCOMPARE(window.handled, (QStringList{"FileClose", "HelpHelp"}));
}

void TestMenus::editItemsWorkOnTheFocusedField() {
    QMainWindow window;
    auto* field = new QLineEdit(QStringLiteral("seven times eight"));
    window.setCentralWidget(field);
    auto* bar = new MenuBar1;
    bar->attachTo(&window);
    bar->bindHandlers(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    field->setFocus();
    QTRY_VERIFY(field->hasFocus());
    bar->item(QStringLiteral("EditSelectAll"))->trigger();
    QCOMPARE(field->selectedText(), QStringLiteral("seven times eight"));
    bar->item(QStringLiteral("EditClear"))->trigger();
    QVERIFY(field->text().isEmpty());
    bar->item(QStringLiteral("EditUndo"))->trigger();
    QCOMPARE(field->text(), QStringLiteral("seven times eight"));

    // The Edit menu offers its standard items only while a text field has the keyboard.
    emit bar->menu(QStringLiteral("EditMenu"))->aboutToShow();
    QVERIFY(bar->item(QStringLiteral("EditCut"))->isEnabled());
    field->clearFocus();
    window.setFocus();
    emit bar->menu(QStringLiteral("EditMenu"))->aboutToShow();
    QVERIFY(!bar->item(QStringLiteral("EditCut"))->isEnabled());
}

// Quit asks the modal window in front first: when it keeps its close, the windows behind it stay
// open, and the program is not quitting.
void TestMenus::aWindowThatKeepsItsCloseStopsQuit() {
    QStringList asked;
    KeepingWindow behind(QStringLiteral("behind"), false, &asked);
    KeepingWindow front(QStringLiteral("front"), true, &asked);
    front.setWindowModality(Qt::ApplicationModal);
    behind.show();
    front.show();
    QVERIFY(QTest::qWaitForWindowExposed(&front));
    auto* bar = new CtrlMenu(&front);
    bar->bindHandlers(&front);
    bar->item(QStringLiteral("FileQuit"))->trigger();
    QCOMPARE(asked, QStringList{"front"});
    QVERIFY(front.isVisible() && behind.isVisible());
    QVERIFY(!Menus::quitting());
}

void TestMenus::quitClosesEveryWindow() {
    QStringList asked;
    KeepingWindow one(QStringLiteral("one"), false, &asked);
    KeepingWindow two(QStringLiteral("two"), false, &asked);
    KeepingWindow front(QStringLiteral("front"), false, &asked);
    front.setWindowModality(Qt::ApplicationModal);
    KeepingWindow hidden(QStringLiteral("hidden"), true, &asked);
    for (QWidget* w :
         {static_cast<QWidget*>(&one), static_cast<QWidget*>(&two), static_cast<QWidget*>(&front)})
        w->show();
    QVERIFY(QTest::qWaitForWindowExposed(&front));
    auto* bar = new MenuBar1(&one);
    bar->bindHandlers(&one);
    bar->item(QStringLiteral("FileQuit"))->trigger();
    QCOMPARE(asked.size(), 3);
    QCOMPARE(asked.first(), QStringLiteral("front"));
    QVERIFY(!one.isVisible() && !two.isVisible() && !front.isVisible());
    QVERIFY(Menus::quitting());
}

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
