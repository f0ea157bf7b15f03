// artgen: paints all of the program's pictures into a folder.
//
//   artgen OUTDIR                 write every picture into OUTDIR
//   artgen --list                 print name, file, size and where the size comes from
//   artgen --check DIR            check that DIR holds every picture, readable, at its size
//   artgen --sheet SHEET.png DIR  render a contact sheet of the pictures found in DIR
//
// Everything is drawn with QPainter from code, so a re-run gives the same files.

#include "catalogue.h"

#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

namespace {

int usage() {
    std::fputs("usage: artgen OUTDIR | artgen --list | artgen --check DIR | artgen --sheet SHEET.png DIR\n",
               stderr);
    return 2;
}

bool haveDrawingFont() {
    // All lettering is DejaVu Sans Bold; another font would silently change every picture.
    const QStringList fams = QFontDatabase::families();
    return fams.contains(QStringLiteral("DejaVu Sans"));
}

int listCatalogue(const Catalogue& c) {
    QTextStream out(stdout);
    for (const Picture& p : c)
        out << p.name << '\t' << p.file << '\t' << p.size.width() << 'x' << p.size.height() << '\t'
            << (p.sizeChosen ? "chosen: " : "") << p.sizeReason << '\n';
    return 0;
}

int checkAll(const Catalogue& c, const QString& dir) {
    int problems = 0;
    for (const Picture& p : c) {
        const QImage img(QDir(dir).filePath(p.file));
        if (img.isNull()) {
            std::fprintf(stderr, "artgen: %s is missing or unreadable\n", qPrintable(p.file));
            ++problems;
        } else if (img.size() != p.size) {
            std::fprintf(stderr, "artgen: %s is %dx%d, expected %dx%d\n", qPrintable(p.file), img.width(),
                         img.height(), p.size.width(), p.size.height());
            ++problems;
        }
    }
    if (!problems)
        std::printf("artgen: all %d pictures present at their sizes\n", int(c.size()));
    return problems ? 1 : 0;
}

int writeAll(const Catalogue& c, const QString& outDir) {
    if (!QDir().mkpath(outDir)) {
        std::fprintf(stderr, "artgen: cannot make folder %s\n", qPrintable(outDir));
        return 1;
    }
    int failures = 0;
    for (const Picture& p : c) {
        const QImage img = p.paint(p.size);
        if (img.size() != p.size) {
            std::fprintf(stderr, "artgen: %s painted at %dx%d instead of %dx%d\n", qPrintable(p.name),
                         img.width(), img.height(), p.size.width(), p.size.height());
            ++failures;
            continue;
        }
        const QString path = QDir(outDir).filePath(p.file);
        if (!savePicture(img, path)) {
            std::fprintf(stderr, "artgen: cannot write %s\n", qPrintable(path));
            ++failures;
        }
    }
    std::printf("artgen: %d pictures written to %s\n", int(c.size()) - failures, qPrintable(outDir));
    return failures ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    // No window is ever shown; the offscreen platform works without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();

    if (!haveDrawingFont()) {
        std::fputs("artgen: the font \"DejaVu Sans\" is missing (Debian: fonts-dejavu-core)\n", stderr);
        return 1;
    }
    const Catalogue cat = fullCatalogue();

    if (args.first() == QLatin1String("--list"))
        return listCatalogue(cat);
    if (args.first() == QLatin1String("--check"))
        return args.size() == 2 ? checkAll(cat, args.at(1)) : usage();
    if (args.first() == QLatin1String("--sheet")) {
        if (args.size() != 3)
            return usage();
        return renderContactSheet(cat, args.at(2), args.at(1)) ? 0 : 1;
    }
    if (args.size() != 1 || args.first().startsWith(QLatin1Char('-')))
        return usage();
    return writeAll(cat, args.first());
}
