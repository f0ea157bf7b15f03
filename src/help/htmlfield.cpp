#include "htmlfield.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

HTMLField::HTMLField(QWidget* parent) : QTextEdit(parent) {
    connect(this, &QTextEdit::cursorPositionChanged, this, &HTMLField::Event_SelChange);
}

void HTMLField::showEvent(QShowEvent* event) {
    QTextEdit::showEvent(event);
    if (opened_)
        return;
    opened_ = true;
    nowRendering_ = false;
    emit Open();
}

int HTMLField::textSize() const {
    const int points = font().pointSize();
    return points > 0 ? points : 12;
}

void HTMLField::ClearAll() {
    r_.bolds.clear();
    r_.italics.clear();
    r_.headers.clear();
    r_.fonts.clear();
    r_.colors.clear();
    r_.sizes.clear();
    r_.links.clear();
    r_.anchors.clear();
    r_.text.clear();
    document()->clear();
}

void HTMLField::Render(const QString& html) {
    // Nothing is drawn while the text is rebuilt and styled; no link acts on the moves made meanwhile.
    nowRendering_ = true;
    const bool updates = updatesEnabled();
    setUpdatesEnabled(false);
    ClearAll();
    r_ = HtmlSubset::render(html, textSize());
    emit GotTitle(r_.title);
    linkColor_ = r_.linkColor;
    QPalette colours = palette();
    colours.setColor(QPalette::Base, r_.background);
    colours.setColor(QPalette::Text, r_.textColor);
    setPalette(colours);

    QTextCharFormat base;
    base.setFont(font());
    base.setFontPointSize(textSize());
    base.setForeground(r_.textColor);
    HtmlSubset::setText(document(), r_.text, base);
    document()->setMetaInformation(QTextDocument::DocumentTitle, r_.title);
    DoStyles();

    verticalScrollBar()->setValue(0);
    QTextCursor caret(document());
    caret.setPosition(0);
    setTextCursor(caret);
    setUpdatesEnabled(updates);
    nowRendering_ = false;
}

void HTMLField::DoStyles() {
    HtmlSubset::applyRuns(document(), r_);
}

void HTMLField::scrollToPosition(int position) {
    const QTextBlock block = document()->findBlock(position);
    if (!block.isValid())
        return;
    qreal top = document()->documentLayout()->blockBoundingRect(block).top();
    if (const QTextLayout* layout = block.layout()) {
        const QTextLine line = layout->lineForTextPosition(position - block.position());
        if (line.isValid())
            top += line.y();
    }
    // The line at the top, below the document's own margin.
    verticalScrollBar()->setValue(qMax(0, static_cast<int>(top - document()->documentMargin())));
}

void HTMLField::Event_SelChange() {
    const qsizetype caret = textCursor().selectionStart();
    for (const QString& link : r_.links) {
        const QStringList fields = link.split(QLatin1Char('\t'));
        if (fields.size() < 3)
            continue;
        if (caret < fields[0].toLongLong() || caret > fields[1].toLongLong())
            continue;
        const QString target = fields.mid(2).join(QLatin1Char('\t'));
        if (target.startsWith(QLatin1Char('#'))) {
            for (const QString& anchor : r_.anchors) {
                const qsizetype tab = anchor.indexOf(QLatin1Char('\t'));
                if (QString(QLatin1Char('#') + anchor.mid(tab + 1)).compare(target, Qt::CaseInsensitive) == 0)
                    scrollToPosition(anchor.left(tab).toInt());
            }
        } else if (!nowRendering_) {
            emit LinkClicked(target);
        }
    }
}
