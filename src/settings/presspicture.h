#pragma once

// A picture that acts as a button: a press moves it 2 pixels right and down and claims the release,
// which comes wherever the pointer then is; the picture moves back before MouseUp is raised.

#include "controls/picturecanvas.h"
#include "controls/pressshift.h"

class PressPicture : public PictureCanvas {
    Q_OBJECT
public:
    PressPicture(const QString& objectName, Source source, Fit fit, QWidget* parent);
    bool isPressed() const { return shift_.isPressed(); }

signals:
    void MouseUp();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    PressShift shift_;
};
