#pragma once

// The cells of the drill round's problem area: a digit cell shows one picture of the digit table and
// lets it rise into place from below; a sign cell shows a minus sign or nothing.

#include <QWidget>

class DigitCell : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int whichPict READ whichPict)
    Q_PROPERTY(int y READ offset)
public:
    static constexpr int kWidth = 24;
    static constexpr int kHeight = 32;
    // The offset at which nothing of the picture shows yet.
    static constexpr int kBelow = 32;

    DigitCell(const QString& objectName, QWidget* parent);

    // The picture: 0 to 9 a digit, 10 blank, 11 a minus sign.
    int whichPict() const { return pict_; }
    void setPicture(int index);
    // How far below its place the picture is drawn, 0 in place.
    int offset() const { return offset_; }
    void setOffset(int y);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int pict_ = 10;
    int offset_ = kBelow;
};

class SignCell : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool showNeg READ showNeg)
public:
    SignCell(const QString& objectName, QWidget* parent);
    bool showNeg() const { return shown_; }
    void setShowNeg(bool shown);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool shown_ = false;
};
