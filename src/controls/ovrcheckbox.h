#pragma once

#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

// The program's own check box: one of two box pictures with a caption beside it, flipped by a click.
// Boxes that list one another in myGroup (groupTotal of them) form a radio group: a checked member
// ignores clicks, and checking a member unchecks the members it lists.
class ovrCheckBox : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool value READ value WRITE setValue)
    Q_PROPERTY(QString myText READ myText WRITE setMyText)

public:
    explicit ovrCheckBox(QWidget* parent = nullptr);

    // Setting a value or a caption only stores it: a window that changes a shown box asks it to redraw.
    bool value() const { return mvalue; }
    void setValue(bool checked) { mvalue = checked; }
    QString myText() const { return mmyText; }
    void setMyText(const QString& text) { mmyText = text; }

    QList<QPointer<ovrCheckBox>> myGroup; // the other boxes of the radio group
    int groupTotal = 0;                   // how many entries of myGroup take part; 0 is a plain check box

    QSize sizeHint() const override { return {200, 24}; }

signals:
    // Once, when the box is first shown and its faces are ready.
    void Open();
    // After every accepted click, when the box and its partners hold their new values.
    void MouseUp();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void prepareFaces();

    bool mvalue = false;
    QString mmyText;
    QPixmap myValuePict; // checked face
    QPixmap myUnselPict; // unchecked face
    bool pressAccepted_ = false;
    bool opened_ = false;
};
