#include "printsettings.h"

#include "app/printdialogs.h"
#include "data/globals.h"
#include "data/seams.h"

#include <QFileInfo>
#include <QIcon>
#include <QLocale>
#include <QPageSize>
#include <QPrinter>
#include <QWidget>

namespace myGlobals {
namespace {

QString number(qreal v) {
    return QLocale::c().toString(v, 'g', 10);
}

bool toNumber(const QString& text, qreal& out) {
    bool ok = false;
    out = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok;
}

} // namespace

QPageLayout defaultPageLayout() {
    const bool usPaper = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
    return QPageLayout(QPageSize(usPaper ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(36, 36, 36, 36), QPageLayout::Point);
}

// "size=595.28x841.89;orientation=portrait;margins=36,36,36,36": the paper in points (portrait),
// the orientation, and the margins in points, left, top, right, bottom.
QString pageSetupText(const QPageLayout& layout) {
    const QSizeF paper = layout.pageSize().size(QPageSize::Point);
    const QMarginsF m = layout.margins(QPageLayout::Point);
    return QStringLiteral("size=%1x%2;orientation=%3;margins=%4,%5,%6,%7")
        .arg(number(paper.width()), number(paper.height()),
             layout.orientation() == QPageLayout::Landscape ? QStringLiteral("landscape")
                                                            : QStringLiteral("portrait"),
             number(m.left()), number(m.top()), number(m.right()), number(m.bottom()));
}

std::optional<QPageLayout> pageLayoutFromText(const QString& text) {
    QSizeF paper;
    std::optional<QPageLayout::Orientation> orientation;
    std::optional<QMarginsF> margins;
    for (const QString& field : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString key = field.section(QLatin1Char('='), 0, 0).trimmed();
        const QString value = field.section(QLatin1Char('='), 1).trimmed();
        if (key == QLatin1String("size")) {
            const QStringList wh = value.split(QLatin1Char('x'));
            qreal w = 0, h = 0;
            if (wh.size() != 2 || !toNumber(wh[0], w) || !toNumber(wh[1], h) || w <= 0 || h <= 0)
                return std::nullopt;
            paper = QSizeF(w, h);
        } else if (key == QLatin1String("orientation")) {
            if (value == QLatin1String("portrait"))
                orientation = QPageLayout::Portrait;
            else if (value == QLatin1String("landscape"))
                orientation = QPageLayout::Landscape;
            else
                return std::nullopt;
        } else if (key == QLatin1String("margins")) {
            const QStringList parts = value.split(QLatin1Char(','));
            qreal v[4];
            if (parts.size() != 4)
                return std::nullopt;
            for (int i = 0; i < 4; ++i) {
                if (!toNumber(parts[i], v[i]) || v[i] < 0)
                    return std::nullopt;
            }
            margins = QMarginsF(v[0], v[1], v[2], v[3]);
        }
    }
    if (paper.isEmpty() || !orientation || !margins)
        return std::nullopt;
    QPageLayout layout(QPageSize(paper, QPageSize::Point, QString(), QPageSize::FuzzyMatch), *orientation,
                       QMarginsF(), QPageLayout::Point);
    // Margins that leave no room to print are not a page setup.
    if (!layout.setMargins(*margins))
        return std::nullopt;
    const QRectF full = layout.fullRect(QPageLayout::Point);
    if (margins->left() + margins->right() >= full.width() ||
        margins->top() + margins->bottom() >= full.height())
        return std::nullopt;
    return layout;
}

void obtainPrinterSettings() {
    QPageLayout layout = defaultPageLayout();
    if (Printing::dialogs().pageSetup(layout))
        gPrinterSettings = pageSetupText(layout);
    else
        gPrinterSettings.clear();
}

void gGetPrinterSetup(std::optional<QPageLayout>& setup) {
    if (!gPrinterSettings.isEmpty()) {
        if (auto kept = pageLayoutFromText(gPrinterSettings)) {
            setup = kept;
            return;
        }
        // Not a setup this program wrote: forget it and ask, as if none had been chosen.
        gPrinterSettings.clear();
    }
    if (!setup)
        setup = defaultPageLayout();
    if (Printing::dialogs().pageSetup(*setup)) {
        gPrinterSettings = pageSetupText(*setup);
    } else {
        setup.reset();
    }
}

bool startPrintJob(QPrinter& printer, const QString& docName,
                   const std::function<bool(const QPageLayout&)>& layoutFits) {
    if (!Printing::dialogs().canPrint()) {
        gShowMsg(
            true, QStringLiteral("This computer cannot print."),
            QStringLiteral("There is neither a printer nor a way to print to a file. Please add a printer "
                           "in the system's settings, then print again."));
        return false;
    }
    std::optional<QPageLayout> setup;
    gGetPrinterSetup(setup);
    if (!setup)
        return false;
    if (layoutFits && !layoutFits(*setup))
        return false;
    printer.setPageLayout(*setup);
    printer.setDocName(docName);
    return Printing::dialogs().print(printer);
}

void SetWindowModified(QWidget* window, bool modified) {
    if (!window)
        return;
    QWidget* top = window->window();
    if (!top->windowTitle().contains(QLatin1String("[*]")))
        top->setWindowTitle(top->windowTitle() + QStringLiteral("[*]"));
    top->setWindowModified(modified);
}

void SetWindowProxyAlias(QWidget* window, const QString& file) {
    if (!window || file.isEmpty())
        return;
    const QFileInfo info(file);
    if (info.fileName().isEmpty())
        return;
    if (!info.exists()) {
        Seams::feedback().beep();
        return;
    }
    QWidget* top = window->window();
    top->setWindowFilePath(info.absoluteFilePath());
    const QIcon icon(info.absoluteFilePath());
    if (!icon.isNull())
        top->setWindowIcon(icon);
}

void showFileMarks(QWidget* window, bool modified) {
    if (pFile.isEmpty())
        return;
    SetWindowModified(window, modified);
    SetWindowProxyAlias(window, pFile);
}

} // namespace myGlobals
