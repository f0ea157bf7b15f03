#include "menus.h"

#include <QAction>
#include <QApplication>
#include <QLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMetaMethod>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>

namespace Menus {
namespace {

using K = Kind;

std::vector<Item> editItems(const char* deleteShortcut) {
    return {{"EditUndo", "&Undo", "Cmd+Z", K::Ordinary},
            {"UntitledMenu1", "-", "", K::Separator},
            {"EditCut", "Cu&t", "Cmd+X", K::Ordinary},
            {"EditCopy", "&Copy", "Cmd+C", K::Ordinary},
            {"EditPaste", "&Paste", "Cmd+V", K::Ordinary},
            {"EditClear", "&Delete", deleteShortcut, K::Ordinary},
            {"UntitledMenu0", "-", "", K::Separator},
            {"EditSelectAll", "Select &All", "Cmd+A", K::Ordinary}};
}

// The Edit items every text field understands; a window that has no handler of its own for one of
// them gets the field's own editing.
QWidget* focusedTextField() {
    QWidget* w = QApplication::focusWidget();
    if (qobject_cast<QLineEdit*>(w) || qobject_cast<QTextEdit*>(w) || qobject_cast<QPlainTextEdit*>(w))
        return w;
    return nullptr;
}

bool isStandardEditItem(const QString& name) {
    static const QStringList names{"EditUndo",  "EditCut",   "EditCopy",
                                   "EditPaste", "EditClear", "EditSelectAll"};
    return names.contains(name);
}

void editFocusedField(const QString& item) {
    QWidget* w = focusedTextField();
    if (!w)
        return;
    if (item == QLatin1String("EditClear")) {
        // A cursor edits whatever its document holds: a field that is only read (a help page) keeps it.
        if (auto* line = qobject_cast<QLineEdit*>(w); line && !line->isReadOnly())
            line->del();
        else if (auto* text = qobject_cast<QTextEdit*>(w); text && !text->isReadOnly())
            text->textCursor().removeSelectedText();
        else if (auto* plain = qobject_cast<QPlainTextEdit*>(w); plain && !plain->isReadOnly())
            plain->textCursor().removeSelectedText();
        return;
    }
    static const QHash<QString, const char*> methods{{"EditUndo", "undo"},
                                                     {"EditCut", "cut"},
                                                     {"EditCopy", "copy"},
                                                     {"EditPaste", "paste"},
                                                     {"EditSelectAll", "selectAll"}};
    QMetaObject::invokeMethod(w, methods.value(item));
}

const char* kStandardTag = "nbrStandard"; // marks an item that runs its standard behaviour

bool closesAtQuit(const QWidget* w) {
    return w->isVisible() && w->windowType() != Qt::Desktop && !w->testAttribute(Qt::WA_DontShowOnScreen);
}

// Asks every open window to close, the modal ones first (the innermost first), since a window in
// front may hold what the user still wants: when one refuses, the windows behind it stay open.
// True when every window closed.
bool closeEveryWindow() {
    QList<QPointer<QWidget>> asked;
    for (;;) {
        QWidget* next = QApplication::activeModalWidget();
        if (next && asked.contains(next))
            next = nullptr;
        if (!next) {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (closesAtQuit(w) && !asked.contains(w)) {
                    next = w;
                    break;
                }
            }
        }
        if (!next)
            return true;
        asked << next;
        if (!next->close())
            return false;
    }
}

bool quitChosen = false;

} // namespace

const Table& mainTable() {
    static const Table table{
        {"FileMenu",
         "&File",
         {{"FileClose", "Close", "Cmd+W", K::Ordinary},
          {"FilePrint", "Print", "Cmd+P", K::Ordinary},
          {"FileExport", "Export", "", K::Ordinary},
          {"FileQuit", "Quit", "Cmd+Q", K::Quit}}},
        {"EditMenu", "&Edit", editItems("")},
        {"AdminMenu",
         "Admin",
         {{"AdminPreferences", "Preferences...", "", K::Preferences},
          {"AdminClassLists", "Class Lists", "Cmd+1", K::Ordinary},
          {"AdminCreate", "Create Problem Sets", "Cmd+2", K::Ordinary}}},
        {"HallofFameMenu", "Hall of Fame", {{"HallofFameShowList", "Show List", "", K::Ordinary}}},
        {"HelpMenu",
         "Help",
         {{"HelpAboutNumbrookZeri", "About Numbrook Riza", "", K::About},
          {"HelpHelp", "Help", "?", K::Ordinary},
          {"HelpGettingStarted", "Getting Started...", "", K::Ordinary},
          {"HelpCheckVersion", "Check Version", "", K::Ordinary}}},
    };
    return table;
}

const Table& teacherTable() {
    static const Table table{
        {"FileMenu",
         "&File",
         {{"FileClose", "Close", "Cmd+W", K::Ordinary},
          {"FileNew", "New", "Cmd+N", K::Ordinary},
          {"FileOpen", "Open", "Cmd+O", K::Ordinary},
          {"FileSave", "Save", "Cmd+S", K::Ordinary},
          {"FileImport", "Import...", "", K::Ordinary},
          {"FileExport", "Export...", "", K::Ordinary},
          {"FilePageSetup", "Page Setup", "Cmd+Shift+P", K::Ordinary},
          {"FilePrint", "Print", "Cmd+P", K::Ordinary},
          {"FileQuit", "Quit", "Cmd+Q", K::Quit}}},
        {"EditMenu", "&Edit", editItems("Cmd+D")},
        {"HelpMenu", "Help", {{"HelpHelp", "Help", "Cmd+?", K::Ordinary}}},
    };
    return table;
}

bool quitting() {
    return quitChosen;
}

QList<QKeySequence> shortcutsFor(const Item& item) {
    QList<QKeySequence> keys;
    const QString text = QString::fromLatin1(item.shortcut);
    if (!text.isEmpty()) {
        QString portable = text;
        portable.replace(QLatin1String("Cmd+"), QLatin1String("Ctrl+"));
        keys << QKeySequence(portable, QKeySequence::PortableText);
    }
    if (qstrcmp(item.name, "HelpHelp") == 0)
        keys << QKeySequence(QKeySequence::HelpContents);
    return keys;
}

Bar::Bar(const Table& table, QWidget* parent) : QMenuBar(parent) {
    for (const Menu& m : table) {
        QMenu* menu = addMenu(QString::fromUtf8(m.caption));
        menu->setObjectName(QString::fromLatin1(m.name));
        menu->menuAction()->setObjectName(QString::fromLatin1(m.name));
        for (const Item& it : m.items) {
            QAction* action = it.kind == K::Separator ? menu->addSeparator()
                                                      : menu->addAction(QString::fromUtf8(it.caption));
            action->setObjectName(QString::fromLatin1(it.name));
            if (it.kind == K::Separator)
                continue;
            action->setShortcuts(shortcutsFor(it));
            switch (it.kind) {
            case K::Quit:
                action->setMenuRole(QAction::QuitRole);
                break;
            case K::Preferences:
                action->setMenuRole(QAction::PreferencesRole);
                break;
            case K::About:
                action->setMenuRole(QAction::AboutRole);
                break;
            default:
                // No guessing by caption: only the three items above belong in an application menu.
                action->setMenuRole(QAction::NoRole);
                break;
            }
        }
        if (m.name == std::string_view("EditMenu"))
            connect(menu, &QMenu::aboutToShow, this, &Bar::updateEditItems);
    }
    bindHandlers(nullptr); // the standard behaviours until a window binds its own handlers
}

QAction* Bar::item(const QString& name) const {
    for (QAction* a : findChildren<QAction*>(name)) {
        if (!a->isSeparator() && !a->menu())
            return a;
    }
    return nullptr;
}

QMenu* Bar::menu(const QString& name) const {
    return findChild<QMenu*>(name);
}

QStringList Bar::itemNames() const {
    QStringList names;
    for (QAction* top : actions()) {
        for (QAction* a : top->menu()->actions())
            names << a->objectName();
    }
    return names;
}

QStringList Bar::bindHandlers(QObject* window) {
    QStringList bound;
    const QMetaMethod triggered = QMetaMethod::fromSignal(&QAction::triggered);
    for (QAction* top : actions()) {
        for (QAction* a : top->menu()->actions()) {
            if (a->isSeparator())
                continue;
            const QString name = a->objectName();
            disconnect(a, &QAction::triggered, nullptr, nullptr);
            a->setProperty(kStandardTag, false);
            const QByteArray signature =
                QMetaObject::normalizedSignature((name + QLatin1String("()")).toLatin1());
            const int index = window ? window->metaObject()->indexOfMethod(signature.constData()) : -1;
            if (name == QLatin1String("FileQuit")) {
                // The platform's quit in every window: the windows close (and save what they keep);
                // a window that refuses its close (unsaved work the user keeps) stops the quit.
                connect(a, &QAction::triggered, qApp, [] {
                    quitChosen = true;
                    if (closeEveryWindow())
                        QCoreApplication::quit();
                    else
                        quitChosen = false;
                });
                a->setEnabled(true);
            } else if (index >= 0) {
                connect(a, triggered, window, window->metaObject()->method(index));
                a->setEnabled(true);
                bound << name;
            } else if (isStandardEditItem(name)) {
                connect(a, &QAction::triggered, this, [name] { editFocusedField(name); });
                a->setProperty(kStandardTag, true);
                a->setEnabled(true);
            } else {
                a->setEnabled(false);
            }
        }
    }
    return bound;
}

void Bar::updateEditItems() {
    const bool field = focusedTextField() != nullptr;
    if (QMenu* edit = menu(QStringLiteral("EditMenu"))) {
        for (QAction* a : edit->actions()) {
            if (a->property(kStandardTag).toBool())
                a->setEnabled(field);
        }
    }
}

void Bar::attachTo(QWidget* window) {
    if (auto* main = qobject_cast<QMainWindow*>(window)) {
        main->setMenuBar(this);
    } else if (window->layout()) {
        window->layout()->setMenuBar(this);
    } else {
        setParent(window);
        setGeometry(0, 0, window->width(), sizeHint().height());
        show();
    }
}

} // namespace Menus

MenuBar1::MenuBar1(QWidget* parent) : Menus::Bar(Menus::mainTable(), parent) {
    setObjectName(QStringLiteral("MenuBar1"));
}

CtrlMenu::CtrlMenu(QWidget* parent) : Menus::Bar(Menus::teacherTable(), parent) {
    setObjectName(QStringLiteral("CtrlMenu"));
}
