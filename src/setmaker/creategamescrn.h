#pragma once

// The problem-set maker: the teacher types up to 20 arithmetic problems, one at a time, into two
// number fields set one above the other like a written sum, picks the operation by clicking its sign
// or holding an arrow key, sees the answer while typing, and adds each problem to a numbered list.
// The list is saved as a problem-set file in the sets folder, which drill rounds then read; a saved
// set can be opened again. Changes that are not saved are never lost without a question.
//
// The window is modal over the sign-in window and exists only while it is open: every opening
// starts with an empty list, empty fields and addition.

#include <QWidget>

class CtrlMenu;
class HeldArrowKeys;
class QLabel;
class QLineEdit;
class QListWidget;
class QTimer;
class newCnvBtn;

class createGameScrn : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMaxRows = 20;

    // The one window, made when there is none; it is dropped when it closes.
    static createGameScrn* instance();
    static bool exists();

    CtrlMenu* menuBar() const { return bar; }
    // The list has changes that are neither saved nor given up.
    bool dirty() const { return isDirty; }
    // The operation being entered: 0 addition, 1 subtraction, 2 multiplication, 3 division.
    int operation() const { return myFuncCt; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    // Menu handlers, named as the items they handle.
    void FileNew();
    void FileOpen();
    void FileSave();
    void FileClose();
    void EditClear();

private:
    createGameScrn();
    ~createGameScrn() override;

    void makeControls();
    void Event_Open();

    void funcCnv_MouseUp();
    void keyTimer_Action();
    void calcTimer_Action();
    void addBtn_MouseUp();
    void CloseBtn_MouseUp();
    // A new operation: the sign is drawn again and an answer on show is worked out for it.
    void setOperation(int operation);

    void doAddProb();
    void topFldReset();
    void botFldReset();
    void fieldReset(QLineEdit* field);
    void addToList(const QString& row);
    // Open: both number fields take problems and "Add" shows; full: neither.
    void setEntryOpen(bool open);
    void setDirty(bool b);

    bool hndlSave();
    void hndlOpen();
    void reinit();
    // Asks whether to save the set. True when the question settled it (saved, or "Don't Save"): the
    // window then closes when a close is under way, and is cleared otherwise.
    bool askSave();
    void stopTimers();

    int myFuncCt = 0;
    bool isDirty = false;
    bool isClosing = false;
    bool opened = false;

    CtrlMenu* bar;
    QWidget* content;
    QListWidget* probList;
    QList<QLabel*> NumTxt;
    QLabel* InstrTxt;
    QLineEdit* topFld;
    QLineEdit* botFld;
    QWidget* funcCnv;
    QLabel* resultFld;
    newCnvBtn* addBtn;
    QLineEdit* nameFld;
    newCnvBtn* CloseBtn;
    QTimer* keyTimer;
    QTimer* calcTimer;
    HeldArrowKeys* arrowKeys;

    static createGameScrn* shared_;
};
