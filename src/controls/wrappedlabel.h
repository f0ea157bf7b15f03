#pragma once

// A multi-line label that wraps at word boundaries and, for a word longer than the line (a file
// path, say), anywhere inside it, so that no text runs off to the side. lineCount gives the number of
// lines the same text takes at a width, for windows that size themselves by it.

#include <QColor>
#include <QWidget>

class WrappedLabel : public QWidget {
    Q_OBJECT
public:
    explicit WrappedLabel(const QString& objectName, QWidget* parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString& text);
    void setColour(const QColor& colour);

    // Lines of the text at this width in this font; an empty text and a text ending in a line break
    // count their empty last line.
    static int lineCount(const QString& text, const QFont& font, int width);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    QColor colour_ = Qt::black;
};
