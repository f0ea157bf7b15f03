#pragma once

// "Add New Name": a student puts their own name, an optional password and a class into the database
// from the sign-in window. Made anew for each press of "Add My Own Name" and shown modally; it closes
// only once the student was stored (the sign-in window then selects the new student), or on Cancel
// and its close box, which add nothing.

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class newCnvBtn;

class addNameScrn : public QDialog {
    Q_OBJECT
public:
    // className: the class chosen in the sign-in window, empty when none is.
    explicit addNameScrn(const QString& className, QWidget* parent = nullptr);

    // The class the new name goes into.
    QString targetClass() const { return className; }

    // Accept: checks the name and adds the student.
    void hndlDone();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildClassMenu();
    void classMenu2_Change(int index);
    void posBtn_MouseUp();
    void negBtn_MouseUp();

    QString className;

    QLabel* warnNoName = nullptr;
    QLineEdit* theNmFld = nullptr;
    QLineEdit* thePWFld = nullptr;
    QComboBox* classMenu2 = nullptr;
    newCnvBtn* negBtn = nullptr;
    newCnvBtn* posBtn = nullptr;
};
