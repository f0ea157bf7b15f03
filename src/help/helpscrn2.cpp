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
#include <QWindow>

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
    // A printed page reads at the size the window shows it.
    stylFld->setFont(pageFont);

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
    auto* help = new helpScrn2(topic);
    help->adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = help->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        help->move(frame.topLeft());
    }
    // A modal window blocks every window but its own. As a child of the modal window the help window
    // would close with it; it becomes the modal window's transient window instead, which the modal
    // window does not block and which lives on after it, until the user closes it.
    QWidget* owner = from ? from->window() : nullptr;
    if (owner && (owner->isModal() || owner->windowModality() != Qt::NonModal) && owner->windowHandle()) {
        help->winId();
        QWindow* transientFor = owner->windowHandle();
        QWindow* own = help->windowHandle();
        own->setTransientParent(transientFor);
        // Once the modal window is gone the help window belongs to no other window.
        const auto release = [own, transientFor] {
            if (own->transientParent() == transientFor)
                own->setTransientParent(nullptr);
        };
        connect(transientFor, &QWindow::visibleChanged, own, [release](bool visible) {
            if (!visible)
                release();
        });
        connect(transientFor, &QObject::destroyed, own, release);
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

std::unique_ptr<QTextDocument> helpScrn2::printCopy(const HTMLField& field) {
    std::unique_ptr<QTextDocument> copy(field.document()->clone());
    // Headings are marked in the copy, so that a page never ends with one.
    for (const QString& run : field.headers()) {
        const QStringList fields = run.split(QLatin1Char('\t'));
        if (fields.size() < 3)
            continue;
        const int start = fields[0].toInt(), end = fields[1].toInt();
        for (QTextBlock block = copy->findBlock(start); block.isValid() && block.position() < end;
             block = block.next()) {
            QTextCursor cursor(block);
            QTextBlockFormat format = block.blockFormat();
            format.setHeadingLevel(qMax(1, fields[2].toInt()));
            cursor.setBlockFormat(format);
        }
    }
    // The page's line breaks set its paragraphs apart; on paper one empty line does that. Runs of
    // them, and empty lines before the first and after the last text, are left out.
    const auto empty = [](const QTextBlock& block) { return block.text().trimmed().isEmpty(); };
    const auto remove = [&copy](const QTextBlock& block) {
        QTextCursor cursor(copy.get());
        const QTextBlock previous = block.previous();
        if (previous.isValid()) {
            // Into the block before, whose format stays.
            cursor.setPosition(previous.position() + previous.length() - 1);
            cursor.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
        } else {
            const QTextBlockFormat following = block.next().blockFormat();
            cursor.setPosition(block.position());
            cursor.setPosition(block.next().position(), QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
            cursor.setBlockFormat(following);
        }
    };
    while (copy->blockCount() > 1 && empty(copy->begin()))
        remove(copy->begin());
    while (copy->blockCount() > 1 && empty(copy->lastBlock()))
        remove(copy->lastBlock());
    // Items of one list follow one another without an empty line, as in the window.
    const auto item = [](const QTextBlock& block) {
        return block.isValid() && block.text().startsWith(QStringLiteral("   \u2022 "));
    };
    for (int n = 1; n < copy->blockCount();) {
        const QTextBlock block = copy->findBlockByNumber(n);
        if (empty(block) && (empty(block.previous()) || (item(block.previous()) && item(block.next()))))
            remove(block);
        else
            ++n;
    }
    return copy;
}

QList<helpScrn2::PrintedPage> helpScrn2::paginate(QTextDocument& document, qreal width, qreal height) {
    document.setTextWidth(width);
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    struct Line {
        qreal top, height;
        int position;
        bool keepWithNext; // a heading, or an empty line under one
    };
    // Every line in document coordinates, in order.
    QList<Line> lines;
    bool underHeading = false;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QRectF box = layout->blockBoundingRect(block);
        const bool heading = block.blockFormat().headingLevel() > 0;
        underHeading = heading || (underHeading && block.text().trimmed().isEmpty());
        const QTextLayout* text = block.layout();
        for (int i = 0; text && i < text->lineCount(); ++i) {
            const QTextLine line = text->lineAt(i);
            lines.append({box.top() + line.y(), line.height(), block.position() + line.textStart(), underHeading});
        }
    }
    QList<PrintedPage> pages;
    qsizetype next = 0;
    while (next < lines.size()) {
        // As many whole lines as the page holds, and at least one so that printing always ends.
        const qreal top = lines[next].top;
        qsizetype last = next;
        while (last + 1 < lines.size() && lines[last + 1].top + lines[last + 1].height - top <= height)
            ++last;
        // A heading goes to the next page with the text under it, unless it would fill that page too.
        qsizetype kept = last;
        while (kept + 1 < lines.size() && kept > next && lines[kept].keepWithNext)
            --kept;
        if (kept + 1 < lines.size() && !lines[kept].keepWithNext)
            last = kept;
        pages.append({top, lines[last].top + lines[last].height, lines[next].position});
        next = last + 1;
    }
    return pages;
}

int helpScrn2::printDocument(QTextDocument& document, QPainter& painter, qreal width, qreal height,
                             const std::function<void()>& newPage) {
    const QList<PrintedPage> pages = paginate(document, width, height);
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0)
            newPage();
        painter.save();
        painter.translate(0, -pages[i].top);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, pages[i].top, width, qMin(pages[i].bottom - pages[i].top, height));
        context.palette.setColor(QPalette::Text, Qt::black);
        painter.setClipRect(context.clip);
        layout->draw(&painter, context);
        painter.restore();
    }
    return int(pages.size());
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
    const std::unique_ptr<QTextDocument> document = printCopy(*stylFld);
    document->documentLayout()->setPaintDevice(&printer);
    document->setDocumentMargin(0);
    painter.setPen(Qt::black);
    painter.translate(margin, margin);
    printDocument(*document, painter, area.width() - margin, area.height() - margin,
                  [&printer] { printer.newPage(); });
    painter.end();
}
