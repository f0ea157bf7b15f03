#include "wrappedlabel.h"

#include <QPainter>
#include <QTextLayout>

namespace {

// Lays out every paragraph of the text at the width; calls draw for each laid-out paragraph with
// the top it starts at, and returns the total number of lines.
template <typename Draw> int layOut(const QString& text, const QFont& font, int width, Draw draw) {
    const QFontMetrics fm(font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QString normalised = text;
    normalised.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    int lines = 0;
    qreal top = 0;
    for (const QString& paragraph : normalised.split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font);
        layout.setTextOption(option);
        layout.beginLayout();
        int inParagraph = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, inParagraph * fm.lineSpacing()));
            ++inParagraph;
        }
        layout.endLayout();
        inParagraph = qMax(inParagraph, 1); // an empty paragraph still takes its line
        draw(layout, top);
        lines += inParagraph;
        top += inParagraph * fm.lineSpacing();
    }
    return lines;
}

} // namespace

WrappedLabel::WrappedLabel(const QString& objectName, QWidget* parent) : QWidget(parent) {
    setObjectName(objectName);
    setFocusPolicy(Qt::NoFocus);
}

void WrappedLabel::setText(const QString& text) {
    text_ = text;
    update();
}

void WrappedLabel::setColour(const QColor& colour) {
    colour_ = colour;
    update();
}

int WrappedLabel::lineCount(const QString& text, const QFont& font, int width) {
    return layOut(text, font, width, [](const QTextLayout&, qreal) {});
}

void WrappedLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(colour_);
    p.setFont(font());
    layOut(text_, font(), width(),
           [&p](const QTextLayout& layout, qreal top) { layout.draw(&p, QPointF(0, top)); });
}
