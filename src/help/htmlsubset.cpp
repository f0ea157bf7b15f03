#include "htmlsubset.h"

#include <QHash>
#include <QSet>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace HtmlSubset {
namespace {

constexpr QChar kCR(13);
constexpr QChar kLF(10);
constexpr QChar kTab(9);
constexpr QChar kLessThan(0);    // an escaped "<" while tags are read
constexpr QChar kGreaterThan(1); // an escaped ">"
constexpr int kLargestSize = 144;
// Characters the tag pass may look at beyond one reading of the page (a few tens of milliseconds):
// the program's pages need a small part of it, a page of thousands of nested elements all of it.
constexpr qint64 kWorkBudget = 40'000'000;

struct Entity {
    const char* reference;
    char16_t character;
};

// clang-format off
constexpr Entity kEntities[] = {
    {"&copy;", 0x00A9}, {"&reg;", 0x00AE}, {"&cent;", 0x00A2}, {"&yen;", 0x00A5}, {"&pound;", 0x00A3},
    {"&euro;", 0x20AC}, {"&trade;", 0x2122}, {"&quot;", 0x0022}, {"&deg;", 0x00B0}, {"&nbsp;", 0x00A0},
    {"&Agrave;", 0x00C0}, {"&Aacute;", 0x00C1}, {"&Acirc;", 0x00C2}, {"&Atilde;", 0x00C3}, {"&Auml;", 0x00C4},
    {"&Aring;", 0x00C5}, {"&agrave;", 0x00E0}, {"&aacute;", 0x00E1}, {"&acirc;", 0x00E2}, {"&atilde;", 0x00E3},
    {"&auml;", 0x00E4}, {"&aring;", 0x00E5}, {"&Ccedil;", 0x00C7}, {"&ccedil;", 0x00E7}, {"&Egrave;", 0x00C8},
    {"&Eacute;", 0x00C9}, {"&Ecirc;", 0x00CA}, {"&Euml;", 0x00CB}, {"&egrave;", 0x00E8}, {"&eacute;", 0x00E9},
    {"&ecirc;", 0x00EA}, {"&euml;", 0x00EB}, {"&Igrave;", 0x00CC}, {"&Iacute;", 0x00CD}, {"&Icirc;", 0x00CE},
    {"&Iuml;", 0x00CF}, {"&igrave;", 0x00EC}, {"&iacute;", 0x00ED}, {"&icirc;", 0x00EE}, {"&iuml;", 0x00EF},
    {"&Ntilde;", 0x00D1}, {"&ntilde;", 0x00F1}, {"&Ograve;", 0x00D2}, {"&Oacute;", 0x00D3}, {"&Ocirc;", 0x00D4},
    {"&Otilde;", 0x00D5}, {"&Ouml;", 0x00D6}, {"&ograve;", 0x00F2}, {"&oacute;", 0x00F3}, {"&ocirc;", 0x00F4},
    {"&otilde;", 0x00F5}, {"&ouml;", 0x00F6}, {"&Ugrave;", 0x00D9}, {"&Uacute;", 0x00DA}, {"&Ucirc;", 0x00DB},
    {"&Uuml;", 0x00DC}, {"&ugrave;", 0x00F9}, {"&uacute;", 0x00FA}, {"&ucirc;", 0x00FB}, {"&uuml;", 0x00FC},
    {"&Yuml;", 0x0178}, {"&yuml;", 0x00FF}, {"&szlig;", 0x00DF}, {"&amp;", 0x0026}};
// clang-format on
static_assert(std::size(kEntities) == 64);

// A line break in front of every occurrence of the text, letter case ignored; the text stays.
void breakBefore(QString& page, QLatin1String text) {
    QString out;
    out.reserve(page.size() + 16);
    qsizetype from = 0;
    for (qsizetype at; (at = page.indexOf(text, from, Qt::CaseInsensitive)) >= 0; from = at + text.size()) {
        out += QStringView(page).mid(from, at - from);
        out += kCR;
        out += QStringView(page).mid(at, text.size());
    }
    out += QStringView(page).mid(from);
    page = out;
}

QString range(qsizetype start, qsizetype end) {
    return QString::number(start) + kTab + QString::number(end);
}

// The leading decimal number of a text ("12px" 12, "1.5" 1.5, nothing readable 0).
double leadingNumber(QStringView text) {
    qsizetype n = 0;
    bool dot = false;
    while (n < text.size() && (text[n].isDigit() || (text[n] == QLatin1Char('.') && !dot))) {
        dot = dot || text[n] == QLatin1Char('.');
        ++n;
    }
    bool ok = false;
    const double value = text.left(n).toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

int hexPair(QStringView pair) {
    int value = 0;
    for (QChar c : pair) {
        const char16_t u = c.toLower().unicode();
        int digit = -1;
        if (u >= '0' && u <= '9')
            digit = u - '0';
        else if (u >= 'a' && u <= 'f')
            digit = u - 'a' + 10;
        if (digit < 0)
            break;
        value = value * 16 + digit;
    }
    return value;
}

// Moves every recorded position back by the line feeds cut from the front of the text, and keeps it
// within the text: a "<" that a run counted as text can still be read as a tag's start later.
void shift(QStringList& runs, qsizetype by, int positions, qsizetype length) {
    for (QString& run : runs) {
        QStringList fields = run.split(kTab);
        for (int i = 0; i < positions && i < fields.size(); ++i)
            fields[i] = QString::number(qBound<qsizetype>(0, fields[i].toLongLong() - by, length));
        run = fields.join(kTab);
    }
}

constexpr QLatin1String kTitleOpen("<title>");
constexpr QLatin1String kTitleClose("</title>");

// Where the first "<title>" and the first "</title>" after it begin, letter case ignored; both -1
// unless both are there.
std::pair<qsizetype, qsizetype> titleElement(const QString& page) {
    const qsizetype open = page.indexOf(kTitleOpen, 0, Qt::CaseInsensitive);
    const qsizetype close =
        open < 0 ? -1 : page.indexOf(kTitleClose, open + kTitleOpen.size(), Qt::CaseInsensitive);
    if (close < 0)
        return {-1, -1};
    return {open, close};
}

} // namespace

QString replaceEntities(const QString& text) {
    QString out = text;
    if (!out.contains(QLatin1Char('&')))
        return out;
    for (const Entity& e : kEntities)
        out.replace(QLatin1String(e.reference), QString(QChar(e.character)), Qt::CaseSensitive);
    return out;
}

QColor colorFromHex(const QString& value) {
    const QStringView rest = QStringView(value).mid(1);
    return QColor(hexPair(rest.left(2)), hexPair(rest.mid(2, 2)), hexPair(rest.right(2)));
}

QString hexFromColor(const QColor& colour) {
    return QStringLiteral("#%1%2%3")
        .arg(colour.red(), 2, 16, QLatin1Char('0'))
        .arg(colour.green(), 2, 16, QLatin1Char('0'))
        .arg(colour.blue(), 2, 16, QLatin1Char('0'))
        .toUpper();
}

int getSizeFromParam(const QString& value, int baseSize) {
    double size;
    if (value.startsWith(QLatin1Char('-')))
        size = baseSize - leadingNumber(QStringView(value).mid(1));
    else if (value.startsWith(QLatin1Char('+')))
        size = baseSize + leadingNumber(QStringView(value).mid(1));
    else
        size = leadingNumber(value);
    constexpr double lowest = std::numeric_limits<int>::min();
    constexpr double highest = std::numeric_limits<int>::max();
    return static_cast<int>(std::round(std::clamp(size, lowest, highest)));
}

QString removeExcessSpace(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char(' ') && i > 0 && text[i - 1] == QLatin1Char(' '))
            continue;
        out += text[i];
    }
    return out;
}

// Calls part(view) on each stretch of the text outside its tags, in order; a "<" with no ">" after it
// begins the last stretch.
template <typename Part> static void forEachUntagged(QStringView text, Part part) {
    qsizetype from = 0;
    while (from < text.size()) {
        const qsizetype open = text.indexOf(QLatin1Char('<'), from);
        const qsizetype close = open < 0 ? -1 : text.indexOf(QLatin1Char('>'), open);
        if (close < 0)
            break;
        part(text.mid(from, open - from));
        from = close + 1;
    }
    part(text.mid(from));
}

QString stripHTML(const QString& text) {
    QString out;
    out.reserve(text.size());
    forEachUntagged(text, [&out](QStringView part) { out += part; });
    return out;
}

// The length of stripHTML(text), without making it.
static qsizetype strippedLength(QStringView text) {
    qsizetype length = 0;
    forEachUntagged(text, [&length](QStringView part) { length += part.size(); });
    return length;
}

QString lTrim(const QString& text, const QString& chars) {
    qsizetype n = 0;
    while (n < text.size() && chars.contains(text[n]))
        ++n;
    return text.mid(n);
}

QString getTitle(const QString& page) {
    const auto [open, close] = titleElement(page);
    const qsizetype start = open + kTitleOpen.size();
    return open < 0 ? QString() : page.mid(start, close - start);
}

Rendered render(const QString& html, int baseSize) {
    Rendered r;
    QString page = html;
    // The two placeholders below must stand for escaped brackets only.
    page.remove(kLessThan);
    page.remove(kGreaterThan);
    page.remove(kCR);

    page.replace(QLatin1String("<br>"), QString(kCR), Qt::CaseInsensitive);
    breakBefore(page, QLatin1String("<p"));
    breakBefore(page, QLatin1String("</p"));
    for (const char* tag : {"<ul>", "</ul>", "</lh>", "<dl>", "</dt>", "</dd>"})
        page.replace(QLatin1String(tag), QString(kCR), Qt::CaseInsensitive);
    for (const char* level : {"1", "2", "3"}) {
        breakBefore(page, QLatin1String(QByteArray("<h") + level));
        breakBefore(page, QLatin1String(QByteArray("</h") + level));
    }
    page = removeExcessSpace(page);
    page.replace(QLatin1String("<li>"), QString(kCR) + QStringLiteral("   \u2022 "), Qt::CaseInsensitive);
    page = replaceEntities(page);

    // Only a whole title element is titled and cut; anything else leaves the page as it is.
    if (const auto [open, close] = titleElement(page); open >= 0) {
        const qsizetype start = open + kTitleOpen.size();
        r.title = page.mid(start, close - start);
        page.remove(open, close + kTitleClose.size() - open);
    }
    page.replace(QLatin1String("&lt;"), QString(kLessThan), Qt::CaseInsensitive);
    page.replace(QLatin1String("&gt;"), QString(kGreaterThan), Qt::CaseInsensitive);

    // The tag pass. Everything in front of the tag being read is final text, free of tags: it goes to
    // `out` once and is never touched again, and the page from that tag on is `rest` from `at` on. A "<"
    // without a ">" after it ends the pass and stays as text.
    //
    // An element's closing tag is looked for ahead, and its content measured, so that a page of many
    // nested or unclosed elements costs time in the square of its length. `work` counts the characters
    // looked at beyond one reading of the page; past kWorkBudget the remaining tags are only taken
    // out (an image still gives its marker) and record no more runs, so that any page ends in time.
    QString out;
    out.reserve(page.size());
    QString rest = page;
    qsizetype at = 0;
    qint64 work = 0;
    // Closing tags known to be missing from the rest of the page, by tag name, with the number of
    // closing tags removed when that was found: only a removal can join text into a new one.
    QHash<QString, qint64> noClosing;
    qint64 removals = 0;
    for (;;) {
        const qsizetype lt = rest.indexOf(QLatin1Char('<'), at);
        const qsizetype q = lt < 0 ? -1 : rest.indexOf(QLatin1Char('>'), lt);
        if (q < 0)
            break;
        out += QStringView(rest).mid(at, lt - at);
        const QString tagText = rest.mid(lt + 1, q - lt - 1);
        at = q + 1;
        const qsizetype p = out.size();

        const QStringList fields = tagText.split(QLatin1Char(' '));
        const QString name = fields.first().toLower();
        QHash<QString, QString> attributes;
        for (qsizetype f = 1; f < fields.size(); ++f) {
            if (fields[f].isEmpty())
                continue;
            const qsizetype eq = fields[f].indexOf(QLatin1Char('='));
            QString value = eq < 0 ? QString() : fields[f].mid(eq + 1);
            value.remove(QLatin1Char('"'));
            attributes.insert((eq < 0 ? fields[f] : fields[f].left(eq)).toLower(), value);
        }

        if (name == QLatin1String("img") || name == QLatin1String("image")) {
            const QString marker =
                attributes.contains(QStringLiteral("alt"))
                    ? QStringLiteral("[IMAGE: ") + attributes.value(QStringLiteral("alt")) + QLatin1Char(']')
                    : QStringLiteral("[IMAGE]");
            out += marker; // the marker is text, never a tag
            if (attributes.contains(QStringLiteral("src")))
                r.links << range(p, p + marker.size()) + kTab + attributes.value(QStringLiteral("src"));
            continue;
        }
        if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || work > kWorkBudget)
            continue;
        if (const auto known = noClosing.constFind(name); known != noClosing.cend() && *known == removals)
            continue;

        // The closing tag is found by its beginning; one without ">" counts as missing.
        const QString closing = QStringLiteral("</") + name;
        const qsizetype e0 = rest.indexOf(closing, at, Qt::CaseInsensitive);
        const qsizetype closeEnd = e0 < 0 ? -1 : rest.indexOf(QLatin1Char('>'), e0);
        work += (closeEnd < 0 ? rest.size() : closeEnd) - at;
        if (closeEnd < 0) {
            noClosing.insert(name, removals);
            continue;
        }
        const qsizetype start = p;
        const qsizetype end = p + strippedLength(QStringView(rest).mid(at, e0 - at));
        // The content stays with its tags, which later rounds read; the closing tag goes.
        rest.remove(e0, closeEnd - e0 + 1);
        ++removals;
        work += 2 * (e0 - at) + (rest.size() - e0);

        const QString run = range(start, end);
        if (name == QLatin1String("body")) {
            const auto colour = [&](const char* key, QColor fallback) {
                const QString k = QString::fromLatin1(key);
                return attributes.contains(k) ? colorFromHex(attributes.value(k)) : fallback;
            };
            r.linkColor = colour("link", QColor(0, 0, 255));
            r.background = colour("bgcolor", QColor(255, 255, 255));
            r.textColor = colour("text", QColor(0, 0, 0));
            r.bodyHandled = true;
        } else if (name == QLatin1String("b")) {
            r.bolds << run;
        } else if (name == QLatin1String("i")) {
            r.italics << run;
        } else if (name == QLatin1String("small")) {
            r.sizes << run + kTab + QStringLiteral("10");
        } else if (name == QLatin1String("h1") || name == QLatin1String("h2") ||
                   name == QLatin1String("h3")) {
            r.headers << run + kTab + name.back();
        } else if (name == QLatin1String("font")) {
            if (attributes.contains(QStringLiteral("face")))
                r.fonts << run + kTab + attributes.value(QStringLiteral("face"));
            if (attributes.contains(QStringLiteral("size")))
                r.sizes << run + kTab +
                               QString::number(
                                   getSizeFromParam(attributes.value(QStringLiteral("size")), baseSize));
            if (attributes.contains(QStringLiteral("color")))
                r.colors << run + kTab + attributes.value(QStringLiteral("color"));
        } else if (name == QLatin1String("a")) {
            if (attributes.contains(QStringLiteral("href")))
                r.links << run + kTab + attributes.value(QStringLiteral("href"));
            if (attributes.contains(QStringLiteral("name")))
                r.anchors << QString::number(start) + kTab + attributes.value(QStringLiteral("name"));
        }
    }

    out += QStringView(rest).mid(at);
    page = out;

    page.replace(kLessThan, QLatin1Char('<'));
    page.replace(kGreaterThan, QLatin1Char('>'));
    // Pages begin with "<html>" and a line feed; the runs were counted with the line feeds in front.
    const QString trimmed = lTrim(page, QString(kLF));
    const qsizetype cut = page.size() - trimmed.size();
    for (QStringList* runs : {&r.bolds, &r.italics, &r.headers, &r.fonts, &r.colors, &r.sizes, &r.links})
        shift(*runs, cut, 2, trimmed.size());
    shift(r.anchors, cut, 1, trimmed.size());
    r.text = trimmed;
    return r;
}

int nestingDepth(const QString& page, int stopAbove) {
    static const QSet<QString> notNesting{
        // Elements without content.
        "area", "base", "br", "col", "embed", "hr", "img", "image", "input", "link", "meta", "param",
        "source", "track", "wbr",
        // Elements that the next of their kind (or their parent's end) closes.
        "p", "li", "dt", "dd", "tr", "td", "th", "option"};
    QHash<QString, int> open;
    int depth = 0;
    int deepest = 0;
    qsizetype i = 0;
    while ((i = page.indexOf(QLatin1Char('<'), i)) >= 0) {
        if (QStringView(page).mid(i, 4) == QLatin1String("<!--")) {
            const qsizetype end = page.indexOf(QLatin1String("-->"), i + 4);
            if (end < 0)
                break;
            i = end + 3;
            continue;
        }
        const qsizetype close = page.indexOf(QLatin1Char('>'), i);
        if (close < 0)
            break;
        QStringView tag = QStringView(page).mid(i + 1, close - i - 1);
        i = close + 1;
        if (tag.startsWith(QLatin1Char('!')) || tag.startsWith(QLatin1Char('?')) ||
            tag.endsWith(QLatin1Char('/')))
            continue;
        const bool closing = tag.startsWith(QLatin1Char('/'));
        if (closing)
            tag = tag.mid(1);
        qsizetype length = 0;
        while (length < tag.size() && !tag[length].isSpace() && tag[length] != QLatin1Char('/'))
            ++length;
        const QString name = tag.left(length).toString().toLower();
        if (name.isEmpty() || notNesting.contains(name))
            continue;
        int& count = open[name];
        if (closing) {
            if (count > 0) {
                --count;
                --depth;
            }
            continue;
        }
        ++count;
        deepest = std::max(deepest, ++depth);
        if (deepest > stopAbove)
            break;
    }
    return deepest;
}

void setText(QTextDocument* document, const QString& text, const QTextCharFormat& base) {
    QString blocks = text;
    blocks.replace(kCR, QChar::ParagraphSeparator);
    blocks.replace(kLF, QChar::ParagraphSeparator);
    document->clear();
    QTextCursor cursor(document);
    cursor.setCharFormat(base);
    cursor.insertText(blocks, base);
}

void applyRuns(QTextDocument* document, const Rendered& rendered) {
    const qsizetype length = rendered.text.size();
    const auto apply = [&](const QStringList& runs, const auto& change) {
        for (const QString& run : runs) {
            const QStringList fields = run.split(kTab);
            if (fields.size() < 2)
                continue;
            const qsizetype start = qBound<qsizetype>(0, fields[0].toLongLong(), length);
            const qsizetype end = qBound<qsizetype>(0, fields[1].toLongLong(), length);
            if (end <= start)
                continue;
            QTextCharFormat format;
            if (!change(format, fields.size() > 2 ? fields[2] : QString()))
                continue;
            QTextCursor cursor(document);
            cursor.setPosition(static_cast<int>(start));
            cursor.setPosition(static_cast<int>(end), QTextCursor::KeepAnchor);
            cursor.mergeCharFormat(format);
        }
    };
    apply(rendered.bolds, [](QTextCharFormat& f, const QString&) {
        f.setFontWeight(QFont::Bold);
        return true;
    });
    apply(rendered.italics, [](QTextCharFormat& f, const QString&) {
        f.setFontItalic(true);
        return true;
    });
    apply(rendered.headers, [](QTextCharFormat& f, const QString& level) {
        f.setFontWeight(QFont::Bold);
        if (level == QLatin1String("1"))
            f.setFontPointSize(24);
        else if (level == QLatin1String("2"))
            f.setFontPointSize(18);
        else if (level == QLatin1String("3"))
            f.setFontPointSize(16);
        return true;
    });
    apply(rendered.fonts, [](QTextCharFormat& f, const QString& face) {
        f.setFontFamilies({face});
        return true;
    });
    apply(rendered.sizes, [](QTextCharFormat& f, const QString& points) {
        const qlonglong size = points.toLongLong();
        if (size < 1)
            return false;
        f.setFontPointSize(static_cast<qreal>(qMin<qlonglong>(size, kLargestSize)));
        return true;
    });
    apply(rendered.colors, [](QTextCharFormat& f, const QString& value) {
        f.setForeground(colorFromHex(value));
        return true;
    });
    apply(rendered.links, [&](QTextCharFormat& f, const QString&) {
        f.setForeground(rendered.linkColor);
        f.setFontUnderline(true);
        return true;
    });
}

} // namespace HtmlSubset
