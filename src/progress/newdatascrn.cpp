#include "newdatascrn.h"

#include "app/helplink.h"
#include "app/menus.h"
#include "controls/enterkey.h"
#include "controls/newcnvbtn.h"
#include "data/globals.h"
#include "data/strecord.h"
#include "progresscells.h"
#include "progressgrid.h"
#include "round/gamescrn.h"
#include "settings/paramscrn.h"
#include "signin/namescrn.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

constexpr int kContentWidth = 720;
constexpr int kContentHeight = 620;
// The texts' standard size, in pixels.
constexpr int kStandardText = 13;
const QColor kCaptionColour(0xFF, 0x06, 0xEB);
const QColor kCriteriaBackground(0xF3, 0xED, 0xDA);

QLabel* label(QWidget* parent, const char* name, const QRect& geometry, const QString& text,
              Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter, int pixelSize = kStandardText,
              const QColor& colour = Qt::black) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(geometry);
    l->setAlignment(alignment);
    l->setTextInteractionFlags(Qt::NoTextInteraction);
    QFont f = l->font();
    f.setPixelSize(pixelSize);
    l->setFont(f);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, colour);
    l->setPalette(pal);
    return l;
}

QLineEdit* criteriaField(QWidget* parent, const char* name, const QRect& geometry) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setGeometry(geometry);
    field->setReadOnly(true);
    field->setAttribute(Qt::WA_MacShowFocusRect, false);
    QFont f = field->font();
    f.setPixelSize(kStandardText);
    field->setFont(f);
    QPalette pal = field->palette();
    pal.setColor(QPalette::Base, kCriteriaBackground);
    pal.setColor(QPalette::Text, Qt::black);
    field->setPalette(pal);
    // A read-only field shows no highlighted selection either: any selection collapses at once.
    QObject::connect(field, &QLineEdit::selectionChanged, field, [field] {
        if (field->hasSelectedText())
            field->deselect();
    });
    return field;
}

// The grid's geometry: column c, row r.
QRect barGeometry(int c, int r) {
    return {60 + 166 * c, 145 + 38 * r, 100, 20};
}
QRect starGeometry(int cell, int c, int r) {
    // The addition column's ninth cell stands one pixel further right than the rest of its column.
    const int left = cell == 8 ? 163 : 162 + 166 * c;
    return {left, 143 + 38 * r, 32, 24};
}
QRect rowLabelGeometry(int r) {
    // The upper five labels stand level with their bars, the lower five with their pictures.
    return {26, r < 5 ? 145 + 38 * r : 143 + 38 * r, 24, 20};
}

} // namespace

newDataScrn* newDataScrn::shared_ = nullptr;

newDataScrn* newDataScrn::instance() {
    if (!shared_)
        shared_ = new newDataScrn();
    return shared_;
}

newDataScrn::newDataScrn() : QWidget(nullptr, Qt::Window) {
    setObjectName(QStringLiteral("newDataScrn"));
    setAttribute(Qt::WA_DeleteOnClose);
    // No close box and no zoom: the window is left through its own exits.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint);
    setWindowTitle(QStringLiteral("Data"));

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->setSizeConstraint(QLayout::SetFixedSize);
    // The window handles no menu item of its own: Quit and the Edit items keep their standard
    // behaviour, Help opens the page on a student's data, the rest are offered disabled.
    auto* bar = new MenuBar1(this);
    bar->bindHandlers(this);
    HelpLink::bindHelpItem(bar, this, 2);
    bar->attachTo(this);
    auto* content = new QWidget(this);
    content->setObjectName(QStringLiteral("dataContent"));
    content->setFixedSize(kContentWidth, kContentHeight);
    column->addWidget(content);

    CreateControls(content);

    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

newDataScrn::~newDataScrn() {
    if (shared_ == this)
        shared_ = nullptr;
}

void newDataScrn::CreateControls(QWidget* content) {
    label(content, "StaticText1", {34, 16, 60, 20}, QStringLiteral("Student:"),
          Qt::AlignLeft | Qt::AlignVCenter, kStandardText, kCaptionColour);
    stNameFld = label(content, "stNameFld", {96, 16, 260, 20}, QStringLiteral("Name"));
    label(content, "StaticText2", {380, 16, 70, 20}, QStringLiteral("Last Visit:"),
          Qt::AlignLeft | Qt::AlignVCenter, kStandardText, kCaptionColour);
    lastDateFld = label(content, "lastDateFld", {457, 16, 173, 20}, QStringLiteral("date"));

    levelTab = new QTabBar(content);
    levelTab->setObjectName(QStringLiteral("levelTab"));
    levelTab->setGeometry(34, 53, 180, 36);
    levelTab->setExpanding(true);
    levelTab->setDrawBase(false);
    levelTab->addTab(QStringLiteral("1 - 10"));
    levelTab->addTab(QStringLiteral("11 - 19"));
    levelTab->setCurrentIndex(0);
    connect(levelTab, &QTabBar::currentChanged, this, &newDataScrn::levelTab_Change);

    label(content, "StaticText8", {286, 66, 80, 20}, QStringLiteral("Required Total:"),
          Qt::AlignRight | Qt::AlignVCenter, 10);
    reqTotFld = criteriaField(content, "reqTotFld", {373, 66, 60, 22});
    label(content, "StaticText9", {483, 66, 108, 20}, QStringLiteral("Required Percentage:"),
          Qt::AlignRight | Qt::AlignVCenter, 10);
    reqPctFld = criteriaField(content, "reqPctFld", {598, 66, 60, 22});

    label(content, "StaticText4", {60, 107, 134, 20}, QStringLiteral("* ADDITION *"), Qt::AlignCenter,
          kStandardText, kCaptionColour);
    label(content, "StaticText5", {226, 107, 134, 20}, QStringLiteral("* SUBTRACTION *"), Qt::AlignCenter,
          kStandardText, kCaptionColour);
    label(content, "StaticText6", {392, 106, 134, 20}, QStringLiteral("* MULTIPLICATION *"), Qt::AlignCenter,
          kStandardText, kCaptionColour);
    label(content, "StaticText7", {558, 105, 134, 20}, QStringLiteral("* DIVISION *"), Qt::AlignCenter,
          kStandardText, kCaptionColour);
    label(content, "StaticText3", {26, 137, 24, 20}, QString(), Qt::AlignCenter);

    for (int r = 0; r < ProgressGrid::kRows; ++r) {
        const QByteArray name = "numTxt(" + QByteArray::number(r) + ')';
        numTxt_[r] = label(content, name.constData(), rowLabelGeometry(r), QString(), Qt::AlignCenter);
    }
    resetRowHead(1);

    for (int b = 0; b < ProgressGrid::kCells; ++b) {
        const int c = b / ProgressGrid::kRows;
        const int r = b % ProgressGrid::kRows;
        gradeBarCnv_[b] = new GradeBarCnv(
            b, [this](GradeBarCnv& bar, QPainter& g) { gradeBarCnv_Paint(bar, g); }, content);
        gradeBarCnv_[b]->setGeometry(barGeometry(c, r));
        starCnv_[b] = new StarCnv(
            b, [this](StarCnv& cell, QPainter& g) { starCnv_Paint(cell, g); },
            [this](StarCnv& cell) { starCnv_MouseUp(cell); }, content);
        starCnv_[b]->setGeometry(starGeometry(b, c, r));
    }

    auto* hint = label(content, "StaticText10", {60, 543, 273, 21},
                       QStringLiteral("** Click a 'Try' button to play that fact. **"), Qt::AlignCenter, 12);
    hint->setWordWrap(true);

    hideDetBtn = new QPushButton(QStringLiteral("Hide Details"), content);
    hideDetBtn->setObjectName(QStringLiteral("hideDetBtn"));
    hideDetBtn->setGeometry(60, 572, 100, 20);
    hideDetBtn->setAutoDefault(false);
    hideDetBtn->setDefault(false);
    QFont small = hideDetBtn->font();
    small.setPixelSize(10);
    hideDetBtn->setFont(small);
    connect(hideDetBtn, &QPushButton::clicked, this, &newDataScrn::hideDetBtn_Action);

    paramsBtn = new newCnvBtn(content);
    paramsBtn->setObjectName(QStringLiteral("paramsBtn"));
    paramsBtn->setGeometry(398, 564, 148, 36);
    connect(paramsBtn, &newCnvBtn::Open, this,
            [this] { paramsBtn->setCaption(QStringLiteral("See My Settings..."), 2); });
    connect(paramsBtn, &newCnvBtn::MouseUp, this, &newDataScrn::paramsBtn_MouseUp);

    closeBtn = new newCnvBtn(content);
    closeBtn->setObjectName(QStringLiteral("closeBtn"));
    closeBtn->setGeometry(572, 564, 120, 36);
    connect(closeBtn, &newCnvBtn::Open, this,
            [this] { closeBtn->setCaption(QStringLiteral("Close Screen"), 4); });
    connect(closeBtn, &newCnvBtn::MouseUp, this, &newDataScrn::closeBtn_MouseUp);

    // Right of the window's edge, never seen: it keeps the keyboard, so that Return reaches the window.
    stlFocus = new QLineEdit(content);
    stlFocus->setObjectName(QStringLiteral("stlFocus"));
    stlFocus->setGeometry(734, 123, 40, 22);

    setTabOrder(levelTab, stlFocus);
    setTabOrder(stlFocus, reqPctFld);
    setTabOrder(reqPctFld, reqTotFld);
    setTabOrder(reqTotFld, hideDetBtn);
}

void newDataScrn::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!opened) {
        opened = true;
        Event_Open();
    }
}

void newDataScrn::Event_Open() {
    const ProgressGrid::Criteria criteria = ProgressGrid::criteria();
    if (StRecord* player = myGlobals::gCurPlayer.get()) {
        stNameFld->setText(player->curStudent);
        lastDateFld->setText(player->curLastDate);
        // Every bar and picture painted from now on reads the counts of this moment.
        player->parsePcts();
    }
    tagPixels_ = 0;
    reqTotFld->setText(QString::number(criteria.numCrit));
    reqPctFld->setText(QString::number(criteria.pctCrit) + QLatin1Char('%'));
    stlFocus->setFocus();
}

void newDataScrn::levelTab_Change(int index) {
    tierLev = index * 10;
    tagPixels_ = 0;
    for (int b = 0; b < ProgressGrid::kCells; ++b) {
        gradeBarCnv_[b]->update();
        starCnv_[b]->update();
    }
    // The tenth row of the second tab would be family 20, which the record does not count: it goes
    // before anything can paint or click it.
    const bool tenthRow = ProgressGrid::namesAFamily(ProgressGrid::kRows - 1 + tierLev);
    for (int c = 0; c < ProgressGrid::kColumns; ++c) {
        const int b = c * ProgressGrid::kRows + ProgressGrid::kRows - 1;
        gradeBarCnv_[b]->setVisible(tenthRow);
        starCnv_[b]->setVisible(tenthRow);
    }
    resetRowHead(tierLev + 1);
}

void newDataScrn::resetRowHead(int first) {
    numTxt_[ProgressGrid::kRows - 1]->setVisible(first <= 1);
    for (int i = 0; i < ProgressGrid::kRows; ++i)
        numTxt_[i]->setText(QString::number(first + i) + QStringLiteral("'s"));
}

void newDataScrn::hideDetBtn_Action() {
    hideDetails = !hideDetails;
    for (GradeBarCnv* bar : gradeBarCnv_)
        bar->update();
    hideDetBtn->setText(hideDetails ? QStringLiteral("Show Details") : QStringLiteral("Hide Details"));
}

void newDataScrn::closeBtn_MouseUp() {
    closeBtn->hndlMouseUp();
    leaveFor(Next::SignIn);
}

void newDataScrn::paramsBtn_MouseUp() {
    paramsBtn->hndlMouseUp();
    leaveFor(Next::Settings);
}

void newDataScrn::gradeBarCnv_Paint(GradeBarCnv& bar, QPainter& g) {
    const int op = ProgressGrid::operationOf(bar.index());
    const int f = ProgressGrid::factIndexOf(bar.index(), tierLev);
    if (!ProgressGrid::namesAFamily(f))
        return;
    ProgressPaint::paintBar(g, bar.size(), ProgressGrid::wholePercentOf(myGlobals::gCurPlayer.get(), op, f));
    if (hideDetails)
        return;
    // Every tag of the grid in one letter size, the one at which the widest fits, so that the grid
    // reads evenly instead of one bar's tag shrinking beside its neighbours. The tags hold the counts
    // read at the opening, so the size is worked out once per opening and tab, not at every paint.
    if (tagPixels_ == 0) {
        QStringList tags;
        for (int i = 0; i < ProgressGrid::kCells; ++i) {
            if (ProgressGrid::namesAFamily(ProgressGrid::factIndexOf(i, tierLev)))
                tags << setTag(i);
        }
        tagPixels_ = ProgressPaint::tagPixelSize(g.font(), bar.size(), tags);
    }
    ProgressPaint::paintTag(g, bar.size(), setTag(bar.index()), tagPixels_);
}

QString newDataScrn::setTag(int index) const {
    return ProgressGrid::tagText(myGlobals::gCurPlayer.get(), ProgressGrid::operationOf(index),
                                 ProgressGrid::factIndexOf(index, tierLev), ProgressGrid::criteria());
}

void newDataScrn::starCnv_Paint(StarCnv& cell, QPainter& g) {
    const int op = ProgressGrid::operationOf(cell.index());
    const int f = ProgressGrid::factIndexOf(cell.index(), tierLev);
    ProgressPaint::paintMark(
        g, ProgressGrid::markOf(myGlobals::gCurPlayer.get(), op, f, ProgressGrid::criteria()));
}

void newDataScrn::starCnv_MouseUp(StarCnv& cell) {
    const int op = ProgressGrid::operationOf(cell.index());
    const int f = ProgressGrid::factIndexOf(cell.index(), tierLev);
    StRecord* player = myGlobals::gCurPlayer.get();
    // A cell that names no family never becomes a practice set-up.
    if (leaving || !player || !ProgressGrid::namesAFamily(f))
        return;
    const QStringList defaults = StRecord::defaultParams();
    while (player->myParams.size() < defaults.size())
        player->myParams.append(defaults.at(player->myParams.size()));
    player->myParams[StRecord::OperationParam] = QString::number(op);
    player->myParams[StRecord::UnknownParam] = QStringLiteral("0");
    player->myParams[StRecord::NumbersParam] = QString::number(f + 1);
    // A failed save has said so itself; the round still uses the set-up held in memory.
    player->updateData();
    leaveFor(Next::Round);
}

void newDataScrn::keyPressEvent(QKeyEvent* event) {
    if (isEnterKey(event)) {
        event->accept();
        leaveFor(Next::SignIn);
        return;
    }
    QWidget::keyPressEvent(event);
}

void newDataScrn::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (shared_ == this)
        shared_ = nullptr;
    // A close from outside (the window manager) leaves as "Close Screen" does.
    if (!leaving) {
        leaving = true;
        NameScrn::instance()->show();
    }
}

void newDataScrn::leaveFor(Next next) {
    if (leaving)
        return;
    leaving = true;
    close();
    switch (next) {
    case Next::SignIn:
        NameScrn::instance()->show();
        break;
    case Next::Settings:
        ParamScrn::instance()->show();
        break;
    case Next::Round:
        GameScrn::instance()->show();
        break;
    }
}
