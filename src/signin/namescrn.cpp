#include "namescrn.h"

#include "app/desktopapps.h"
#include "app/media.h"
#include "app/menus.h"
#include "app/picts.h"
#include "controls/getinputscrn.h"
#include "controls/hofscrn.h"
#include "controls/newcnvbtn.h"
#include "controls/picturecanvas.h"
#include "controls/printinglb.h"
#include "data/appversion.h"
#include "data/dbctrl.h"
#include "data/globals.h"
#include "data/prefs.h"
#include "data/seams.h"
#include "data/strecord.h"
#include "round/gamescrn.h"
#include "settings/paramscrn.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

NameScrn* NameScrn::shared_ = nullptr;

namespace {

const QString kGuideName = QStringLiteral("NBQ Quick Start Guide.rtf");

const std::array<const char*, NameScrn::kGames> kGameCaptions{
    "Number Game", "Math Detective", "Math Squares", "Math Challenge", "Zuduzo D' Izuv", "Mind Games"};

NameScrn::DocumentOpener& documentOpener() {
    static NameScrn::DocumentOpener opener = [](const QString& path) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    };
    return opener;
}

QFont pixelFont(int size, bool italic = false) {
    QFont f = QGuiApplication::font();
    f.setPixelSize(size);
    f.setItalic(italic);
    return f;
}

QLabel* makeLabel(const QString& name, const QString& text, int size, Qt::Alignment align,
                  const QColor& colour, QWidget* parent, bool italic = false) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    // Plain text: the instructions hold "<Class>" and "<Name>", which are not markup.
    l->setTextFormat(Qt::PlainText);
    l->setFont(pixelFont(size, italic));
    l->setAlignment(align);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, colour);
    l->setPalette(pal);
    l->setTextInteractionFlags(Qt::NoTextInteraction);
    return l;
}

QLineEdit* makeField(const QString& name, QWidget* parent) {
    auto* f = new QLineEdit(parent);
    f->setObjectName(name);
    f->setReadOnly(true);
    f->setFocusPolicy(Qt::NoFocus); // read-only: never a caret, never a selection
    f->setAttribute(Qt::WA_MacShowFocusRect, false);
    QPalette pal = f->palette();
    pal.setColor(QPalette::Base, QColor(0xF3, 0xED, 0xDA));
    pal.setColor(QPalette::Text, Qt::black);
    f->setPalette(pal);
    // Whatever selects text in it (a double click), the selection is dropped again.
    QObject::connect(f, &QLineEdit::selectionChanged, f, [f] {
        if (f->hasSelectedText())
            f->deselect();
    });
    return f;
}

// A button that leads to a window not there yet stays in its place, dimmed, and takes no clicks.
void setUsable(newCnvBtn* button, bool usable) {
    button->setEnabled(usable);
    button->setCursor(usable ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

// One five-pointed star in a square, filled up to `fill` (0 none, 0.5 the left half, 1 all).
void drawPlainStar(QPainter& p, const QRectF& box, double fill) {
    QPainterPath star;
    const QPointF c = box.center();
    const double outer = box.width() / 2.0;
    const double inner = outer * 0.45;
    for (int i = 0; i < 10; ++i) {
        const double r = (i % 2 == 0) ? outer : inner;
        const double a = -M_PI / 2 + i * M_PI / 5;
        const QPointF pt(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        if (i == 0)
            star.moveTo(pt);
        else
            star.lineTo(pt);
    }
    star.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xE4, 0xE4, 0xE4));
    p.drawPath(star);
    if (fill > 0) {
        p.save();
        p.setClipRect(QRectF(box.left(), box.top(), box.width() * fill, box.height()));
        p.setBrush(QColor(0xFF, 0xC4, 0x1F));
        p.drawPath(star);
        p.restore();
    }
    p.setPen(QPen(QColor(0xA0, 0x6E, 0x00), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(star);
}

// The star total drawn without its pictures: four stars, the earned ones (and a half) filled.
void drawPlainStars(QPainter& p, const QRect& area, int halfStars) {
    p.setRenderHint(QPainter::Antialiasing);
    const double size = std::min(area.height() - 2.0, (area.width() - 2.0) / 4.0);
    for (int i = 0; i < 4; ++i) {
        const double fill = std::clamp((halfStars - 2 * i) / 2.0, 0.0, 1.0);
        drawPlainStar(p, QRectF(area.left() + 1 + i * (area.width() - 2.0) / 4.0, area.top() + 1, size, size),
                      fill);
    }
}

// A title drawn in plain lettering when its picture is missing.
PictureCanvas::Fallback plainTitle(const QString& text, const QColor& colour) {
    return [text, colour](QPainter& p, const QRect& area) {
        QFont f = QGuiApplication::font();
        f.setPixelSize(std::max(area.height() - 14, 12));
        f.setBold(true);
        p.setFont(f);
        p.setPen(colour);
        p.drawText(area, Qt::AlignCenter, text);
    };
}

// The window's content: the background picture stretched over all of it, and every control.
// Scaling the picture smoothly is the dearest part of a paint: done once per size, and kept for the
// next window, since every return to sign-in makes a new one.
QPixmap scaledBackground(const QPixmap& back, QSize size) {
    const QString key = QStringLiteral("NameScrn background %1 %2x%3")
                            .arg(back.cacheKey())
                            .arg(size.width())
                            .arg(size.height());
    QPixmap scaled;
    if (!QPixmapCache::find(key, &scaled)) {
        scaled = back.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QPixmapCache::insert(key, scaled);
    }
    return scaled;
}

class Backdrop final : public QWidget {
public:
    Backdrop(std::function<void()> resized, QWidget* parent) : QWidget(parent), resized_(std::move(resized)) {
        setAttribute(Qt::WA_OpaquePaintEvent); // it covers every pixel: nothing to erase first
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QPixmap back = Pictures::CustomBlueBkg();
        if (back.isNull()) {
            QLinearGradient sky(0, 0, 0, height());
            sky.setColorAt(0, QColor(0xB9, 0xD7, 0xF5));
            sky.setColorAt(1, QColor(0x6F, 0xA3, 0xDC));
            p.fillRect(rect(), sky);
            return;
        }
        p.drawPixmap(0, 0, scaledBackground(back, size()));
    }
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        resized_();
    }

private:
    std::function<void()> resized_;
};

// The frame round the star picture: a light, slightly sunken well.
class ImageWell final : public QFrame {
public:
    using QFrame::QFrame;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QColor(0x7C, 0x93, 0xB8));
        p.setBrush(QColor(255, 255, 255, 110));
        p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
        p.setPen(QColor(0, 0, 0, 40));
        p.drawLine(QPointF(3, 1.5), QPointF(width() - 3, 1.5));
    }
};

// The sign-in lists' own stripes, and no focus frame round the current cell (the lists show their
// choice by the selection alone).
class SignInList final : public printingLB {
public:
    explicit SignInList(QWidget* parent) : printingLB(parent) { setShowsFocusFrame(false); }

    bool paintCellBackground(QPainter& g, int row, int, const QRect& cell) const override {
        static const QColor odd(0xDD, 0xEE, 0xFF);
        g.fillRect(cell, row % 2 == 0 ? QColor(Qt::white) : odd);
        return false;
    }
};

printingLB* makeList(const QString& name, const QStringList& headings, const QList<int>& percents,
                     QWidget* parent) {
    auto* list = new SignInList(parent);
    list->setObjectName(name);
    list->setColumnCount(static_cast<int>(headings.size()));
    list->setHorizontalHeaderLabels(headings);
    list->setColumnPercents(percents);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setShowGrid(false);
    list->setAttribute(Qt::WA_MacShowFocusRect, false);
    list->setFont(pixelFont(12));
    list->horizontalHeader()->setFont(pixelFont(12));
    list->horizontalHeader()->setSectionsClickable(false);
    list->horizontalHeader()->setHighlightSections(false);
    list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list->verticalHeader()->setDefaultSectionSize(22);
    QPalette pal = list->palette();
    pal.setColor(QPalette::Base, Qt::white);
    list->setPalette(pal);
    return list;
}

} // namespace

NameScrn* NameScrn::instance() {
    if (!shared_)
        shared_ = new NameScrn();
    return shared_;
}

bool NameScrn::exists() {
    return shared_ != nullptr;
}

NameScrn::Links& NameScrn::links() {
    static Links l;
    return l;
}

void NameScrn::setDocumentOpener(DocumentOpener opener) {
    documentOpener() = std::move(opener);
}

QString NameScrn::quickStartGuidePath() {
    const QString found = SpecialFolderWendle::findShipped(kGuideName, false);
    if (!found.isEmpty())
        return found;
    const QString folder = SpecialFolderWendle::BundleMacOSFolder();
    return folder.isEmpty() ? QString() : QDir(folder).absoluteFilePath(kGuideName);
}

NameScrn::NameScrn() : QWidget(nullptr, Qt::Window) {
    setObjectName(QStringLiteral("NameScrn"));
    setWindowTitle(QStringLiteral("Numbrook Riza Start"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMinimizeButtonHint);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // The menu bar sits above the content, so the content keeps its design size and every place in
    // it is measured from its own top-left corner.
    layout->setSizeConstraint(QLayout::SetMinAndMaxSize);
    content = new Backdrop([this] { followAnchors(); }, this);
    content->setObjectName(QStringLiteral("content"));
    content->setMinimumSize(kDesignWidth, kDesignHeight);
    content->setMaximumSize(kMaxWidth, kMaxHeight);
    layout->addWidget(content);

    makeControls();
    makeMenus();

    openTimer = new QTimer(this);
    openTimer->setObjectName(QStringLiteral("openTimer"));
    openTimer->setSingleShot(true);
    openTimer->setInterval(50);
    connect(openTimer, &QTimer::timeout, this, &NameScrn::openTimer_Action);

    layout->activate();
    resize(minimumSize());
}

void NameScrn::prepareBackground() {
    const QPixmap back = Pictures::CustomBlueBkg();
    if (!back.isNull())
        scaledBackground(back, QSize(kDesignWidth, kDesignHeight));
}

NameScrn::~NameScrn() {
    if (shared_ == this)
        shared_ = nullptr;
}

void NameScrn::makeControls() {
    QWidget* c = content;
    const auto place = [this](QWidget* w, const QRect& design, Qt::Edges edges) {
        w->setGeometry(design);
        anchored_.push_back({w, design, edges});
    };
    const Qt::Edges topRight = Qt::TopEdge | Qt::RightEdge;
    const QColor purple(0xAC, 0x00, 0xE1);

    ClassList = makeList(QStringLiteral("ClassList"), {QStringLiteral("My Class")}, {100}, c);
    ClassList->setFocusPolicy(Qt::ClickFocus); // the Tab key passes it by
    place(ClassList, {20, 32, 180, 538}, Qt::LeftEdge | Qt::TopEdge | Qt::BottomEdge);
    connect(ClassList, &QTableWidget::itemSelectionChanged, this, &NameScrn::ClassList_Change);

    NameList =
        makeList(QStringLiteral("NameList"), {QStringLiteral("My Name"), QStringLiteral("ID#")}, {85, 15}, c);
    place(NameList, {210, 32, 260, 538}, Qt::TopEdge | Qt::BottomEdge);
    connect(NameList, &QTableWidget::itemSelectionChanged, this, &NameScrn::NameList_Change);
    // Picking the row that is already picked counts as picking it: the next sign-in starts afresh.
    connect(NameList, &QAbstractItemView::pressed, this, [this](const QModelIndex& index) {
        if (index.isValid())
            NameList_Change();
    });

    InstrFld =
        makeLabel(QStringLiteral("InstrFld"), QString(), 12, Qt::AlignCenter, QColor(0x41, 0x75, 0xBD), c);
    place(InstrFld, {20, 580, 449, 22}, Qt::BottomEdge);

    AddMeBtn = new newCnvBtn(c);
    AddMeBtn->setObjectName(QStringLiteral("AddMeBtn"));
    AddMeBtn->setCaption(QStringLiteral("Add My Own Name"), 0);
    place(AddMeBtn, {260, 620, 160, 36}, Qt::BottomEdge);
    setUsable(AddMeBtn, bool(links().addMyName));
    connect(AddMeBtn, &newCnvBtn::MouseUp, this, &NameScrn::AddMeBtn_MouseUp);

    platTxt = makeLabel(QStringLiteral("platTxt"), App::LongVersion() + QStringLiteral(" for Linux"), 10,
                        Qt::AlignCenter, Qt::black, c);
    place(platTxt, {180, 4, 440, 16}, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge);

    starRefTimer = new QTimer(this);
    starRefTimer->setObjectName(QStringLiteral("starRefTimer"));
    starRefTimer->setSingleShot(true);
    starRefTimer->setInterval(400);

    curStudTitle = new PictureCanvas(QStringLiteral("curStudTitle"), &Pictures::CurStudGraphic,
                                     PictureCanvas::Fit::OwnSize, c);
    curStudTitle->setFallback(plainTitle(QStringLiteral("Current Student"), QColor(0x41, 0x75, 0xBD)));
    place(curStudTitle, {503, 32, 262, 38}, topRight);

    StNameFld = makeField(QStringLiteral("StNameFld"), c);
    place(StNameFld, {490, 96, 290, 24}, topRight);
    StaticText3 = makeLabel(QStringLiteral("StaticText3"), QStringLiteral("Name"), 12, Qt::AlignCenter,
                            purple, c, true);
    place(StaticText3, {490, 124, 290, 16}, topRight);

    ClNameFld = makeField(QStringLiteral("ClNameFld"), c);
    ClNameFld->setFont(pixelFont(12));
    place(ClNameFld, {490, 161, 290, 24}, topRight);
    StaticText4 = makeLabel(QStringLiteral("StaticText4"), QStringLiteral("Class"), 12, Qt::AlignCenter,
                            purple, c, true);
    place(StaticText4, {490, 190, 290, 16}, topRight);

    ImageWell1 = new ImageWell(c);
    ImageWell1->setObjectName(QStringLiteral("ImageWell1"));
    place(ImageWell1, {575, 218, 120, 38}, topRight);

    auto* stars = new PictureCanvas(
        QStringLiteral("starCnv"), [this] { return myPicts::stars(curNumStars); },
        PictureCanvas::Fit::OwnSize, ImageWell1);
    stars->setFallback([this](QPainter& p, const QRect& area) { drawPlainStars(p, area, curNumStars); });
    stars->setGeometry(9, 8, 101, 24); // inside the well, and moves with it
    starCnv = stars;
    connect(starRefTimer, &QTimer::timeout, starCnv, qOverload<>(&QWidget::update));

    StaticText7 = makeLabel(QStringLiteral("StaticText7"), QStringLiteral("* Stars *"), 12, Qt::AlignCenter,
                            purple, c, true);
    place(StaticText7, {490, 255, 290, 20}, topRight);

    ContBtn = new newCnvBtn(c);
    ContBtn->setObjectName(QStringLiteral("ContBtn"));
    ContBtn->setCaption(QStringLiteral("Play Numbrook"), 1);
    place(ContBtn, {555, 288, 160, 36}, topRight);
    ContBtn->hide();
    connect(ContBtn, &newCnvBtn::MouseUp, this, &NameScrn::ContBtn_MouseUp);

    repeatBtn1 = new QCheckBox(c);
    repeatBtn1->setObjectName(QStringLiteral("repeatBtn1"));
    repeatBtn1->setFont(pixelFont(10));
    repeatBtn1->setEnabled(false);
    repeatBtn1->setFocusPolicy(Qt::NoFocus);
    place(repeatBtn1, {555, 328, 16, 16}, topRight);

    rptTxt = makeLabel(QStringLiteral("rptTxt"), QStringLiteral("Replay Last Game"), 10,
                       Qt::AlignLeft | Qt::AlignVCenter, Qt::black, c);
    place(rptTxt, {579, 325, 138, 20}, topRight);

    probSrcTxt = makeLabel(QStringLiteral("probSrcTxt"),
                           QStringLiteral("Problems selected based upon player's past performance."), 10,
                           Qt::AlignHCenter | Qt::AlignTop, Qt::black, c);
    probSrcTxt->setWordWrap(true);
    place(probSrcTxt, {489, 358, 290, 18}, topRight);
    probSrcTxt->hide();

    gamesTitle =
        new PictureCanvas(QStringLiteral("gamesTitle"), &Pictures::funWMath, PictureCanvas::Fit::OwnSize, c);
    gamesTitle->setFallback(plainTitle(QStringLiteral("Fun With Math"), QColor(0xC4, 0x7A, 0x00)));
    place(gamesTitle, {529, 382, 210, 34}, topRight);

    for (int i = 0; i < kGames; ++i) {
        auto* b = new newCnvBtn(c);
        b->setObjectName(QStringLiteral("gamesBtn"));
        b->setProperty("index", i);
        b->setCaption(QString::fromUtf8(kGameCaptions[static_cast<std::size_t>(i)]), 2);
        place(b, {544, 418 + 40 * i, 180, 36}, topRight);
        setUsable(b, bool(links().games[static_cast<std::size_t>(i)]));
        b->hide();
        connect(b, &newCnvBtn::MouseUp, this, [this, i] { gamesBtn_MouseUp(i); });
        gamesBtn[static_cast<std::size_t>(i)] = b;
    }
}

void NameScrn::makeMenus() {
    menuBar = new MenuBar1;
    menuBar->attachTo(this);
    menuBar->bindHandlers(this);
    // Items whose window is not there yet are shown, but cannot be chosen.
    const Links& l = links();
    const std::pair<const char*, bool> available[] = {
        {"HelpAboutNumbrookZeri", bool(l.about)},   {"HelpHelp", bool(l.help)},
        {"HelpCheckVersion", bool(l.checkVersion)}, {"AdminClassLists", bool(l.classLists)},
        {"AdminPreferences", bool(l.preferences)},  {"AdminCreate", bool(l.createSets)}};
    for (const auto& [name, there] : available) {
        if (QAction* item = menuBar->item(QString::fromLatin1(name)))
            item->setEnabled(there);
    }
}

// ---- Opening, layout and set-up

void NameScrn::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (opened_)
        return;
    opened_ = true;
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    Event_Open();
}

void NameScrn::Event_Open() {
    refreshData(false);
    openTimer->start();
}

void NameScrn::openTimer_Action() {
    positioned_ = true;
    SetPositions();
    mySetup();
}

void NameScrn::followAnchors() {
    const int dw = content->width() - kDesignWidth;
    const int dh = content->height() - kDesignHeight;
    for (const Anchored& a : anchored_) {
        QRect r = a.design;
        if (a.edges.testFlag(Qt::LeftEdge) && a.edges.testFlag(Qt::RightEdge))
            r.setWidth(r.width() + dw);
        else if (a.edges.testFlag(Qt::RightEdge))
            r.moveLeft(r.left() + dw);
        if (a.edges.testFlag(Qt::TopEdge) && a.edges.testFlag(Qt::BottomEdge))
            r.setHeight(r.height() + dh);
        else if (a.edges.testFlag(Qt::BottomEdge))
            r.moveTop(r.top() + dh);
        // A pressed button stands 4 pixels off its place until it is released.
        auto* button = qobject_cast<newCnvBtn*>(a.control);
        if (button && button->isPressed())
            r.translate(4, 4);
        a.control->setGeometry(r);
    }
    // Until the window has set itself up the controls stand at their design places.
    if (positioned_)
        SetPositions();
}

void NameScrn::SetPositions() {
    const int W = content->width();
    const auto setLeft = [](QWidget* w, int left) {
        auto* button = qobject_cast<newCnvBtn*>(w);
        const int shift = button && button->isPressed() ? 4 : 0;
        w->move(left + shift, w->y());
    };
    const auto setWidth = [](QWidget* w, int width) {
        w->resize(width, w->height());
    };

    const int classWidth = W * 225 / 1000;
    setWidth(ClassList, classWidth);
    const int nameLeft = classWidth + 30;
    const int nameWidth = W * 325 / 1000;
    setLeft(NameList, nameLeft);
    setWidth(NameList, nameWidth);
    setWidth(InstrFld, classWidth + nameWidth + 10);
    setLeft(AddMeBtn, nameLeft + (nameWidth - 160) / 2);

    const int E = nameLeft + nameWidth;
    const int P = E + (W - E - 290) / 2;
    setLeft(curStudTitle, P + 13);
    for (QWidget* w : {static_cast<QWidget*>(StNameFld), static_cast<QWidget*>(ClNameFld),
                       static_cast<QWidget*>(StaticText3), static_cast<QWidget*>(StaticText4),
                       static_cast<QWidget*>(probSrcTxt), static_cast<QWidget*>(StaticText7)})
        setLeft(w, P);
    setLeft(ImageWell1, P + 85);
    setLeft(ContBtn, P + 65);
    setLeft(repeatBtn1, P + 65);
    setLeft(rptTxt, P + 89);
    setLeft(gamesTitle, P + 40);
    for (newCnvBtn* b : gamesBtn)
        setLeft(b, P + 55);
}

void NameScrn::mySetup() {
    if (myGlobals::gMySet) {
        repeatBtn1->setEnabled(true);
        if (myGlobals::gUseLastGame)
            repeatBtn1->setChecked(true);
    } else {
        repeatBtn1->setEnabled(false);
    }
    AddMeBtn->setVisible(myPrefs::prNoClass);
    setSrcTxt();
}

void NameScrn::setSrcTxt() {
    switch (myPrefs::inForce().dataSource) {
    case 1:
        probSrcTxt->setText(QStringLiteral("Problems selected at random."));
        break;
    case 2:
        probSrcTxt->setText(QStringLiteral("Problems selected from <Saved Sets>"));
        break;
    default:
        probSrcTxt->setText(QStringLiteral("Problems selected using player's past performance."));
        break;
    }
}

void NameScrn::SetGameBtns(bool show) {
    for (newCnvBtn* b : gamesBtn)
        b->setVisible(show);
}

// ---- The class and name lists

void NameScrn::refreshData(bool sel) {
    const QString kept = curClassSel;
    getClasses();
    curClassSel = kept;

    if (sel) {
        // The student just added, in the class the dialog actually stored them in (the student may
        // have picked another class there). Selecting "the last row" could pick someone else, who
        // would then play under that name.
        QString target = curClassSel.isEmpty() ? QStringLiteral("Default") : curClassSel;
        const int added = DBCtrl::getLastID();
        if (added > 0) {
            DBCtrl::Result r =
                DBCtrl::exec(QStringLiteral("SELECT StClass FROM Names WHERE StID = ?"), {added});
            if (r.next())
                target = r.value(0).toString();
        }
        selectClass(target);
        if (const int row = added > 0 ? rowOfStudent(added) : -1; row >= 0)
            NameList->selectRow(row);
        return;
    }

    const std::shared_ptr<StRecord> player = myGlobals::gCurPlayer;
    if (!player)
        return;
    selectClass(player->curClass);
    // By id, not by name: two students of one name are two students. The kept record plays on only
    // while it still is that row; a student deleted, renamed or given a new password meanwhile signs
    // in afresh, so that nothing the teacher changed is written back.
    const int row = rowOfStudent(player->curStID);
    if (row >= 0)
        NameList->selectRow(row);
    useSamePlayer = row >= 0 && NameList->item(row, 0)->text() == player->curStudent &&
                    myGlobals::unscrambleStr(NameList->item(row, 0)->data(printingLB::TagRole).toString()) ==
                        player->curStPW;
    if (curNumStars > 0)
        starRefTimer->start();
}

void NameScrn::getClasses() {
    // Emptying the list drops its selection first, which runs the class step.
    ClassList->clearSelection();
    ClassList->setRowCount(0);
    bool read = false;
    const QStringList classes = DBCtrl::classNames(&read);
    if (!read)
        DBCtrl::DisplayDatabaseError(DBCtrl::lastError());
    ClassList->setRowCount(static_cast<int>(classes.size()));
    for (int r = 0; r < classes.size(); ++r)
        ClassList->setItem(r, 0, new QTableWidgetItem(classes[r]));
}

void NameScrn::fillNamesList() {
    bool read = false;
    const QList<DBCtrl::StudentRow> students = DBCtrl::studentsOf(curClassSel, &read);
    if (!read)
        DBCtrl::DisplayDatabaseError(DBCtrl::lastError());
    NameList->setUpdatesEnabled(false);
    NameList->setRowCount(static_cast<int>(students.size()));
    for (int r = 0; r < students.size(); ++r) {
        const DBCtrl::StudentRow& s = students[r];
        auto* name = new QTableWidgetItem(s.name);
        name->setData(printingLB::TagRole, s.storedPassword);
        auto* id = new QTableWidgetItem(QString::number(s.id));
        id->setData(printingLB::TagRole, QString::number(s.halfStars));
        NameList->setItem(r, 0, name);
        NameList->setItem(r, 1, id);
    }
    NameList->setUpdatesEnabled(true);
}

void NameScrn::ClassList_Change() {
    StNameFld->clear();
    NameList->clearSelection(); // runs the name step when a name was selected
    NameList->setRowCount(0);
    const QList<QTableWidgetItem*> picked = ClassList->selectedItems();
    if (picked.isEmpty()) {
        ClNameFld->clear();
        StNameFld->clear();
        curClassSel.clear();
        InstrFld->setText(QStringLiteral("Select a <Class>"));
        return;
    }
    ClNameFld->setText(picked.first()->text());
    ClNameFld->setCursorPosition(0);
    curClassSel = picked.first()->text();
    fillNamesList();
    InstrFld->setText(QStringLiteral("Select your <Name>"));
}

void NameScrn::NameList_Change() {
    const QModelIndexList rows = NameList->selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        StNameFld->clear();
        theStudPW.clear();
        curNumStars = 0;
        starCnv->update();
        ContBtn->hide();
        SetGameBtns(false);
        probSrcTxt->hide();
        repeatBtn1->setEnabled(false);
        whichRow = -1;
        InstrFld->setText(QStringLiteral("Select your <Name>"));
        return;
    }
    whichRow = rows.first().row();
    StNameFld->setText(NameList->item(whichRow, 0)->text());
    StNameFld->setCursorPosition(0);
    theStudPW = NameList->item(whichRow, 0)->data(printingLB::TagRole).toString();
    // Stored text could hold anything; there are pictures for 0 to 8 half stars only.
    curNumStars =
        std::clamp(myGlobals::textToInt(NameList->item(whichRow, 1)->data(printingLB::TagRole).toString()), 0,
                   StRecord::kMaxHalfStars);
    starCnv->update();
    ContBtn->show();
    SetGameBtns(true);
    probSrcTxt->show();
    InstrFld->setText(QStringLiteral("Click <Play> or <Select> a game."));
    if (myGlobals::gMySet)
        repeatBtn1->setEnabled(true);
    useSamePlayer = false;
}

bool NameScrn::selectClass(const QString& className) {
    for (int r = 0; r < ClassList->rowCount(); ++r) {
        if (ClassList->item(r, 0)->text() == className) {
            ClassList->selectRow(r);
            return true;
        }
    }
    return false;
}

int NameScrn::rowOfStudent(int id) const {
    const QString wanted = QString::number(id);
    for (int r = 0; r < NameList->rowCount(); ++r) {
        if (NameList->item(r, 1)->text() == wanted)
            return r;
    }
    return -1;
}

// ---- Signing in and leaving

bool NameScrn::initNewPlayer() {
    // Only a record that holds the student's stored row plays on; any other is loaded afresh.
    if (useSamePlayer && myGlobals::gCurPlayer && myGlobals::gCurPlayer->loaded())
        return true;
    if (whichRow < 0 || whichRow >= NameList->rowCount())
        return false;
    const QList<QTableWidgetItem*> classes = ClassList->selectedItems();
    const QString className = classes.isEmpty() ? curClassSel : classes.first()->text();
    QTableWidgetItem* name = NameList->item(whichRow, 0);
    QTableWidgetItem* id = NameList->item(whichRow, 1);
    auto record = std::make_shared<StRecord>(
        name->text(), className, myGlobals::textToInt(id->text()), name->data(printingLB::TagRole).toString(),
        std::clamp(myGlobals::textToInt(id->data(printingLB::TagRole).toString()), 0,
                   StRecord::kMaxHalfStars));

    if (myPrefs::prReqStPW && !record->curStPW.isEmpty()) {
        getInputScrn prompt(this);
        if (!prompt.showMessage(QStringLiteral("Please enter your student password"), record->curStPW,
                                QStringLiteral("Accept"), QStringLiteral("Cancel"), false))
            return false;
    }
    myGlobals::gCurPlayer = record;
    record->getStudentData();
    if (!record->loaded()) {
        // The database has said why; a student whose results could not be read does not play.
        myGlobals::gCurPlayer.reset();
        return false;
    }
    return true;
}

void NameScrn::ContBtn_MouseUp() {
    ContBtn->hndlMouseUp();
    if (!initNewPlayer())
        return;
    if (repeatBtn1->isChecked()) {
        myGlobals::gUseLastGame = true;
        GameScrn::instance()->show();
    } else {
        myGlobals::gUseLastGame = false;
        // Another computer may have changed the shared preferences since this one read them.
        if (myPrefs::prUseAltLoc)
            myPrefs::hndlReadingPrefs();
        // Saved sets leave the student nothing to set up.
        if (myPrefs::inForce().dataSource == 2)
            GameScrn::instance()->show();
        else
            ParamScrn::instance()->show();
    }
    handOver();
}

void NameScrn::gamesBtn_MouseUp(int index) {
    gamesBtn[static_cast<std::size_t>(index)]->hndlMouseUp();
    const std::function<void()> game = links().games[static_cast<std::size_t>(index)];
    if (!game || !initNewPlayer())
        return;
    game();
    handOver();
}

void NameScrn::AddMeBtn_MouseUp() {
    AddMeBtn->hndlMouseUp();
    if (const auto addMyName = links().addMyName)
        addMyName(curClassSel);
}

void NameScrn::handOver() {
    handingOver_ = true;
    close();
}

void NameScrn::closeEvent(QCloseEvent* event) {
    event->accept();
    // A new window is made at the next show, even before this one is gone.
    if (shared_ == this)
        shared_ = nullptr;
    if (handingOver_ || !event->spontaneous())
        return;
    // The user closed the hub itself: with no window left to reach the program by, the program ends,
    // the way Quit ends it.
    QTimer::singleShot(0, qApp, [] {
        QApplication::closeAllWindows();
        QCoreApplication::quit();
    });
}

// ---- Menus and the administrative password

void NameScrn::HelpAboutNumbrookZeri() {
    if (const auto about = links().about)
        about();
}

void NameScrn::HelpHelp() {
    if (const auto help = links().help)
        help();
}

void NameScrn::HelpGettingStarted() {
    const QString guide = quickStartGuidePath();
    if (!guide.isEmpty() && QFileInfo(guide).isFile()) {
        // The desktop is asked first: handed the file without a program for it, its launcher would
        // still report success and nothing would open.
        if (DesktopApps::defaultForFile(guide).isEmpty() || !documentOpener()(guide))
            Seams::dialogs().plainMessage(QStringLiteral("No program on this computer could open the <") +
                                          QFileInfo(guide).fileName() +
                                          QStringLiteral(">. It is in the Numbrook Riza folder: ") +
                                          QDir::toNativeSeparators(QFileInfo(guide).absolutePath()));
        return;
    }
    Seams::dialogs().plainMessage(
        QStringLiteral("Could not find the <NBQ Quick Start Guide> in the Numbrook Riza folder."));
}

void NameScrn::HelpCheckVersion() {
    if (const auto check = links().checkVersion)
        check();
}

void NameScrn::HallofFameShowList() {
    HOFScrn::showList();
}

void NameScrn::AdminClassLists() {
    getPWord(0);
}

void NameScrn::AdminCreate() {
    getPWord(2);
}

void NameScrn::AdminPreferences() {
    getPWord(1);
}

void NameScrn::getPWord(int command) {
    if (!myGlobals::gNoPWReq && !myPrefs::prPassWord.isEmpty()) {
        getInputScrn prompt(this);
        if (!prompt.showMessage(QStringLiteral("Please enter the administrative password."),
                                myPrefs::prPassWord, QStringLiteral("Accept"), QStringLiteral("Cancel"),
                                true))
            return;
    }
    hndlEvent(static_cast<std::uint8_t>(command));
}

void NameScrn::hndlEvent(std::uint8_t command) {
    const Links& l = links();
    switch (command) {
    case 0:
        if (l.classLists) {
            l.classLists();
            handOver();
        }
        break;
    case 1:
        if (l.preferences) {
            l.preferences();
            handOver();
        }
        break;
    case 2:
        if (l.createSets)
            l.createSets();
        break;
    default:
        break;
    }
}
