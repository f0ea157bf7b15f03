#pragma once

// The program's two menu bars: MenuBar1, the main bar of the student windows and the games, and
// CtrlMenu, the teacher bar of the class window, the problem-set maker and the help window. Each is
// built from one fixed table. On Linux a menu bar belongs to one window, so every window makes its
// own bar from the table and binds its handlers to the items by name: a window that has a slot named
// like an item ("FileClose", "HelpHelp") handles that item.

#include <QMenuBar>
#include <QString>
#include <QStringList>

#include <vector>

class QAction;
class QMenu;

namespace Menus {

enum class Kind { Ordinary, Separator, Quit, Preferences, About };

struct Item {
    const char* name;
    const char* caption;  // "&" marks the access letter
    const char* shortcut; // as written in the table ("Cmd+W"); empty for none
    Kind kind;
};

struct Menu {
    const char* name;
    const char* caption;
    std::vector<Item> items;
};

using Table = std::vector<Menu>;

const Table& mainTable();
const Table& teacherTable();

// A table shortcut as key sequences: "Cmd" is the Control key here; Help also answers F1.
QList<QKeySequence> shortcutsFor(const Item& item);

// True from the moment Quit was chosen: a window that closes then closes for good and hands over to
// no other window.
bool quitting();

// A menu bar built from one of the tables. Menus and items carry their names as object names.
class Bar : public QMenuBar {
    Q_OBJECT
public:
    QAction* item(const QString& name) const;
    QMenu* menu(const QString& name) const;
    QStringList itemNames() const;

    // Connects every item to the window's slot of the same name (call it before connecting any item
    // by hand, since it replaces what was connected). An item the window does not handle
    // gets the standard behaviour where there is one (Quit; the Edit items act on the focused text
    // field) and is disabled otherwise, so that nothing offered does nothing. Returns the names bound
    // to the window's own slots.
    QStringList bindHandlers(QObject* window);

    // Puts the bar on a window: a QMainWindow's menu bar, or the top of the window's layout.
    void attachTo(QWidget* window);

protected:
    Bar(const Table& table, QWidget* parent);

private:
    void updateEditItems();
};

} // namespace Menus

class MenuBar1 : public Menus::Bar {
    Q_OBJECT
public:
    explicit MenuBar1(QWidget* parent = nullptr);
};

class CtrlMenu : public Menus::Bar {
    Q_OBJECT
public:
    explicit CtrlMenu(QWidget* parent = nullptr);
};
