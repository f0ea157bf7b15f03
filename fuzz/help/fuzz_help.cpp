// Any text read as a help page: the reading ends, a second reading gives the same text and runs,
// every run lies within the text, and the runs apply to a document without harm.

#include "help/htmlsubset.h"

#include <QGuiApplication>
#include <QTextCharFormat>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

namespace {

bool withinText(const QStringList& runs, qsizetype length, bool twoPositions) {
    for (const QString& run : runs) {
        const QStringList fields = run.split(QLatin1Char('\t'));
        if (fields.size() < 2)
            return false;
        const qlonglong start = fields[0].toLongLong();
        if (start < 0 || start > length)
            return false;
        if (twoPositions) {
            const qlonglong end = fields[1].toLongLong();
            if (end < start || end > length)
                return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString page = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const HtmlSubset::Rendered first = HtmlSubset::render(page, 12);
    if (!(HtmlSubset::render(page, 12) == first))
        std::abort();
    const qsizetype length = first.text.size();
    for (const QStringList* runs : {&first.bolds, &first.italics, &first.headers, &first.fonts, &first.colors,
                                    &first.sizes, &first.links})
        if (!withinText(*runs, length, true))
            std::abort();
    if (!withinText(first.anchors, length, false))
        std::abort();

    QTextDocument document;
    HtmlSubset::setText(&document, first.text, QTextCharFormat());
    if (document.characterCount() - 1 != length)
        std::abort();
    HtmlSubset::applyRuns(&document, first);
    return 0;
}
