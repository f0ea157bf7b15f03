#pragma once

// The teacher's class window, "Manage Classes". The left side is the class and student list panel;
// the right side adds and deletes classes (a class field with a plus/minus stepper) and adds, edits
// and deletes students (a form whose mode the add button's caption carries: "Add Name" or "Edit
// Name"). The File menu imports a student list into the chosen class, exports and prints the shown
// list. Every way of closing the window shows the sign-in window again; the window is dropped when it
// closes, so each opening reads the classes afresh.

#include <QWidget>

#include <optional>

class CtrlMenu;
class QLabel;
class QLineEdit;
class ZeriMinusContainer;
class ghostEF;
class nameListCtr;
class newCnvBtn;

class ClassScrn : public QWidget {
    Q_OBJECT
public:
    static constexpr int kDesignWidth = 800;
    static constexpr int kDesignHeight = 600;

    // The one window, made when there is none.
    static ClassScrn* instance();
    static bool exists();

    // The grey hint of the class field.
    static QString classHint();

    // The student shown in the form; -1 in add mode.
    int selectedID() const { return curSelectedID; }
    CtrlMenu* menuBar() const { return bar; }

    // File > Import: asks for a file and adds its students to the chosen class.
    void importNames();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    // Menu handlers, named as the items they handle.
    void FileClose();
    void FilePageSetup();
    void FilePrint();
    void FileImport();
    void FileExport();
    void EditClear();
    void EditSelectAll();

private:
    ClassScrn();
    ~ClassScrn() override;

    void makeControls();
    void layoutControls();
    void Event_Open();
    void Event_EnableMenuItems();

    void myNameCtr_classNameSet(const QString& className);
    void myNameCtr_studentNameSet(const QString& name, const QString& password, const QString& stars, int id,
                                  const QString& className);
    void enterPressed();
    void addBtn_MouseUp();
    void deleteBtn_MouseUp();
    void closeBtn_MouseUp();
    void resetScrsBtn_MouseUp();
    void ZeriMinusContainer1_ZeriPressed();
    void ZeriMinusContainer1_MinusPressed();

    void hndlAddingStudent();
    void hndlEditingStudent();
    bool askDeleteClass(const QString& className);
    // Puts the form into add mode: no student shown, both student buttons hidden.
    void toAddMode(const QString& starsText);

    // Whether the class field holds no class: empty, or showing its hint.
    bool classFieldEmpty() const;
    // The stored class the class field names: the exact spelling, else the one that differs only in
    // letter case or in line breaks made blanks; empty when no class of that name is stored. When the
    // classes could not be read, the user is told that notDone was not done, and why; nothing then.
    std::optional<QString> storedClassOfField(const QString& notDone) const;
    // The stored class the form's student goes into. A blank name beeps and is selected for retyping;
    // a class field that names no stored class beeps and says why. Empty text in both cases.
    QString checkedFormClass(const QString& notDone);

    int curSelectedID = -1;
    bool opened = false;

    CtrlMenu* bar = nullptr;
    QWidget* content = nullptr;
    nameListCtr* myNameCtr = nullptr;
    QLabel* StaticText1 = nullptr;
    ghostEF* classFld = nullptr;
    QLabel* StaticText2 = nullptr;
    QLineEdit* stNameFld = nullptr;
    QLabel* StaticText3 = nullptr;
    QLabel* stStarsFld = nullptr;
    QLabel* StaticText6 = nullptr;
    QLineEdit* pwFld = nullptr;
    QLabel* StaticText7 = nullptr;
    newCnvBtn* addBtn = nullptr;
    newCnvBtn* closeBtn = nullptr;
    newCnvBtn* deleteBtn = nullptr;
    ZeriMinusContainer* ZeriMinusContainer1 = nullptr;
    newCnvBtn* resetScrsBtn = nullptr;

    // The right column's controls with their places in the 800 by 600 layout.
    struct Placed {
        QWidget* control;
        QRect design;
    };
    QList<Placed> rightColumn;

    static ClassScrn* shared_;
};
