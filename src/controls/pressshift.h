#pragma once

// The pressed look of a picture that acts as a button: a left press moves it 2 pixels right and
// down and claims the release, which then comes wherever the pointer is; the release (or hiding the
// picture, which gets no release) moves it back. The owning widget forwards its mouse and hide
// events here and acts when release() says so.

#include <QMouseEvent>
#include <QWidget>

class PressShift {
public:
    static constexpr int kShift = 2;

    bool isPressed() const { return pressed_; }

    void press(QWidget& widget, QMouseEvent* event) {
        if (event->button() != Qt::LeftButton) {
            event->ignore();
            return;
        }
        event->accept();
        if (pressed_)
            return;
        pressed_ = true;
        widget.move(widget.pos() + QPoint(kShift, kShift));
    }

    // True when the release ends a press of this picture: the caller then acts.
    bool release(QWidget& widget, QMouseEvent* event) {
        if (event->button() != Qt::LeftButton || !pressed_) {
            event->ignore();
            return false;
        }
        event->accept();
        moveBack(widget);
        return true;
    }

    void moveBack(QWidget& widget) {
        if (!pressed_)
            return;
        pressed_ = false;
        widget.move(widget.pos() - QPoint(kShift, kShift));
    }

private:
    bool pressed_ = false;
};
