#pragma once

// The class and student list panel of the teacher's class window: a pop-up of the classes and, below
// it, the students of the chosen class (or of all classes) with their passwords and stars. It reads
// the roster from the database itself, adds, edits and deletes classes and students, prints and
// exports the shown list, and tells its window about every change of the two selections.

#include "data/dbctrl.h"

#include <QPointer>
#include <QWidget>

class QComboBox;
class QLabel;
class printingLB;

class nameListCtr : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 464;
    static constexpr int kHeight = 544;

    explicit nameListCtr(QWidget* parent = nullptr);

    // Adds a class unless one of that name exists (apostrophes are removed first, with a message).
    // True when added; the new class becomes the pop-up's last row and the list stays as it is.
    bool addClass(const QString& name);
    // Adds a student to the shown class, or to "Default" while all classes are shown, and appends the
    // student's row; the list changes only when the student was really added.
    void addName(const QString& name, const QString& password);
    // Asks, then deletes the selected students.
    void deleteSelectedStudent();
    // Deletes a class with its students; the panel then shows all classes again.
    void deleteClass(const QString& name);
    void setMyParent(QWidget* parent);
    // Rewrites a student's row (password in clear; stars as shown, halves allowed, or empty to leave the
    // stored total as it is) and rebuilds the list.
    void editName(const QString& name, const QString& password, const QString& className, int id,
                  const QString& stars);
    void doPrinting();
    void doSelectAll();
    bool isClassSelected() const;
    void exportNames();
    // Reads the shown students again, for students added behind the panel's back (an import).
    void refreshList() { fillNameList(); }

    // The class whose students are shown; empty while "All Classes" is chosen.
    QString currentClass() const { return curClass; }
    QComboBox* classPopup() const { return classMenu; }
    printingLB* list() const { return nameList; }

    // A star total as the list shows it: one decimal, no leading zero (.0, .5, 1.5, 4.0).
    static QString starsCellText(int halfStars);
    // The half stars a stars text stands for: "1.5" is 3; text that is no number counts 0.
    static int halfStarsFromText(const QString& stars);

signals:
    // The chosen class changed; empty for "All Classes".
    void classNameSet(const QString& className);
    // The list's selection changed: the first selected row, or empty texts, stars "0" and id -1 when
    // no row is selected.
    void studentNameSet(const QString& name, const QString& password, const QString& stars, int id,
                        const QString& className);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fillClassMenu();
    void fillNameList();
    void classMenu_Change();
    void nameList_Change();
    void putStudent(int row, const DBCtrl::StudentRow& student, const QString& starsText);
    QList<int> selectedRows() const;

    QString curClass;
    QPointer<QWidget> myParent;

    QLabel* StaticText1;
    QComboBox* classMenu;
    printingLB* nameList;
};
