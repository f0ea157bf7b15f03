#pragma once

// A label that behaves like a link in a web page: blue and underlined, magenta with a pointing hand
// while the pointer is over it, red while pressed. A release inside it opens its address (or, without
// one, its own text) in the system's program for web addresses.

#include <QLabel>
#include <QUrl>

#include <functional>

class StaticURL : public QLabel {
    Q_OBJECT
public:
    using Opener = std::function<void(const QUrl&)>;

    explicit StaticURL(QWidget* parent = nullptr);
    explicit StaticURL(const QString& text, QWidget* parent = nullptr);

    // The address to open; empty opens the label's text.
    QString URL;

    QColor textColor() const;

    // Replaces what opens an address (tests record it instead of starting a browser); an empty
    // opener puts the system's back.
    static void setOpener(Opener opener);

    static const QColor& linkBlue();
    static const QColor& hoverMagenta();
    static const QColor& pressedRed();

signals:
    // After the label has taken its link look, when it is first shown.
    void Open();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void setTextColor(const QColor& color);
    bool opened = false;
};
