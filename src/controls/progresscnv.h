#pragma once

#include <QWidget>

// A thermometer-like bar that fills upward in equal whole-pixel steps. What the division of the height
// by the number of steps leaves over shows in the first step.
class progressCnv : public QWidget {
    Q_OBJECT

public:
    explicit progressCnv(QWidget* parent = nullptr);

    // Starts again, empty, for that many steps.
    void reinit(int total);
    // Sets the number of steps done (a count, not an increment) and redraws at once.
    void advance(int count);

    QSize sizeHint() const override { return {32, 320}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int setUnit(int total) const;

    int myUnit = 0; // height of one step in pixels
    int myCt = 0;   // steps done
    int myTot = 0;  // steps in all
};
