#include "helpscrn2.h"

#include "app/menus.h"
#include "app/printsettings.h"
#include "controls/enterkey.h"
#include "controls/newcnvbtn.h"
#include "data/globals.h"
#include "data/outsidefile.h"
#include "data/seams.h"
#include "helpfolder.h"
#include "helpview.h"
#include "htmlfield.h"
#include "indexctnr.h"

#include <QAbstractTextDocumentLayout>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextLayout>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kBottomStrip = 40; // below the index and the page
constexpr int kButtonWidth = 120, kButtonHeight = 29;
constexpr int kButtonGap = 7; // between the buttons and the window's bottom edge
constexpr int kHideLeft = 40, kCloseLeft = 340;

const QString kMissing = HelpView::damagedOrMissing();
const QString kHeading = QStringLiteral("folder");
constexpr qreal kPrintMargin = 36; // points, at the left and the top of the printable area

void cannotPrint() {
    myGlobals::gShowMsg(true, QStringLiteral("An error was encountered while printing the file"),
                        QStringLiteral("The 'Help' file could not be opened."));
}

} // namespace

helpScrn2::helpScrn2(int topic, QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("helpScrn2"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Help"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMinimizeButtonHint);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->setSizeConstraint(QLayout::SetMinAndMaxSize);
    // Page Setup and Print are this window's; the Edit items act on the page when it has the focus.
    bar_ = new CtrlMenu(this);
    bar_->attachTo(this);
    bar_->bindHandlers(this);
    Event_EnableMenuItems();
    if (QMenu* file = bar_->menu(QStringLiteral("FileMenu")))
        connect(file, &QMenu::aboutToShow, this, &helpScrn2::Event_EnableMenuItems);

    content_ = new QWidget(this);
    content_->setObjectName(QStringLiteral("content"));
    content_->setMinimumSize(kMinWidth, kMinHeight);
    content_->setMaximumSize(kMaxWidth, kMaxHeight);
    content_->resize(kMinWidth, kMinHeight);
    column->addWidget(content_);

    myIndexCtnr = new indexCtnr(content_);
    myIndexCtnr->setObjectName(QStringLiteral("myIndexCtnr"));
    connect(myIndexCtnr, &indexCtnr::linkClicked, this, &helpScrn2::myIndexCtnr_linkClicked);

    myHTML = new HelpView(content_);
    myHTML->setObjectName(QStringLiteral("myHTML"));
    myHTML->setOpenExternalLinks(true);
    // Read by children too: a size above the small system default.
    QFont pageFont = myHTML->font();
    pageFont.setPointSize(qMax(pageFont.pointSize(), 11));
    myHTML->setFont(pageFont);
    connect(myHTML, &QTextBrowser::sourceChanged, this, &helpScrn2::myHTML_DocumentComplete);

    hideBtn = new newCnvBtn(content_);
    hideBtn->setObjectName(QStringLiteral("hideBtn"));
    connect(hideBtn, &newCnvBtn::MouseUp, this, &helpScrn2::hideBtn_MouseUp);

    closeBtn = new newCnvBtn(content_);
    closeBtn->setObjectName(QStringLiteral("closeBtn"));
    connect(closeBtn, &newCnvBtn::Open, this, [this] { closeBtn->setCaption(QStringLiteral("Close"), 1); });
    connect(closeBtn, &newCnvBtn::MouseUp, this, &helpScrn2::closeBtn_MouseUp);

    openTimer = new QTimer(this);
    openTimer->setObjectName(QStringLiteral("openTimer"));
    openTimer->setSingleShot(true);
    openTimer->setInterval(kOpenDelayMs);
    connect(openTimer, &QTimer::timeout, this, &helpScrn2::openTimer_Action);

    // Outside the window and never shown: it only holds the page being printed.
    stylFld = new HTMLField(content_);
    stylFld->setObjectName(QStringLiteral("stylFld"));
    stylFld->setReadOnly(true);
    stylFld->setGeometry(-364, 288, 352, 120);
    stylFld->hide();

    content_->installEventFilter(this);
    placeControls();

    indexVisible_ = true;
    // A number that names no row of the table opens the index alone, as topic 0 does.
    if (topic >= 1 && !myIndexCtnr->getTopic(topic).isEmpty()) {
        mWhich = topic;
        // The page comes once the caller has shown the window; the button has no caption till then.
        openTimer->start();
    } else {
        hideBtn->setCaption(QStringLiteral("Hide Index"), 0);
    }
}

helpScrn2* helpScrn2::open(int topic, QWidget* from) {
    // A modal window blocks every window but its own children: the help window becomes its child.
    QWidget* owner = from ? from->window() : nullptr;
    if (owner && !owner->isModal() && owner->windowModality() == Qt::NonModal)
        owner = nullptr;
    auto* help = new helpScrn2(topic, owner);
    help->adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = help->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        help->move(frame.topLeft());
    }
    help->show();
    return help;
}

bool helpScrn2::eventFilter(QObject* watched, QEvent* event) {
    if (watched == content_ && event->type() == QEvent::Resize)
        placeControls();
    return QWidget::eventFilter(watched, event);
}

// The index keeps its width and follows the height; the page fills the rest; the buttons keep their
// left positions and stay 7 pixels above the bottom.
void helpScrn2::placeControls() {
    const int h = content_->height();
    const int pageHeight = h - kBottomStrip;
    myIndexCtnr->setGeometry(0, 0, indexCtnr::kWidth, pageHeight);
    placePage(pageHeight);
    const int buttonTop = h - kButtonGap - kButtonHeight;
    hideBtn->setGeometry(kHideLeft, buttonTop, kButtonWidth, kButtonHeight);
    closeBtn->setGeometry(kCloseLeft, buttonTop, kButtonWidth, kButtonHeight);
}

// The page beside the index when it shows, over the whole width when it does not.
void helpScrn2::placePage(int height) {
    const int left = indexVisible_ ? indexCtnr::kWidth : 0;
    myHTML->setGeometry(left, 0, content_->width() - left, height);
}

void helpScrn2::setVisibles() {
    indexVisible_ = !indexVisible_;
    myIndexCtnr->setVisible(indexVisible_);
    placePage(myHTML->height());
    hideBtn->setCaption(indexVisible_ ? QStringLiteral("Hide Index") : QStringLiteral("Show Index"), 0);
    hideBtn->update();
}

void helpScrn2::getHelpText(const QString& fileName) {
    if (fileName == kHeading)
        return;
    const QString page = HelpFolder::page(fileName);
    if (fileName.isEmpty() || !QFileInfo(page).isFile()) {
        Seams::dialogs().plainMessage(kMissing);
        return;
    }
    myHTML->setSource(QUrl::fromLocalFile(page));
}

void helpScrn2::myIndexCtnr_linkClicked(const QString& fileName) {
    getHelpText(fileName);
}

void helpScrn2::myHTML_DocumentComplete(const QUrl& address) {
    curDocUrl_ = address;
}

QString helpScrn2::curDocName() const {
    const QString text = curDocUrl_.toString();
    return text.mid(text.lastIndexOf(QLatin1Char('/')) + 1);
}

void helpScrn2::hideBtn_MouseUp() {
    hideBtn->hndlMouseUp();
    setVisibles();
}

void helpScrn2::closeBtn_MouseUp() {
    closeBtn->hndlMouseUp();
    close();
}

void helpScrn2::openTimer_Action() {
    setVisibles();
    getHelpText(myIndexCtnr->getTopic(mWhich));
}

void helpScrn2::keyPressEvent(QKeyEvent* event) {
    if (isEnterKey(event)) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void helpScrn2::closeEvent(QCloseEvent* event) {
    // Closed before its page came: it loads nothing.
    openTimer->stop();
    QWidget::closeEvent(event);
}

void helpScrn2::Event_EnableMenuItems() {
    if (QAction* print = bar_->item(QStringLiteral("FilePrint")))
        print->setText(QStringLiteral("Print Help Topic"));
}

void helpScrn2::FilePageSetup() {
    myGlobals::obtainPrinterSettings();
}

void helpScrn2::FilePrint() {
    // The page the view shows, without its "#anchor", and only from the help folder.
    const QString file =
        curDocUrl_.isLocalFile() ? QFileInfo(curDocUrl_.toLocalFile()).canonicalFilePath() : QString();
    const QString folder = QDir(HelpFolder::path()).canonicalPath();
    if (curDocName().isEmpty() || file.isEmpty() || folder.isEmpty() ||
        !file.startsWith(folder + QLatin1Char('/')) || !QFileInfo(file).isFile() ||
        QFileInfo(file).size() > kLargestPrintedPage) {
        cannotPrint();
        return;
    }
    // Read as any outside file: the page may have changed since the look above.
    const OutsideFile::Contents page = OutsideFile::read(file, kLargestPrintedPage);
    if (!page.ok()) {
        cannotPrint();
        return;
    }
    const QString html = QString::fromUtf8(page.bytes);
    stylFld->Render(html);
    printMe();
    if (QWidget* focused = focusWidget())
        focused->clearFocus();
}

int helpScrn2::printDocument(QTextDocument& document, QPainter& painter, qreal width, qreal height,
                             const std::function<void()>& newPage) {
    document.setTextWidth(width);
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    // The top of every line in document coordinates, in order, with its height.
    QList<std::pair<qreal, qreal>> lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QRectF box = layout->blockBoundingRect(block);
        const QTextLayout* text = block.layout();
        for (int i = 0; text && i < text->lineCount(); ++i) {
            const QTextLine line = text->lineAt(i);
            lines.append({box.top() + line.y(), line.height()});
        }
    }
    int pages = 0;
    qsizetype next = 0;
    while (next < lines.size()) {
        // As many whole lines as the page holds, and at least one so that printing always ends.
        const qreal top = lines[next].first;
        qsizetype last = next;
        while (last + 1 < lines.size() && lines[last + 1].first + lines[last + 1].second - top <= height)
            ++last;
        const qreal bottom = lines[last].first + lines[last].second;
        if (pages > 0)
            newPage();
        painter.save();
        painter.translate(0, -top);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, top, width, qMin(bottom - top, height));
        context.palette.setColor(QPalette::Text, Qt::black);
        painter.setClipRect(context.clip);
        layout->draw(&painter, context);
        painter.restore();
        ++pages;
        next = last + 1;
    }
    return pages;
}

void helpScrn2::printMe() {
    QPrinter printer(QPrinter::HighResolution);
    const auto fits = [](const QPageLayout& setup) {
        const QRectF printable = setup.paintRect(QPageLayout::Point);
        if (printable.width() > kPrintMargin && printable.height() > kPrintMargin)
            return true;
        myGlobals::gShowMsg(true, QStringLiteral("The help topic could not be printed."),
                            QStringLiteral("The page leaves no room for the text within its margins. "
                                           "Please choose a larger paper or smaller margins in Page Setup."));
        return false;
    };
    if (!myGlobals::startPrintJob(
            printer, stylFld->documentTitle().isEmpty() ? curDocName() : stylFld->documentTitle(), fits))
        return;

    QPainter painter;
    if (!painter.begin(&printer)) {
        myGlobals::gShowMsg(true, QStringLiteral("The help topic could not be printed."),
                            QStringLiteral("The printer could not be started. Please check the printer, "
                                           "then print again."));
        return;
    }
    // The painter's origin is the printable area's corner; the margin is in points.
    const qreal perPoint = printer.resolution() / 72.0;
    const QRectF area = printer.pageLayout().paintRectPixels(printer.resolution());
    const qreal margin = kPrintMargin * perPoint;
    std::unique_ptr<QTextDocument> document(stylFld->document()->clone());
    document->documentLayout()->setPaintDevice(&printer);
    document->setDocumentMargin(0);
    painter.setPen(Qt::black);
    painter.translate(margin, margin);
    printDocument(*document, painter, area.width() - margin, area.height() - margin,
                  [&printer] { printer.newPage(); });
    painter.end();
}
