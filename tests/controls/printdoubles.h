#pragma once

// A stand-in for the page-setup and print dialogs: it answers from a script at once and points the
// printer at a PDF file, so printing runs without a print system. And a paint device that records
// every text drawn on it with its place, colour and page, for checking a page layout.

#include "app/printdialogs.h"

#include <QFile>
#include <QPageLayout>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPrinter>
#include <QRegularExpression>

#include <deque>
#include <optional>

namespace TestDoubles {

class PdfPrintDialogs : public Printing::Dialogs {
public:
    PdfPrintDialogs() { Printing::setDialogs(this); }
    ~PdfPrintDialogs() override { Printing::setDialogs(nullptr); }

    bool printerInstalled = true;
    std::deque<bool> pageSetupAnswers;          // none left: accept
    std::optional<QPageLayout> pageSetupChoice; // what the user picks in the page-setup dialog
    bool acceptPrint = true;
    int copies = 1;
    QString pdfPath;

    int pageSetupShown = 0;
    int printShown = 0;
    QPageLayout layoutAtPrint; // the layout the printer carried when the print dialog opened
    QString documentName;      // the print job's name

    bool hasPrinter() override { return printerInstalled; }

    bool pageSetup(QPageLayout& layout) override {
        ++pageSetupShown;
        bool ok = true;
        if (!pageSetupAnswers.empty()) {
            ok = pageSetupAnswers.front();
            pageSetupAnswers.pop_front();
        }
        if (ok && pageSetupChoice)
            layout = *pageSetupChoice;
        return ok;
    }

    bool print(QPrinter& printer) override {
        ++printShown;
        layoutAtPrint = printer.pageLayout();
        documentName = printer.docName();
        if (!acceptPrint)
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath);
        printer.setCopyCount(copies);
        return true;
    }
};

// The number of pages of a PDF file written by Qt, and the page box of its first page.
inline int pdfPageCount(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QString text = QString::fromLatin1(f.readAll());
    return static_cast<int>(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"))));
}

inline QString pdfFirstMediaBox(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("/MediaBox\\s*\\[([^\\]]*)\\]"))
                                          .match(QString::fromLatin1(f.readAll()));
    return m.hasMatch() ? m.captured(1).simplified() : QString();
}

struct DrawnText {
    QString text;
    QPointF at; // the start of the baseline
    QColor color;
    int pixelSize = 0;
    int page = 0;
};

class RecordingEngine : public QPaintEngine {
public:
    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    QList<DrawnText> texts;
    int page = 0;

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& state) override {
        if (state.state() & QPaintEngine::DirtyPen)
            pen_ = state.pen();
        if (state.state() & QPaintEngine::DirtyFont)
            font_ = state.font();
        if (state.state() & QPaintEngine::DirtyTransform)
            transform_ = state.transform();
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawTextItem(const QPointF& p, const QTextItem& item) override {
        texts.append({item.text(), transform_.map(p), pen_.color(), font_.pixelSize(), page});
    }
    Type type() const override { return QPaintEngine::User; }

private:
    QPen pen_;
    QFont font_;
    QTransform transform_;
};

// A page in points (US Letter unless told otherwise).
class RecordingDevice : public QPaintDevice {
public:
    explicit RecordingDevice(QSize points = {612, 792}) : size_(points) {}
    ~RecordingDevice() override = default;
    RecordingEngine engine;
    QPaintEngine* paintEngine() const override { return const_cast<RecordingEngine*>(&engine); }

protected:
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
        case PdmWidth:
            return size_.width();
        case PdmHeight:
            return size_.height();
        case PdmWidthMM:
            return size_.width() * 254 / 720;
        case PdmHeightMM:
            return size_.height() * 254 / 720;
        case PdmNumColors:
            return 0x7fffffff;
        case PdmDepth:
            return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 72;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
        }
        return 0;
    }

private:
    QSize size_;
};

} // namespace TestDoubles
