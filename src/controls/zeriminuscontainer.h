#pragma once

// A small plus/minus push control, 45 by 22: the left half presses plus, the right half minus. Each
// half can be disabled on its own, and the whole control shows its disabled face while its window is
// inactive. From the keyboard one half at a time holds the focus, with a ring around it: Tab moves
// between the halves and Space presses the focused one.

#include <QPixmap>
#include <QWidget>

class ZeriMinusContainer : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 45;
    static constexpr int kHeight = 22;
    // Half the face: a press left of it is on plus. The halves drawn pressed or disabled are this many
    // whole pixels wide, with the column between them belonging to neither.
    static constexpr qreal kHalf = kWidth / 2.0;
    static constexpr int kHalfPixels = kWidth / 2;

    enum Focus { NoHalf = 0, ZeriHalf = 1, MinusHalf = 2 };

    explicit ZeriMinusContainer(QWidget* parent = nullptr);

    // Setting these only stores them; the window asks for a redraw when the control is already shown.
    bool zeriEnabled = true;
    bool minusEnabled = true;

    // Makes the control active or inactive, as its window's activation does, and redraws at once.
    void SetWindowEnabled(bool enabled);
    bool windowEnabled() const { return windowEnabled_; }
    int focusedButton() const { return focusedbutton; }
    bool zeriPushed() const { return pushZeri; }
    bool minusPushed() const { return pushMinus; }

    // How long a Space press keeps its half drawn pressed.
    static constexpr int kSpaceHoldMs = 125;

    QSize sizeHint() const override { return {kWidth, kHeight}; }

signals:
    void ZeriPressed();
    void MinusPressed();
    void Activate();
    void Deactivate();
    void Open();

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void makeFaces();
    bool isActive() const;
    void pressFocusedHalf();
    // Handles Tab and Shift-Tab; true when the key was taken.
    bool handleTab(bool backwards);

    QPixmap normalpic, downpic, disabledpic;
    int focusedbutton = NoHalf;
    bool pushZeri = false;
    bool pushMinus = false;
    bool pressAccepted = false;
    bool windowEnabled_ = false;
    bool opened = false;
};
