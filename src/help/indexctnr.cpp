#include "indexctnr.h"

#include "app/media.h"

#include <QPainter>
#include <QStyleOptionFrame>
#include <QStyledItemDelegate>

namespace {

constexpr int kTitleLeft = 20, kTitleTop = 2, kTitleWidth = 160, kTitleHeight = 30;
constexpr int kListTop = 32, kListWidth = 192;
constexpr int kBorderWidth = 8;

const QColor kEvenRow(0xFF, 0xFF, 0xFF);
const QColor kOddRow(0xDD, 0xEE, 0xFF);
const QColor kTitleBlue(0x41, 0x75, 0xBD);
// The border's own colour, for when its picture cannot be had.
const QColor kPlainBorder(0x41, 0x75, 0xBD);

QString field(const QString& entry, int n) {
    return entry.section(QLatin1Char(','), n, n);
}

// "INDEX" in blue over its own black shadow, centred on the canvas.
class TitleCanvas : public QWidget {
public:
    explicit TitleCanvas(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("titleCnv"));
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        // 24 on the 72-per-inch grid the layout is drawn on: in points the capitals would rise above
        // the canvas's top edge from the baselines at 24 and 22.
        QFont f = p.font();
        f.setPixelSize(24);
        p.setFont(f);
        const QString text = QStringLiteral("INDEX");
        const int x = (width() - p.fontMetrics().horizontalAdvance(text)) / 2;
        p.setPen(Qt::black);
        p.drawText(x, 24, text);
        p.setPen(kTitleBlue);
        p.drawText(x - 2, 22, text);
    }
};

// The picture of the border, stretched over the whole strip.
class BorderCanvas : public QWidget {
public:
    explicit BorderCanvas(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("border"));
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QPixmap picture = Pictures::newIndxbdr();
        if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0)
            p.fillRect(rect(), kPlainBorder);
        else
            p.drawPixmap(rect(), picture, picture.rect());
    }
};

// Rows drawn without the dotted frame that marks the current row of a list with the keyboard.
class NoFocusRows : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem plain(option);
        plain.state &= ~QStyle::State_HasFocus;
        QStyledItemDelegate::paint(painter, plain, index);
    }
};

} // namespace

indexLB::indexLB(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setDragEnabled(false);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    setFrameShape(QFrame::StyledPanel);
    setItemDelegate(new NoFocusRows(this));
}

void indexLB::initStyleOption(QStyleOptionFrame* option) const {
    // The frame looks the same whether the list has the keyboard or not.
    QListWidget::initStyleOption(option);
    option->state &= ~QStyle::State_HasFocus;
}

void indexLB::populateMe(const QStringList& entries) {
    // The row colour follows the row index alone; the selection paints over it.
    for (const QString& entry : entries) {
        const QString file = field(entry, 1);
        auto* row = new QListWidgetItem;
        QFont f = font();
        if (file == QLatin1String("folder")) {
            row->setText(field(entry, 0));
            f.setBold(true);
        } else {
            row->setText(QStringLiteral("   ") + field(entry, 0));
            f.setBold(false);
        }
        row->setFont(f);
        row->setData(Qt::UserRole, file);
        row->setBackground(count() % 2 == 0 ? kEvenRow : kOddRow);
        addItem(row);
    }
}

indexCtnr::indexCtnr(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("indexCtnr"));
    setFocusPolicy(Qt::NoFocus);
    resize(kWidth, kHeight);

    titleCnv = new TitleCanvas(this);
    titleCnv->setGeometry(kTitleLeft, kTitleTop, kTitleWidth, kTitleHeight);

    myIndexLB = new indexLB(this);
    myIndexLB->setObjectName(QStringLiteral("myIndexLB"));

    border = new BorderCanvas(this);

    connect(myIndexLB, &QListWidget::itemSelectionChanged, this, &indexCtnr::myIndexLB_Change);
    placeControls();
    mySetup();
}

const QStringList& indexCtnr::topicTable() {
    static const QStringList table{
        QStringLiteral("Basic Play:,folder"),
        QStringLiteral("Play Numbrook,nbq_play.html"),
        QStringLiteral("Individual Data,nbq_indD.html"),
        QStringLiteral("Administration:,folder"),
        QStringLiteral("Class Lists,nbq_cls.html"),
        QStringLiteral("Creating Sets,nbq_psets.html"),
        QStringLiteral("Preferences,nbq_pref.html"),
        QStringLiteral("Networking,nbq_net.html"),
        QStringLiteral("Help Menu Items,nbq_hlp.html"),
        QStringLiteral("VAVava Games:,folder"),
        QStringLiteral("Numbers Game,nbq_01h.html"),
        QStringLiteral("Math Detective,nbq_02h.html"),
        QStringLiteral("Math Squares,nbq_03h.html"),
        QStringLiteral("Math Challenge,nbq_04h.html"),
        QStringLiteral("Zuduzo d' Izuv,nbq_05h.html"),
        QStringLiteral("Mind Games,nbq_06h.html"),
        QStringLiteral("Additional Information:,folder"),
        QStringLiteral("Information,nbq_info.html"),
    };
    return table;
}

void indexCtnr::mySetup() {
    topicArray = topicTable();
    myIndexLB->populateMe(topicArray);
}

QString indexCtnr::getTopic(int topic) const {
    if (topic < 0 || topic >= topicArray.size())
        return {};
    return field(topicArray.at(topic), 1);
}

void indexCtnr::myIndexLB_Change() {
    const QList<QListWidgetItem*> picked = myIndexLB->selectedItems();
    if (picked.isEmpty())
        return;
    emit linkClicked(picked.first()->data(Qt::UserRole).toString());
}

void indexCtnr::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeControls();
}

// The title stays put; the list and the border follow the panel's height.
void indexCtnr::placeControls() {
    myIndexLB->setGeometry(0, kListTop, kListWidth, qMax(0, height() - kListTop));
    border->setGeometry(kListWidth, 0, kBorderWidth, height());
}
