#include "printinglb.h"

#include "app/filetypes.h"
#include "app/printsettings.h"
#include "data/dbctrl.h"
#include "data/globals.h"
#include "data/seams.h"
#include "listfolder.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QHeaderView>
#include <QPainter>
#include <QPrinter>
#include <QSaveFile>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <cmath>

namespace {

const QString kTab = QStringLiteral("\t");

// The lists' scroll bar, in the stripes' blues and drawn in flat colours. The default style shades its
// full-height track with gradients and translucent lines, which the painter splits over worker threads:
// on a school's slower computers that took longer than drawing all the list's rows.
const char* const kScrollBarLook =
    "QScrollBar:vertical { background: #EDF3FE; width: 15px; margin: 0; border-left: 1px solid #C9D6EC; }"
    "QScrollBar::handle:vertical { background: #9DB6DE; min-height: 28px; margin: 2px 2px 2px 3px;"
    " border-radius: 4px; }"
    "QScrollBar::handle:vertical:hover { background: #7F9FD2; }"
    "QScrollBar::handle:vertical:pressed { background: #4175BD; }"
    "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
    "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }";

// Paints a cell: the list's stripe, the selection, then the text on one line, cut short with an
// ellipsis when it does not fit. The lists hold plain text only, so the cell is drawn here rather than
// through the style's general item layout, which costs several times as much for each cell shown.
class StripeDelegate final : public QStyledItemDelegate {
public:
    explicit StripeDelegate(printingLB* list) : QStyledItemDelegate(list), list_(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        list_->paintCellBackground(*painter, index.row(), index.column(), option.rect);
        const QPalette::ColorGroup group = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                                           : (option.state & QStyle::State_Active) ? QPalette::Active
                                                                                   : QPalette::Inactive;
        const bool selected = option.state & QStyle::State_Selected;
        const QWidget* view = option.widget;
        const QStyle* style = view ? view->style() : QApplication::style();
        if (selected)
            painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
        const QString text = index.data(Qt::DisplayRole).toString();
        if (!text.isEmpty()) {
            const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
            const QRect textRect = option.rect.adjusted(margin, 0, -margin, 0);
            painter->save();
            painter->setFont(option.font);
            painter->setPen(
                option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
            const QFontMetrics& metrics = option.fontMetrics;
            const int baseline =
                textRect.top() + (textRect.height() - metrics.height()) / 2 + metrics.ascent();
            painter->drawText(QPoint(textRect.left(), baseline),
                              metrics.elidedText(text, Qt::ElideRight, textRect.width()));
            painter->restore();
        }
        if ((option.state & QStyle::State_HasFocus) && list_->showsFocusFrame()) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(option);
            focus.backgroundColor =
                option.palette.color(group, selected ? QPalette::Highlight : QPalette::Base);
            style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, view);
        }
    }

private:
    printingLB* list_;
};

QFont printFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    // The painter works in points, so a pixel here is a point on paper.
    font.setPixelSize(printingLB::kFontSize);
    font.setBold(false);
    return font;
}

} // namespace

printingLB::printingLB(QWidget* parent) : QTableWidget(parent) {
    setItemDelegate(new StripeDelegate(this));
    setWordWrap(false);
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    verticalScrollBar()->setStyleSheet(QLatin1String(kScrollBarLook));
}

const QColor& printingLB::stripeColor() {
    static const QColor c(237, 243, 254);
    return c;
}

const QColor& printingLB::printBlue() {
    static const QColor c(65, 117, 189);
    return c;
}

QStringList printingLB::rowTexts(int row) const {
    QStringList texts;
    for (int c = 0; c < columnCount(); ++c) {
        const QTableWidgetItem* it = item(row, c);
        texts << (it ? it->text() : QString());
    }
    return texts;
}

QString printingLB::outputText(int row, int column) const {
    const QTableWidgetItem* it = item(row, column);
    if (!it)
        return {};
    const QVariant output = it->data(OutputTextRole);
    return output.isValid() ? output.toString() : it->text();
}

int printingLB::addRow(const QStringList& cells) {
    const int row = rowCount();
    insertRow(row);
    for (int c = 0; c < columnCount(); ++c)
        setItem(row, c, new QTableWidgetItem(c < cells.size() ? cells[c] : QString()));
    return row;
}

QVariant printingLB::cellTag(int row, int column) const {
    const QTableWidgetItem* it = item(row, column);
    return it ? it->data(TagRole) : QVariant();
}

void printingLB::setColumnPercents(const QList<int>& percents) {
    percents_ = percents;
    applyColumnPercents();
}

void printingLB::applyColumnPercents() {
    if (percents_.isEmpty())
        return;
    const int width = viewport()->width();
    int used = 0;
    for (int c = 0; c < columnCount() && c < percents_.size(); ++c) {
        // The last column takes what rounding left over, so the columns fill the list exactly.
        const int w = (c == columnCount() - 1) ? width - used : width * percents_[c] / 100;
        horizontalHeader()->resizeSection(c, std::max(w, 0));
        used += w;
    }
}

void printingLB::resizeEvent(QResizeEvent* event) {
    QTableWidget::resizeEvent(event);
    applyColumnPercents();
}

bool printingLB::viewportEvent(QEvent* event) {
    // The visible width also changes when the scroll bar comes or goes.
    if (event->type() == QEvent::Resize)
        applyColumnPercents();
    return QTableWidget::viewportEvent(event);
}

bool printingLB::paintCellBackground(QPainter& g, int row, int /*column*/, const QRect& cell) const {
    const QTableWidgetItem* first = item(row, 0);
    if (row % 2 != 0 || (first && first->isSelected()))
        return false;
    g.fillRect(cell, stripeColor());
    return true;
}

void printingLB::printOneCopy(QPainter& g, const QRectF& printable, const QString& title,
                              const QStringList& headings, const std::function<void()>& newPage) const {
    const qreal L = printable.left();
    const qreal T = printable.top();
    const qreal W = printable.width();
    const qreal H = printable.bottom();
    auto heading = [&](int k) {
        return k < headings.size() ? headings[k] : QString();
    };

    // Heading 0 always takes a column; the others count up to the first empty one.
    int columns = 1;
    for (int k = 1; k < 4 && !heading(k).isEmpty(); ++k)
        ++columns;
    const qreal cw = std::floor(W / columns);

    g.save();
    g.setFont(printFont());
    g.setPen(printBlue());
    g.drawText(QPointF(L, T + kTitleDrop), myGlobals::oneLine(title));
    g.drawText(QPointF(L, T + kDateDrop), DBCtrl::todayText());
    for (int k = 0; k < 4; ++k) {
        if (!heading(k).isEmpty())
            g.drawText(QPointF(L + k * cw, T + kHeadingDrop), myGlobals::oneLine(heading(k)));
    }

    g.setPen(Qt::black);
    if (rowCount() == 0) {
        g.drawText(QPointF(L, T + kFirstRowDrop), QStringLiteral("No items in list."));
        g.restore();
        return;
    }
    qreal y = T + kFirstRowDrop;
    for (int row = 0; row < rowCount(); ++row) {
        // A row that would stand below the printable area goes to the top of a new page. The check
        // comes before the row rather than after it, so a list that just fills a page leaves no
        // blank sheet behind.
        if (row > 0) {
            y += kRowStep;
            if (y > H) {
                g.restore();
                newPage();
                g.save();
                g.setFont(printFont());
                g.setPen(Qt::black);
                y = T;
            }
        }
        // The list's columns go, in order, to the slots whose heading is not empty.
        int j = 0;
        for (int k = 0; k < 4; ++k) {
            if (heading(k).isEmpty())
                continue;
            const QString text = myGlobals::oneLine(outputText(row, j));
            if (!text.isEmpty())
                g.drawText(QPointF(L + k * cw, y), text);
            ++j;
        }
    }
    g.restore();
}

void printingLB::printMe(const QString& title, const QString& header1, const QString& header2,
                         const QString& header3, const QString& header4) {
    const QStringList headings{header1, header2, header3, header4};
    QPrinter printer(QPrinter::HighResolution);
    if (!myGlobals::startPrintJob(printer, title))
        return;
    // The copies are laid out here, one after the other on the same job; left to the print system as
    // well, every copy would come out that many times.
    const int copies = printer.copyCount();
    printer.setCopyCount(1);
    if (copies < 1)
        return;

    QPainter g;
    if (!g.begin(&printer)) {
        myGlobals::gShowMsg(true, QStringLiteral("The list could not be printed."),
                            QStringLiteral("The printer could not be started. Please check the printer, "
                                           "then print again."));
        return;
    }
    // Work in points with the origin at the paper's corner, so the page layout's distances are the
    // distances on paper.
    const QRectF printable = printer.pageLayout().paintRect(QPageLayout::Point);
    const qreal scale = printer.resolution() / 72.0;
    g.scale(scale, scale);
    g.translate(-printable.topLeft());
    const auto newPage = [&printer] {
        printer.newPage();
    };
    for (int copy = 0; copy < copies; ++copy) {
        // Each further copy starts on a sheet of its own instead of on top of the last page.
        if (copy > 0)
            newPage();
        printOneCopy(g, printable, title, headings, newPage);
    }
    g.end();
}

QString printingLB::exportText(const QString& title, const QStringList& headings) const {
    QString text;
    text += myGlobals::oneLine(title) + QLatin1Char('\n');
    QStringList heads;
    for (int k = 0; k < 4; ++k)
        heads << myGlobals::oneLine(k < headings.size() ? headings[k] : QString());
    text += heads.join(kTab) + QLatin1Char('\n');
    for (int row = 0; row < rowCount(); ++row) {
        QString line;
        for (int c = 0; c < columnCount(); ++c)
            line += myGlobals::oneLine(outputText(row, c)) + kTab;
        text += myGlobals::RTrim(line, kTab) + QLatin1Char('\n');
    }
    return text;
}

void printingLB::exportMe(const QString& title, const QString& header1, const QString& header2,
                          const QString& header3, const QString& header4) {
    Seams::FileRequest request;
    request.title = QStringLiteral("Export A List");
    request.prompt = QStringLiteral("Choose a location for the exported list.");
    request.folder = ListFolder::start();
    request.suggestedName = title;
    request.fileTypes = {QLatin1String(FileTypes1::kText)};
    const QString path = Seams::dialogs().saveFile(request);
    if (path.isEmpty())
        return;
    ListFolder::remember(path);
    const QByteArray bytes = exportText(title, {header1, header2, header3, header4}).toUtf8();
    QSaveFile file(path);
    // A file that may be written in a folder that may not: write it in place.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        file.cancelWriting();
        myGlobals::gShowMsg(true, QStringLiteral("The list could not be exported."),
                            QStringLiteral("Unable to write <") + QDir::toNativeSeparators(path) +
                                QStringLiteral(">. Please choose another location."));
    }
}
