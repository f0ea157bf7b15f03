#pragma once

// The help window: the topic index at the left and one help page beside it. Every Help command makes
// a new one on its own topic and shows it without blocking the window it came from; help windows
// share nothing with one another.

#include <QList>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <memory>

class CtrlMenu;
class HTMLField;
class QPainter;
class QTextBrowser;
class QTextDocument;
class QTimer;
class indexCtnr;
class newCnvBtn;

class helpScrn2 : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMinWidth = 800, kMinHeight = 580;
    static constexpr int kMaxWidth = 1280, kMaxHeight = 960;
    static constexpr int kOpenDelayMs = 200;

    // Topic 0 or less, or one that names no row: the index alone. Otherwise the topic's page, 200 ms
    // after the window was made. A `parent` makes it a child window that closes with that one.
    explicit helpScrn2(int topic, QWidget* parent = nullptr);

    // What every window's Help command does: a new help window on the topic, shown and centred. It
    // lives until the user closes it, also when `from` closes first; opened from a modal window it
    // takes clicks while that window is open.
    static helpScrn2* open(int topic, QWidget* from);

    // The file name (after the last "/") of the last document the view completed; empty before.
    QString curDocName() const;
    // The whole address of that document.
    QUrl curDocUrl() const { return curDocUrl_; }
    bool indexVisible() const { return indexVisible_; }

    QWidget* content() const { return content_; }
    CtrlMenu* menu() const { return bar_; }
    // The hidden field in which a page is read for printing.
    HTMLField* printField() const { return stylFld; }

    // Pages larger than this are not printed: reading them could take long.
    static constexpr qint64 kLargestPrintedPage = 128 * 1024;

    // What a help topic prints: the field's page with its headings marked, and no empty line next to
    // another one, between two items of a list, or before the first and after the last text.
    static std::unique_ptr<QTextDocument> printCopy(const HTMLField& field);
    // Lays the document out for a page of the given size (device units) with the text width given,
    // and draws its lines page after page; a new page begins only between lines, and not right under
    // a heading (nor the empty lines under it). Returns the pages.
    static int printDocument(QTextDocument& document, QPainter& painter, qreal width, qreal height,
                             const std::function<void()>& newPage);
    // The pages printDocument draws: the part of the laid-out document each shows, and the document
    // position of its first line.
    struct PrintedPage {
        qreal top, bottom;
        int firstPosition;
    };
    static QList<PrintedPage> paginate(QTextDocument& document, qreal width, qreal height);

public slots:
    // File > Page Setup and File > Print Help Topic, bound by name to the teacher bar.
    void FilePageSetup();
    void FilePrint();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void myIndexCtnr_linkClicked(const QString& fileName);
    void myHTML_DocumentComplete(const QUrl& address);
    void hideBtn_MouseUp();
    void closeBtn_MouseUp();
    void openTimer_Action();
    void setVisibles();
    void getHelpText(const QString& fileName);
    void placeControls();
    void placePage(int height);
    void Event_EnableMenuItems();
    void printMe();

    QWidget* content_ = nullptr;
    CtrlMenu* bar_ = nullptr;
    indexCtnr* myIndexCtnr = nullptr;
    QTextBrowser* myHTML = nullptr;
    newCnvBtn* hideBtn = nullptr;
    newCnvBtn* closeBtn = nullptr;
    QTimer* openTimer = nullptr;
    HTMLField* stylFld = nullptr;

    QUrl curDocUrl_;
    bool indexVisible_ = true;
    int mWhich = 0;
};
