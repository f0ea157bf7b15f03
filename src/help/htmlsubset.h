#pragma once

// The reader of the help pages' small HTML subset, for printing: a page becomes plain text with line
// breaks, the runs of its styles (bold, italic, headings, faces, sizes, colours, links), its named
// anchors, its three colours and its title. Reading is a pure function of the page and the base text
// size, so that it can be tested and fuzzed without a window; applying the runs needs only a
// QTextDocument.
//
// Positions count UTF-16 units of the final text from 0; a line break (CR or LF) is one position.
// Every run is written "start<TAB>end[<TAB>value]", an anchor "offset<TAB>name".

#include <QColor>
#include <QString>
#include <QStringList>

class QTextDocument;
class QTextCharFormat;

namespace HtmlSubset {

struct Rendered {
    QString text; // CR (13) and LF (10) are line breaks
    QString title;
    QStringList bolds, italics, headers, fonts, colors, sizes, links, anchors;
    bool bodyHandled = false;
    QColor linkColor{0, 0, 255};
    QColor background{255, 255, 255};
    QColor textColor{0, 0, 0};

    bool operator==(const Rendered&) const = default;
};

// The whole reading of a page. Any text ends in bounded time: a page of thousands of nested or
// unclosed elements keeps all its text but not every run.
Rendered render(const QString& page, int baseSize);

// How deep the page's elements nest: elements opened and not yet closed, counted tag by tag.
// Elements that hold nothing (br, img...) or end where the next one of their kind begins (p, li, td...)
// are not counted, nor comments and declarations. Counting stops once it passes stopAbove.
int nestingDepth(const QString& page, int stopAbove);

// The 64 named references in their order, "&amp;" last, letter case exact; nothing else.
QString replaceEntities(const QString& text);
// "#RRGGBB": the first character is dropped unseen; red, green and the last two characters' blue are
// read from their leading hexadecimal digits.
QColor colorFromHex(const QString& value);
QString hexFromColor(const QColor& colour);
// "-n" and "+n" relative to the base size, anything else the number itself, in points; saturates.
int getSizeFromParam(const QString& value, int baseSize);
// Every run of blanks (32) becomes one blank.
QString removeExcessSpace(const QString& text);
// The text without its tags; a "<" with no ">" after it stays as text with what follows.
QString stripHTML(const QString& text);
// The text without its leading characters that occur in chars.
QString lTrim(const QString& text, const QString& chars);
// The text between the first "<title>" and the first "</title>" after it; empty without both.
QString getTitle(const QString& page);

// The text as a document holds it: each CR and each LF one block separator.
void setText(QTextDocument* document, const QString& text, const QTextCharFormat& base);
// Applies the runs to a document holding the rendered text, in the order bolds, italics, headers,
// fonts, sizes, colors, links. Runs are clipped to the text; empty ones are skipped; sizes below 1
// point are not applied and sizes over 144 are applied as 144.
void applyRuns(QTextDocument* document, const Rendered& rendered);

} // namespace HtmlSubset
