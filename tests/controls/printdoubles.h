#pragma once

// A stand-in for the page-setup and print dialogs: it answers from a script at once and points the
// printer at a PDF file, so printing runs without a print system. A driver of the platform's own
// dialogs on a computer without a printer, and the text of the PDF file they print to. And a paint
// device that records every text drawn on it with its place, colour and page, for checking a page
// layout.

#include "app/printdialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>

#include <deque>
#include <functional>
#include <optional>

namespace TestDoubles {

class PdfPrintDialogs : public Printing::Dialogs {
public:
    PdfPrintDialogs() { Printing::setDialogs(this); }
    ~PdfPrintDialogs() override { Printing::setDialogs(nullptr); }

    bool printSurface = true;                   // false: Qt has nothing to print on, not even a PDF file
    std::deque<bool> pageSetupAnswers;          // none left: accept
    std::optional<QPageLayout> pageSetupChoice; // what the user picks in the page-setup dialog
    bool acceptPrint = true;
    int copies = 1;
    QString pdfPath;

    int pageSetupShown = 0;
    int printShown = 0;
    QPageLayout layoutAtPrint; // the layout the printer carried when the print dialog opened
    QString documentName;      // the print job's name

    bool canPrint() override { return printSurface; }

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

// Hides every printer of the computer the tests run on from the print system, as on a computer that
// has none: the print system is pointed at a server that is not there. Call it before the first
// printer is made; the print system reads it once.
inline void hideThePrinters() {
    qputenv("CUPS_SERVER", "/nonexistent/numbrook-riza-tests/cups.sock");
}

// Answers the platform's own page-setup and print dialogs as a teacher would, while `print` runs:
// the page setup as it comes, and in the print dialog the destination it offers first, into a PDF
// file at `pdfPath`. Records what the print dialog offered.
class PlatformDialogsDriver {
public:
    QStringList destinations; // the print dialog's list of printers
    QString chosen;           // the one printed to
    int pageSetupShown = 0;
    int printShown = 0;
    QStringList others; // the titles of any other window that asked something

    void run(const std::function<void()>& print, const QString& pdfPath) {
        Printing::setDialogs(nullptr);
        QTimer answer;
        answer.setInterval(20);
        QObject::connect(&answer, &QTimer::timeout, [this, pdfPath] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible())
                return;
            if (auto* setup = qobject_cast<QPageSetupDialog*>(modal)) {
                ++pageSetupShown;
                setup->accept();
            } else if (auto* dialog = qobject_cast<QPrintDialog*>(modal)) {
                ++printShown;
                answerPrint(dialog, pdfPath);
            } else if (auto* other = qobject_cast<QDialog*>(modal)) {
                others << other->windowTitle();
                other->reject();
            }
        });
        answer.start();
        print();
    }

private:
    void answerPrint(QPrintDialog* dialog, const QString& pdfPath) {
        if (auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers"))) {
            for (int i = 0; i < printers->count(); ++i)
                destinations << printers->itemText(i);
            chosen = printers->currentText();
        }
        if (auto* file = dialog->findChild<QLineEdit*>(QStringLiteral("filename")))
            file->setText(pdfPath);
        dialog->accept();
        if (dialog->isVisible())
            dialog->reject();
    }
};

// The text of a PDF file as poppler's pdftotext reads it, in reading order; "<no pdftotext>" when
// poppler-utils is not installed.
inline QString pdfText(const QString& path) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return QStringLiteral("<no pdftotext>");
    QProcess process;
    process.start(tool, {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!process.waitForFinished(10000))
        return QStringLiteral("<pdftotext did not finish>");
    return QString::fromUtf8(process.readAllStandardOutput());
}

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
