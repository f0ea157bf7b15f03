#pragma once

// A styled text field that reads a help page of our HTML subset (see htmlsubset.h): the printable form
// of a help topic. Its links are live: a caret inside a "#name" link scrolls to that anchor, inside any
// other link it raises LinkClicked.

#include "htmlsubset.h"

#include <QTextEdit>

class HTMLField : public QTextEdit {
    Q_OBJECT
public:
    explicit HTMLField(QWidget* parent = nullptr);

    // Replaces text, styles, colours and runs by those of the page; raises GotTitle once.
    void Render(const QString& html);
    // Empties the text and every run.
    void ClearAll();
    // Raises GotTitle with the page's title (empty without a whole title element).
    void GetTitle(const QString& html) { emit GotTitle(HtmlSubset::getTitle(html)); }

    const QStringList& bolds() const { return r_.bolds; }
    const QStringList& italics() const { return r_.italics; }
    const QStringList& headers() const { return r_.headers; }
    const QStringList& fonts() const { return r_.fonts; }
    const QStringList& colors() const { return r_.colors; }
    const QStringList& sizes() const { return r_.sizes; }
    const QStringList& links() const { return r_.links; }
    const QStringList& anchors() const { return r_.anchors; }
    QColor linkColor() const { return linkColor_; }
    bool nowRendering() const { return nowRendering_; }
    // The base text size in points, from which relative font sizes count.
    int textSize() const;

    static QColor ColorFromHex(const QString& value) { return HtmlSubset::colorFromHex(value); }
    static QString HexFromColor(const QColor& colour) { return HtmlSubset::hexFromColor(colour); }
    int GetSizeFromParam(const QString& value) const {
        return HtmlSubset::getSizeFromParam(value, textSize());
    }
    static QString RemoveExcessSpace(const QString& text) { return HtmlSubset::removeExcessSpace(text); }
    static QString StripHTML(const QString& text) { return HtmlSubset::stripHTML(text); }
    static QString LTrim(const QString& text, const QString& chars) { return HtmlSubset::lTrim(text, chars); }
    static QString ReplaceEntities(const QString& text) { return HtmlSubset::replaceEntities(text); }

signals:
    void GotTitle(const QString& title);
    void LinkClicked(const QString& href);
    void Open();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void DoStyles();
    void Event_SelChange();
    void scrollToPosition(int position);

    HtmlSubset::Rendered r_;
    QColor linkColor_{0, 0, 0};
    bool nowRendering_ = false;
    bool opened_ = false;
};
