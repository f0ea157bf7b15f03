#pragma once

// The picture push button of almost every window: one of five button faces stretched over the whole
// control, a centred caption with a one-pixel shadow, and a 4-pixel shift right and down while it is
// pressed. The holding window sets caption and kind with setCaption, and handles MouseUp: it calls
// hndlMouseUp first and then performs the action, wherever the pointer was released.

#include <QWidget>

#include <cstdint>

class newCnvBtn : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString myCaption READ myCaption WRITE setMyCaption)
public:
    explicit newCnvBtn(QWidget* parent = nullptr);

    // Setting the caption does not redraw; a window relabelling a shown button calls update().
    QString myCaption() const { return mMycaption; }
    void setMyCaption(const QString& caption) { mMycaption = caption; }

    // Caption and kind: 0 cancel-like, 1 the main action, 2 and 3 the student's own screens, 4 leaving
    // a screen. Does not redraw.
    void setCaption(const QString& caption, std::uint8_t kind);
    std::uint8_t kind() const { return myType; }

    // Ends the pressed look. Safe to call when the button is not pressed.
    void hndlMouseUp();
    bool isPressed() const { return isDepr; }

    // The caption's pixel size for a button width, and its baseline for a height and font ascent.
    static int getSize(int width);
    static int getHgt(int height, int ascent);

signals:
    // Raised once, before the button is first shown: the window sets caption and kind here.
    void Open();
    // The release of a press on the button, wherever the pointer is; x and y are in the button.
    void MouseUp(int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QString mMycaption;
    std::uint8_t myType = 0;
    bool isDepr = false;
    bool opened = false;
};
