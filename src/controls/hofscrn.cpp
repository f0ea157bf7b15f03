#include "hofscrn.h"

#include "app/media.h"
#include "controls/enterkey.h"
#include "data/dbctrl.h"
#include "data/globals.h"
#include "newcnvbtn.h"
#include "picturecanvas.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QSet>
#include <QSqlRecord>
#include <QTreeWidget>

#include <algorithm>

namespace {

QPointer<HOFScrn>& instance() {
    static QPointer<HOFScrn> window;
    return window;
}

// Drawn when the title picture is missing: the title in plain lettering.
void drawPlainTitle(QPainter& p, const QRect& area) {
    QFont f = QGuiApplication::font();
    f.setPixelSize(30);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0x5B, 0x2A, 0x86));
    p.drawText(area, Qt::AlignCenter, QStringLiteral("Hall of Fame"));
}

} // namespace

HOFScrn* HOFScrn::shared() {
    if (!instance())
        instance() = new HOFScrn;
    return instance();
}

HOFScrn* HOFScrn::current() {
    return instance();
}

void HOFScrn::showList() {
    HOFScrn* window = shared();
    window->show();
    window->raise();
    window->activateWindow();
}

HOFScrn::HOFScrn(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HOFScrn"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Hall of Fame"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMinimizeButtonHint);
    setFixedSize(360, 540);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xDD, 0xDD, 0xDD));
    setPalette(pal);

    auto* stars = new PictureCanvas(QStringLiteral("Canvas1"), &Pictures::HOF10Stars,
                                    PictureCanvas::Fit::OwnSize, this);
    stars->setGeometry(30, 8, 300, 34);
    auto* title = new PictureCanvas(QStringLiteral("Canvas2"), &Pictures::HOF10Title,
                                    PictureCanvas::Fit::OwnSize, this);
    title->setFallback(drawPlainTitle);
    title->setGeometry(30, 43, 300, 50);

    HOFList = new QTreeWidget(this);
    HOFList->setObjectName(QStringLiteral("HOFList"));
    HOFList->setGeometry(30, 100, 300, 381);
    HOFList->setColumnCount(2);
    HOFList->setHeaderLabels({QStringLiteral("Student's Name"), QStringLiteral("Date")});
    HOFList->setRootIsDecorated(false);
    HOFList->setItemsExpandable(false);
    HOFList->setSelectionMode(QAbstractItemView::SingleSelection);
    HOFList->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    HOFList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    HOFList->setDragEnabled(false);
    // Only a click gives the list the keyboard; otherwise the view marks its first row as current the
    // moment the window opens, as if the student had chosen it.
    HOFList->setFocusPolicy(Qt::ClickFocus);
    HOFList->header()->setSectionsMovable(false);
    // The names take whatever the dates leave, and give way to the scroll bar when it shows.
    HOFList->header()->setStretchLastSection(false);
    HOFList->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    HOFList->header()->setSectionResizeMode(1, QHeaderView::Fixed);

    auto* closeBtn = new newCnvBtn(this);
    closeBtn->setObjectName(QStringLiteral("closeBtn"));
    closeBtn->setGeometry(114, 493, 120, 29);
    closeBtn->setCaption(QStringLiteral("Close"), 1);
    connect(closeBtn, &newCnvBtn::MouseUp, this, [this, closeBtn] {
        closeBtn->hndlMouseUp();
        close();
    });

    HOFList_Open();
    fitDateColumn();

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

void HOFScrn::HOFList_Open() {
    // No ordering clause: the rows come in the order of entry, oldest first.
    DBCtrl::Result rows = DBCtrl::exec(QStringLiteral("SELECT * FROM HallData"));
    if (!rows)
        return;
    const QSqlRecord columns = rows->record();
    const int name = columns.indexOf(QStringLiteral("StName"));
    const int date = columns.indexOf(QStringLiteral("dateEnt"));
    // The rows join the list in one step: added one by one, each would tell the view of itself.
    QList<QTreeWidgetItem*> entries;
    while (rows.next())
        entries.append(new QTreeWidgetItem({rows.value(name).toString(), rows.value(date).toString()}));
    HOFList->addTopLevelItems(entries);
}

void HOFScrn::fitDateColumn() {
    // The Date column has its quarter of the list, or more when a date needs it: a date with a month
    // name ("28 Sept 2026") is wider than a quarter. Up to half the list: a stored text that long is
    // no date of this program's, and the names stay readable.
    const int inner = HOFList->width() - 2 * HOFList->frameWidth();
    int width = std::max(inner * 24 / 100, HOFList->header()->sectionSizeHint(1));
    // A school's thousands of entries share a few hundred dates: each different text is measured once
    // by its advance, and only the widest row is laid out as the view lays its cells out (a cell's
    // layout costs far more than a text's advance).
    const QFontMetrics metrics(HOFList->font());
    QSet<QString> measured;
    int widestRow = -1;
    int widestAdvance = -1;
    for (int row = 0; row < HOFList->topLevelItemCount(); ++row) {
        const QString date = HOFList->topLevelItem(row)->text(1);
        if (measured.contains(date))
            continue;
        measured.insert(date);
        const int advance = metrics.horizontalAdvance(date);
        if (advance > widestAdvance) {
            widestAdvance = advance;
            widestRow = row;
        }
    }
    if (widestRow >= 0)
        width = std::max(width, HOFList->sizeHintForIndex(HOFList->model()->index(widestRow, 1)).width());
    HOFList->header()->resizeSection(1, std::min(width, inner / 2));
}

void HOFScrn::keyPressEvent(QKeyEvent* event) {
    if (isEnterKey(event)) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
