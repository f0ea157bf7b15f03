#include "gamescrn.h"

#include "app/media.h"
#include "app/helplink.h"
#include "app/menus.h"
#include "app/picts.h"
#include "app/sounds.h"
#include "controls/anstimer.h"
#include "controls/newcnvbtn.h"
#include "controls/ovrcheckbox.h"
#include "controls/picturecanvas.h"
#include "controls/progresscnv.h"
#include "data/globals.h"
#include "data/locations.h"
#include "data/prefs.h"
#include "data/rndset.h"
#include "data/seams.h"
#include "data/strecord.h"
#include "digitcells.h"
#include "problemdisplay.h"
#include "progress/newdatascrn.h"
#include "roundtexts.h"
#include "settings/paramscrn.h"
#include "signin/namescrn.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kWidth = 876;
constexpr int kHeight = 560;
constexpr int kBarFull = 300; // the time bar's maximum
constexpr int kClockMs = 1000;
constexpr int kCheckMs = 300;
constexpr int kSpeakProblemMs = 800;
constexpr int kSpeakResultMs = 1500;
constexpr int kRollStepMs = 50;
constexpr int kRollStep = 4;      // pixels a cell rises at each step
constexpr int kRollHandOver = 16; // a cell this far below its place starts the next cell of its row
constexpr int kTeacherSets = 2;   // the problem source that plays teacher-made sets
constexpr int kMinProblems = 4;   // the fewest problems per round the Total Problems box stores

// Captions of the first action button: the state of the round.
const QString kStartRound = QStringLiteral("Start Round");
const QString kStopRound = QStringLiteral("Stop Round");
const QString kPlayAgain = QStringLiteral("Play Again");
const QString kOpenSavedSet = QStringLiteral("Open Saved Set");

// Picture kinds of the action buttons.
constexpr std::uint8_t kActionKind = 1;
constexpr std::uint8_t kYellowKind = 2;
constexpr std::uint8_t kGreenKind = 3;
constexpr std::uint8_t kLightRedKind = 4;

// The longest text the answer field takes: more than any answer has, few enough that it never
// overflows when read as a number.
constexpr int kMaxAnswerLength = 7;

StRecord* player() {
    return myGlobals::gCurPlayer.get();
}

bool teacherSets() {
    return myPrefs::inForce().dataSource == kTeacherSets;
}

// The window was laid out for a screen on which a point is a pixel, so text sizes are pixel sizes.
QFont fontOf(const QWidget* w, int pixelSize, bool bold = false, bool italic = false) {
    QFont f = w->font();
    if (pixelSize > 0)
        f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

// Places a control by its window coordinates, whatever control holds it.
void placeAt(QWidget* w, const QWidget* content, int left, int top, int width, int height) {
    const QPoint origin = w->parentWidget() == content
                              ? QPoint(left, top)
                              : w->parentWidget()->mapFrom(content, QPoint(left, top));
    w->setGeometry(QRect(origin, QSize(width, height)));
}

// The text colour of an enabled control; a disabled one keeps the platform's grey.
void setColour(QWidget* w, const QColor& colour) {
    QPalette pal = w->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(group, QPalette::WindowText, colour);
        pal.setColor(group, QPalette::Text, colour);
    }
    w->setPalette(pal);
}

struct LabelStyle {
    int pixelSize = 0; // 0 the platform's default size
    QColor colour = Qt::black;
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
    bool bold = false;
    bool italic = false;
};

QLabel* makeLabel(QWidget* parent, const QWidget* content, const char* name, const QString& text, QRect at,
                  const LabelStyle& style) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(fontOf(label, style.pixelSize, style.bold, style.italic));
    label->setAlignment(style.align);
    setColour(label, style.colour);
    placeAt(label, content, at.x(), at.y(), at.width(), at.height());
    return label;
}

// A whole number typed into the answer field: digits after at most one leading minus sign.
bool isAnswerText(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^-?[0-9]*$"));
    return text.size() <= kMaxAnswerLength && pattern.match(text).hasMatch();
}

// The field's text as it will be once `typed` has replaced the selection or gone in at the caret.
QString afterTyping(const QLineEdit* field, const QString& typed) {
    QString text = field->text();
    if (field->hasSelectedText())
        return text.replace(field->selectionStart(), field->selectedText().size(), typed);
    return text.insert(field->cursorPosition(), typed);
}

bool isModifierKey(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Meta || key == Qt::Key_Alt ||
           key == Qt::Key_AltGr || key == Qt::Key_CapsLock || key == Qt::Key_NumLock;
}

// The earned star, drawn when its picture is missing.
void drawPlainStar(QPainter& p, const QRect& r) {
    QPolygonF star;
    const QPointF centre = QRectF(r).center();
    const double outer = std::min(r.width(), r.height()) / 2.0 - 1;
    for (int i = 0; i < 10; ++i) {
        const double radius = i % 2 == 0 ? outer : outer * 0.45;
        const double angle = -M_PI / 2 + i * M_PI / 5;
        star << centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
    }
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0xB8, 0x86, 0x0B));
    p.setBrush(QColor(0xFF, 0xD7, 0x00));
    p.drawPolygon(star);
}

// The operation sign, drawn when its picture is missing.
void drawPlainSign(QPainter& p, const QRect& r, const QWidget* cell) {
    static const QHash<QString, QString> signs{{QStringLiteral("Prim_Zeri3"), QStringLiteral("+")},
                                               {QStringLiteral("Prim_Minus3"), QStringLiteral("\u2212")},
                                               {QStringLiteral("Prim_Times3"), QStringLiteral("\u00D7")},
                                               {QStringLiteral("Prim_Div3"), QStringLiteral("\u00F7")}};
    const QString sign = signs.value(cell->property("picture").toString());
    if (sign.isEmpty())
        return;
    QFont f = cell->font();
    f.setPixelSize(28);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0x1A, 0x1A, 0x1A));
    p.drawText(r, Qt::AlignCenter, sign);
}

bool isEnterKey(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

GameScrn* GameScrn::shared_ = nullptr;

GameScrn* GameScrn::instance() {
    if (!shared_) {
        shared_ = new GameScrn();
        shared_->Event_Open();
    }
    return shared_;
}

bool GameScrn::exists() {
    return shared_ != nullptr;
}

GameScrn::GameScrn() {
    setObjectName(QStringLiteral("GameScrn"));
    setWindowTitle(QStringLiteral("Numbrook Riza"));
    setAttribute(Qt::WA_DeleteOnClose);
    // A minimize button and no close box: the round is left through its buttons.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint);

    // The main menu bar, with the two commands this window answers; Preferences... is off while the
    // round is in front. Help opens the page on playing a round.
    auto* bar = new MenuBar1(this);
    bar->attachTo(this);
    bar->bindHandlers(this);
    HelpLink::bindHelpItem(bar, this, 1);
    QAction* preferences = bar->item(QStringLiteral("AdminPreferences"));
    preferences->setEnabled(false);
    connect(bar->menu(QStringLiteral("AdminMenu")), &QMenu::aboutToShow, this,
            [preferences] { preferences->setEnabled(false); });

    content_ = new QWidget(this);
    content_->setObjectName(QStringLiteral("content"));
    content_->setFixedSize(kWidth, kHeight);
    setCentralWidget(content_);
    CreateControls();
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        adjustSize();
        move(screen->availableGeometry().center() - rect().center());
    }
}

GameScrn::~GameScrn() {
    if (shared_ == this)
        shared_ = nullptr;
}

void GameScrn::CreateControls() {
    QWidget* c = content_;

    // The right-hand panel.
    CtrlPCnv =
        new PictureCanvas(QStringLiteral("CtrlPCnv"), Pictures::CtrlPanel2, PictureCanvas::Fit::Stretch, c);
    CtrlPCnv->setFallback([](QPainter& p, const QRect& r) { p.fillRect(r, QColor(0xE4, 0xEC, 0xF7)); });
    placeAt(CtrlPCnv, c, 630, 0, 241, 520);

    const LabelStyle heading{12, Qt::black};
    const LabelStyle readOut{12, QColor(0x06, 0x21, 0x66), Qt::AlignLeft | Qt::AlignVCenter, false, true};
    makeLabel(CtrlPCnv, c, "StaticText4", QStringLiteral("Functions:"), {640, 52, 115, 16}, heading);
    makeLabel(CtrlPCnv, c, "StaticText9", QStringLiteral("Total Time:"), {640, 80, 115, 16}, heading);
    makeLabel(CtrlPCnv, c, "StaticText10", QStringLiteral("Negatives:"), {640, 108, 115, 16}, heading);
    makeLabel(CtrlPCnv, c, "StaticText11", QStringLiteral("Fixed Number:"), {640, 136, 115, 16}, heading);
    makeLabel(CtrlPCnv, c, "StaticText12", QStringLiteral("Highest Number:"), {640, 166, 115, 16}, heading);
    makeLabel(CtrlPCnv, c, "StaticText8", QStringLiteral("Total Problems:"), {641, 196, 115, 16}, heading);
    for (int i = 0; i < 4; ++i) {
        const QByteArray name = "settingTxt" + QByteArray::number(i);
        settingTxt[i] =
            makeLabel(CtrlPCnv, c, name.constData(), QString(), {767, 52 + 28 * i, 85, 16}, readOut);
    }

    const auto makeBox = [&](const char* name, int left, int top, int from, int to, int step) {
        auto* box = new QComboBox(CtrlPCnv);
        box->setObjectName(QString::fromLatin1(name));
        box->setEditable(true);
        box->setCompleter(nullptr);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setFont(fontOf(box, 12));
        for (int v = from; v <= to; v += step)
            box->addItem(QString::number(v));
        box->setCurrentIndex(-1);
        box->setEditText(QString());
        placeAt(box, c, left, top, 80, 22);
        box->installEventFilter(this);
        box->lineEdit()->installEventFilter(this);
        connect(box->lineEdit(), &QLineEdit::textEdited, this,
                [this, box](const QString& t) { boxTyped(box, t); });
        connect(box, &QComboBox::activated, this, [this, box](int row) { boxChosen(box, row); });
        return box;
    };
    hiNumFld = makeBox("hiNumFld", 767, 164, rndSet::kMinHighest, rndSet::kMaxHighest, 1);
    totProbFld = makeBox("totProbFld", 768, 194, kMinProblems, rndSet::kMaxProblems, 2);

    warnTxt = makeLabel(CtrlPCnv, c, "warnTxt", QStringLiteral("Using Teacher-Created Set!"),
                        {642, 230, 194, 20}, {0, QColor(0xFF, 0x00, 0x00), Qt::AlignCenter});
    warnTxt->hide();

    GroupBox1 = new QFrame(CtrlPCnv);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setFrameShape(QFrame::StyledPanel);
    GroupBox1->setFrameShadow(QFrame::Sunken);
    placeAt(GroupBox1, c, 640, 270, 200, 236);
    StaticText14 = makeLabel(GroupBox1, c, "StaticText14", QStringLiteral("Select Action:"),
                             {646, 274, 120, 20}, {0, QColor(0x41, 0x75, 0xBD)});

    // Captions and pictures are the buttons' own from the start, so that the caption the settings give
    // the first button at opening is the one shown.
    const struct {
        const char* caption;
        std::uint8_t kind;
        int top;
    } buttons[] = {{"Start Round", kActionKind, 304},
                   {"My Settings", kYellowKind, 372},
                   {"My Progress", kGreenKind, 418},
                   {"New Player", kLightRedKind, 462}};
    for (int i = 0; i < 4; ++i) {
        auto* b = new newCnvBtn(GroupBox1);
        b->setObjectName(QStringLiteral("contBtn%1").arg(i));
        b->setCaption(QString::fromLatin1(buttons[i].caption), buttons[i].kind);
        placeAt(b, c, 680, buttons[i].top, 120, 33);
        connect(b, &newCnvBtn::MouseUp, this, [this, i] { contBtn_MouseUp(i); });
        contBtn[i] = b;
    }
    repeatBtn = new ovrCheckBox(GroupBox1);
    repeatBtn->setObjectName(QStringLiteral("repeatBtn"));
    placeAt(repeatBtn, c, 695, 340, 16, 16);
    repeatBtn->setEnabled(false);
    connect(repeatBtn, &ovrCheckBox::MouseUp, this, &GameScrn::repeatBtn_Action);
    repeatTxt = makeLabel(GroupBox1, c, "repeatTxt", QStringLiteral("Repeat Last Round"), {723, 338, 100, 20},
                          {10, Qt::black});
    repeatTxt->setEnabled(false);

    // The missed answers.
    MissBkgCnv = new PictureCanvas(QStringLiteral("MissBkgCnv"), Pictures::newerMissPlt,
                                   PictureCanvas::Fit::Stretch, c);
    MissBkgCnv->setFallback([](QPainter& p, const QRect& r) { p.fillRect(r, QColor(0xFB, 0xF4, 0xE4)); });
    placeAt(MissBkgCnv, c, 16, 32, 144, 335);
    missedBox = makeLabel(MissBkgCnv, c, "missedBox", QString(), {26, 40, 124, 317},
                          {0, Qt::black, Qt::AlignLeft | Qt::AlignTop});
    auto* ImageWell1 = new QFrame(c);
    ImageWell1->setObjectName(QStringLiteral("ImageWell1"));
    ImageWell1->setFrameShape(QFrame::Box);
    placeAt(ImageWell1, c, 20, 4, 124, 24);
    makeLabel(ImageWell1, c, "MissedTitle", QStringLiteral("Missed Answers"), {25, 9, 113, 16},
              {12, QColor(0xD6, 0x0C, 0xFF), Qt::AlignCenter, true});

    // The player, the score column, the time and the result.
    makeLabel(c, c, "StaticText2", QStringLiteral("Current Player:"), {220, 20, 80, 16},
              {10, QColor(0xD6, 0x0C, 0xFF), Qt::AlignRight | Qt::AlignVCenter});
    NameFld = makeLabel(c, c, "NameFld", QString(), {310, 17, 190, 23}, {12, Qt::black});
    // The star canvas shows the picture its "picture" property names: the empty star, or the star of a
    // round without a miss.
    Star = new PictureCanvas(
        QStringLiteral("Star"),
        [this] { return ProjectMedia::picture(Star->property("picture").toString()); },
        PictureCanvas::Fit::Stretch, c);
    Star->setFallback([this](QPainter& p, const QRect& r) {
        if (Star->property("picture").toString() == QLatin1String("smallstar"))
            drawPlainStar(p, r);
    });
    setStar(false);
    placeAt(Star, c, 586, 10, 32, 32);
    ScrTherm = new progressCnv(c);
    ScrTherm->setObjectName(QStringLiteral("ScrTherm"));
    placeAt(ScrTherm, c, 588, 43, 32, 320);
    ctFld = makeLabel(c, c, "ctFld", QString(), {584, 372, 40, 20}, {12, Qt::black, Qt::AlignCenter});
    totTimeTxt =
        makeLabel(c, c, "totTimeTxt", QString(), {184, 332, 300, 20}, {10, Qt::black, Qt::AlignCenter});
    StaticText1 = makeLabel(c, c, "StaticText1", QStringLiteral("Time Left"), {224, 362, 300, 16},
                            {10, Qt::black, Qt::AlignCenter});
    TimeLeft = makeLabel(c, c, "TimeLeft", QString(), {164, 373, 54, 32},
                         {24, QColor(0xBC, 0x0D, 0xDB), Qt::AlignRight | Qt::AlignVCenter});
    ProgBar = new QProgressBar(c);
    ProgBar->setObjectName(QStringLiteral("ProgBar"));
    ProgBar->setRange(0, kBarFull);
    ProgBar->setValue(kBarFull);
    ProgBar->setTextVisible(false);
    placeAt(ProgBar, c, 224, 385, 300, 12);
    ResultTxt = makeLabel(c, c, "ResultTxt", QString(), {214, 410, 320, 64},
                          {18, QColor(0xBB, 0x02, 0xFF), Qt::AlignCenter});
    ResultTxt->setWordWrap(true);
    ResultTxt->hide();

    // The problem area, placed for the vertical layout; the set-up moves it for the horizontal one.
    const ProblemDisplay::Area vertical = ProblemDisplay::area(true, 0);
    const auto makeWell = [&](const QString& name, QPoint at) {
        auto* well = new QFrame(c);
        well->setObjectName(name);
        well->setFrameShape(QFrame::Panel);
        well->setFrameShadow(QFrame::Sunken);
        placeAt(well, c, at.x(), at.y(), 36, 44);
        return well;
    };
    for (int i = 0; i < 3; ++i) {
        topWell[i] = makeWell(QStringLiteral("topWell%1").arg(i), vertical.topWell[i]);
        digitCnv[i] = new DigitCell(QStringLiteral("digitCnv%1").arg(i), topWell[i]);
        digitCnv[i]->move(6, 6);
    }
    for (int i = 0; i < 2; ++i) {
        botWell[i] = makeWell(QStringLiteral("botWell%1").arg(i), vertical.botWell[i]);
        digitCnv[3 + i] = new DigitCell(QStringLiteral("digitCnv%1").arg(3 + i), botWell[i]);
        digitCnv[3 + i]->move(6, 7);
    }
    // The operation sign shows the picture its "picture" property names: the sign of the current
    // problem, or the empty star while no problem is current.
    OperandCnv = new PictureCanvas(
        QStringLiteral("OperandCnv"),
        [this] { return ProjectMedia::picture(OperandCnv->property("picture").toString()); },
        PictureCanvas::Fit::Stretch, c);
    OperandCnv->setFallback([this](QPainter& p, const QRect& r) { drawPlainSign(p, r, OperandCnv); });
    placeAt(OperandCnv, c, vertical.operand.x(), vertical.operand.y(), 32, 32);
    // The sign cells come after the operation sign: sign cell 1 may stand over it.
    negCnv[0] = new SignCell(QStringLiteral("negCnv0"), c);
    negCnv[0]->move(vertical.negCnv0);
    negCnv[1] = new SignCell(QStringLiteral("negCnv1"), c);
    negCnv[1]->move(vertical.negCnv1);
    Line1 = new QFrame(c);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Plain);
    Line1->setLineWidth(1);
    setColour(Line1, Qt::black);
    placeAt(Line1, c, 343, 166, 90, 1);
    Answer = new QLineEdit(c);
    Answer->setObjectName(QStringLiteral("Answer"));
    Answer->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Answer->setFont(fontOf(Answer, 24));
    Answer->setStyleSheet(QStringLiteral("QLineEdit { color: #000000; background: #EEE2D7; }"));
    Answer->setContextMenuPolicy(Qt::NoContextMenu);
    placeAt(Answer, c, vertical.answer.x(), vertical.answer.y(), 84, 36);
    Answer->installEventFilter(this);
    connect(Answer, &QLineEdit::textChanged, this, &GameScrn::Answer_TextChanged);
    Answer->hide();
    EqSign = makeLabel(c, c, "EqSign", QStringLiteral("="), QRect(vertical.eqSign, QSize(20, 32)),
                       {36, Qt::black, Qt::AlignCenter});
    EqSign->hide();

    // Outside the visible area: holds the keyboard whenever no answer is being typed, so that Return
    // or Enter acts as the first action button.
    stlFocus = new QLineEdit(c);
    stlFocus->setObjectName(QStringLiteral("stlFocus"));
    placeAt(stlFocus, c, 880, 198, 80, 22);
    stlFocus->installEventFilter(this);

    myTimer = new QTimer(this);
    myTimer->setObjectName(QStringLiteral("myTimer"));
    myTimer->setInterval(kClockMs);
    connect(myTimer, &QTimer::timeout, this, &GameScrn::myTimer_Action);
    checkAnsT = new AnsTimer(this);
    checkAnsT->setObjectName(QStringLiteral("checkAnsT"));
    checkAnsT->setInterval(kCheckMs);
    connect(checkAnsT, &QTimer::timeout, this, &GameScrn::checkAnsT_Action);
    const auto makeTimer = [this](const QString& name, int ms, bool singleShot) {
        auto* t = new QTimer(this);
        t->setObjectName(name);
        t->setInterval(ms);
        t->setSingleShot(singleShot);
        return t;
    };
    speakDelay = makeTimer(QStringLiteral("speakDelay"), kSpeakProblemMs, true);
    connect(speakDelay, &QTimer::timeout, this, &GameScrn::speakDelay_Action);
    resultSpeak = makeTimer(QStringLiteral("resultSpeak"), kSpeakResultMs, true);
    connect(resultSpeak, &QTimer::timeout, this, &GameScrn::resultSpeak_Action);
    for (int i = 0; i < 3; ++i) {
        topTimer[i] = makeTimer(QStringLiteral("topTimer%1").arg(i), kRollStepMs, false);
        connect(topTimer[i], &QTimer::timeout, this, [this, i] { topTimer_Action(i); });
    }
    for (int i = 0; i < 2; ++i) {
        botTimer[i] = makeTimer(QStringLiteral("botTimer%1").arg(i), kRollStepMs, false);
        connect(botTimer[i], &QTimer::timeout, this, [this, i] { botTimer_Action(i); });
    }
}

// ---- opening and the settings ------------------------------------------------------------------------

void GameScrn::Event_Open() {
    scrnSetup();
    initVars();
    stlFocus->setFocus();
}

void GameScrn::scrnSetup() {
    isVert = !myGlobals::conv2Bool(StRecord::HorizontalParam);
    // The first number can only be asked in the horizontal layout, where the answer field stands
    // before the problem; in the vertical layout the answer would stand under its own result.
    unknownTerm_ = isVert ? 0 : std::clamp(myGlobals::conv2Int(StRecord::UnknownParam), 0, 1);
    Line1->setVisible(isVert);
    EqSign->setVisible(!isVert);
    const ProblemDisplay::Area area = ProblemDisplay::area(isVert, unknownTerm_);
    for (int i = 0; i < 3; ++i)
        topWell[i]->move(area.topWell[i]);
    for (int i = 0; i < 2; ++i)
        botWell[i]->move(area.botWell[i]);
    OperandCnv->move(area.operand);
    negCnv[0]->move(area.negCnv0);
    negCnv[1]->move(area.negCnv1);
    EqSign->move(area.eqSign);
    Answer->move(area.answer);
    initAnimation();
    NameFld->setText(player() ? player()->curStudent : QString());
    if (myGlobals::gUseLastGame)
        repeatBtn->setValue(true);
    StaticText1->setText(QStringLiteral("Time Left"));
    ProgBar->show();
}

void GameScrn::initVars() {
    myTime = myGlobals::conv2Int(StRecord::SecondsParam);
    myTotProbs = myGlobals::conv2Int(StRecord::ProblemsParam);
    myHiNum = myGlobals::conv2Int(StRecord::HighestParam);
    myFunc = myGlobals::conv2Int(StRecord::OperationParam);
    mySpeak = myGlobals::conv2Bool(StRecord::SpeechParam);
    isFactFam = false;
    settingTxt[1]->setText(QString::number(myTime));

    if (teacherSets() && !openSetFailed) {
        warnTxt->setText(QStringLiteral("Using Teacher-Created Set!"));
        warnTxt->show();
        setMainCaption(myGlobals::gUseLastGame ? kStartRound : kOpenSavedSet, kActionKind);
        hiNumFld->setEnabled(false);
        totProbFld->setEnabled(false);
        return;
    }

    setMainCaption(kStartRound, kActionKind);
    hiNumFld->setEnabled(true);
    totProbFld->setEnabled(true);
    if (teacherSets()) {
        warnTxt->setText(QStringLiteral("Unable to get a set."));
        warnTxt->show();
    } else {
        warnTxt->hide();
    }
    settingTxt[0]->setText(myGlobals::getFuncName(myFunc));
    settingTxt[2]->setText(myGlobals::conv2Bool(StRecord::NegativesParam) ? QStringLiteral("Yes")
                                                                          : QStringLiteral("No"));
    const QString numbers = player() ? player()->myParams.value(StRecord::NumbersParam) : QString();
    const QStringList family = numbers.split(QLatin1Char('/'));
    if (myGlobals::conv2Int(StRecord::NumbersParam) == 0) {
        settingTxt[3]->setText(QStringLiteral("No"));
    } else if (family.size() >= 2) {
        settingTxt[3]->setText(family[0] + QStringLiteral(" and ") + family[1]);
        isFactFam = true;
    } else {
        settingTxt[3]->setText(numbers);
    }
    // The window's own writing is no typing: it must not run the boxes' handling.
    const QSignalBlocker blockHigh(hiNumFld->lineEdit());
    const QSignalBlocker blockTotal(totProbFld->lineEdit());
    hiNumFld->setEditText(QString::number(myHiNum));
    totProbFld->setEditText(QString::number(myTotProbs));
}

// A row chosen from a box's list.
void GameScrn::boxChosen(QComboBox* box, int row) {
    boxTyped(box, box->itemText(row));
}

// The text of a box typed: the setting takes the number it reads as, kept within the box's range; the
// box keeps showing what was typed. The running round keeps the count it started with.
void GameScrn::boxTyped(QComboBox* box, const QString& text) {
    StRecord* student = player();
    if (!student)
        return;
    const bool highest = box == hiNumFld;
    const int index = highest ? StRecord::HighestParam : StRecord::ProblemsParam;
    const QString stored = highest ? myGlobals::limitEntry(text, rndSet::kMaxHighest, rndSet::kMinHighest)
                                   : myGlobals::limitEntry(text, rndSet::kMaxProblems, kMinProblems);
    if (index < student->myParams.size())
        student->myParams[index] = stored;
    (highest ? myHiNum : myTotProbs) = stored.toInt();
}

// ---- round control -------------------------------------------------------------------------------------

void GameScrn::setStar(bool earned) {
    Star->setProperty("picture", earned ? QStringLiteral("smallstar") : QStringLiteral("NoStar"));
    Star->update();
}

void GameScrn::setMainCaption(const QString& caption, std::uint8_t kind) {
    contBtn[0]->setCaption(caption, kind);
    contBtn[0]->update();
}

std::shared_ptr<rndSet> GameScrn::newSet(int problems, bool forceRandom) {
    // Only a teacher's set needs the folder where the file chooser starts.
    const QString folder = teacherSets() && !forceRandom ? myPrefs::getInputSetsFolder() : QString();
    return std::make_shared<rndSet>(myHiNum, problems, myFunc, isFactFam, forceRandom, folder);
}

void GameScrn::BeginGame() {
    if (openSetFailed)
        initVars();
    if (myGlobals::gUseLastGame && myGlobals::gLastTot > 0)
        myTotProbs = myGlobals::gLastTot;

    // The set to play: a random one after a teacher's set could not be had, a new one from the
    // problem source, or the kept one again.
    bool replay = false;
    if (openSetFailed) {
        myGlobals::gMySet = newSet(myTotProbs, true);
        openSetFailed = false;
    } else if (!repeatBtn->value() && !teacherSets()) {
        myGlobals::gMySet = newSet(myTotProbs, false);
    } else if (myGlobals::gMySet) {
        replay = true;
    } else {
        myGlobals::gMySet = newSet(myTotProbs, true);
    }

    // A round never runs past its set: every problem it shows can end as right or as missed. A teacher's
    // set just opened is played whole; a replay that has no finished round to take its count from (a
    // first round was stopped) plays the whole kept set.
    const int setCount = myGlobals::gMySet->getTotProblems() + 1;
    int wanted = myTotProbs;
    if (freshSavedSet_ || (replay && myGlobals::gUseLastGame && myGlobals::gLastTot <= 0))
        wanted = setCount;
    freshSavedSet_ = false;
    roundTotal_ = std::clamp(wanted, 1, std::max(setCount, 1));

    counter = 0;
    ctFld->setText(QStringLiteral("#1"));
    numCorrect = 0;
    RoundTime = 0;
    totTimeTxt->clear();
    ScrTherm->reinit(roundTotal_);
    setStar(false);
    if (myTime > 0) {
        curTime = myTime;
        timeDec = kBarFull / myTime;
    }
    contBtn[2]->hide();
    ResultTxt->hide();
    // The last round's result is not spoken into the new round.
    resultSpeak->stop();
    spkMsg.clear();

    resetNums();
    StaticText1->setVisible(myTime > 0);
    TimeLeft->setText(myTime > 0 ? QString::number(curTime) : QStringLiteral("Off"));
    Answer->show();
    Answer->setFocus();
    myTimer->start();
    setMainCaption(kStopRound, kLightRedKind);
    repeatBtn->setEnabled(false);
    repeatTxt->setEnabled(false);
    warnTxt->hide();
    Answer->setFocus();
}

void GameScrn::contBtn_MouseUp(int index) {
    contBtn[index]->hndlMouseUp();
    hndlContBtn(index);
}

void GameScrn::hndlContBtn(int index) {
    if (leaving_)
        return;
    ResultTxt->hide();
    setStar(false);
    missedBox->clear();

    switch (index) {
    case 0: {
        const QString caption = contBtn[0]->myCaption();
        if (caption == kStartRound) {
            BeginGame();
        } else if (caption == kStopRound) {
            myTimer->stop();
            leave(Next::SignIn);
        } else if (caption == kOpenSavedSet) {
            openSavedSet();
        } else {
            BeginGame();
        }
        break;
    }
    case 1:
        leave(Next::Settings);
        break;
    case 2:
        leave(Next::Progress);
        break;
    case 3:
        leave(Next::SignIn);
        break;
    default:
        break;
    }
}

void GameScrn::openSavedSet() {
    openSetFailed = false;
    std::shared_ptr<rndSet> set = newSet(myTotProbs, false);
    const rndSet::RoundReport& report = set->roundReport();
    if (report.openSetFailed) {
        openSetFailed = true;
        myGlobals::gMySet.reset();
        initVars();
        return;
    }
    myGlobals::gMySet = set;
    myTotProbs = report.myTotProbs.value_or(set->getTotProblems() + 1);
    freshSavedSet_ = true;
    setMainCaption(kStartRound, kActionKind);
    const QSignalBlocker block(totProbFld->lineEdit());
    totProbFld->setEditText(QString::number(myTotProbs));
}

void GameScrn::repeatBtn_Action() {
    if (!teacherSets())
        return;
    const QString caption = contBtn[0]->myCaption();
    if (repeatBtn->value() && caption == kOpenSavedSet)
        setMainCaption(kStartRound, kActionKind);
    else if (!repeatBtn->value() && caption == kStartRound)
        setMainCaption(kOpenSavedSet, kActionKind);
}

void GameScrn::stopRoundTimers() {
    myTimer->stop();
    checkAnsT->stop();
    speakDelay->stop();
    resultSpeak->stop();
    for (QTimer* t : topTimer)
        t->stop();
    for (QTimer* t : botTimer)
        t->stop();
}

// Every exit through an action button: the round stops where it is, so that nothing is counted while
// the save's messages are up, then the record is saved, the window closes and the next one shows.
void GameScrn::leave(Next next) {
    stopRoundTimers();
    leaving_ = true;
    if (player())
        player()->rejoinData();
    close();
    switch (next) {
    case Next::SignIn:
        NameScrn::instance()->show();
        break;
    case Next::Settings:
        ParamScrn::instance()->show();
        break;
    case Next::Progress:
        newDataScrn::instance()->show();
        break;
    }
}

void GameScrn::closeEvent(QCloseEvent* event) {
    stopRoundTimers();
    event->accept();
    const bool fromOutside = !leaving_;
    leaving_ = true;
    // Closed from outside (the window manager's close box, Alt+F4) or by Quit: what the student earned
    // is saved as at every exit, while the window is still there. Only File > Close gives it up.
    if (fromOutside && !discarding_ && player())
        player()->rejoinData();
    if (shared_ == this)
        shared_ = nullptr;
    // When the program is quitting no other window is shown.
    if (fromOutside && !Menus::quitting())
        NameScrn::instance()->show();
}

void GameScrn::reinitRound() {
    // What was pending for the problem that ended ends with it.
    checkAnsT->stop();
    speakDelay->stop();
    spkMsg.clear();
    totTries = 0;
    Answer->clear();
    for (SignCell* sign : negCnv)
        sign->setShowNeg(false);
}

// ---- the problem cycle ---------------------------------------------------------------------------------

void GameScrn::resetNums() {
    const rndSet& set = *myGlobals::gMySet;
    const int i = counter;
    ++problemSerial_;
    funcStr = RoundTexts::operationWords(set.getFunc(i));
    setOperandPicture();
    if (unknownTerm_ == 1) {
        showProblem(set.getCorAns(i), set.getBotNum(i));
        corAns = set.getTopNum(i);
    } else {
        showProblem(set.getTopNum(i), set.getBotNum(i));
        corAns = set.getCorAns(i);
    }
    if (speaksProblems())
        speakDelay->start();
    ProgBar->setValue(kBarFull);
    curTime = myTime;
    TimeLeft->setText(myTime > 0 ? QString::number(curTime) : QStringLiteral("Off"));
}

// The display steps of one problem: the rows' pictures and signs, the operation sign at its place, and
// the digits rolling in (or standing in place at once when animation is off).
void GameScrn::showProblem(int first, int second) {
    const ProblemDisplay::Cells cells = ProblemDisplay::cellsFor(first, second, isVert, unknownTerm_);
    for (int i = 0; i < ProblemDisplay::kCells; ++i) {
        digitCnv[i]->setPicture(cells.whichPict[i]);
        digitCnv[i]->setOffset(DigitCell::kBelow);
    }
    negCnv[0]->setShowNeg(cells.showNeg[0]);
    negCnv[1]->setShowNeg(cells.showNeg[1]);
    OperandCnv->move(cells.operandLeft, OperandCnv->y());
    if (cells.negCnv1Left)
        negCnv[1]->move(*cells.negCnv1Left, negCnv[1]->y());
    if (myPrefs::prNoAnim) {
        for (DigitCell* cell : digitCnv)
            cell->setOffset(0);
    } else {
        startRollIn();
    }
    setOperandPicture();
}

void GameScrn::setOperandPicture() {
    static const char* const signs[] = {"Prim_Zeri3", "Prim_Minus3", "Prim_Times3", "Prim_Div3"};
    QString name = QStringLiteral("NoStar");
    if (counter >= 0 && myGlobals::gMySet) {
        const int f = myGlobals::gMySet->getFunc(counter);
        name = f >= 0 && f < 4 ? QString::fromLatin1(signs[f]) : QString();
    }
    OperandCnv->setProperty("picture", name);
    OperandCnv->update();
}

// Blank cells roll in and the operation sign shows the empty star: the display between rounds. The
// blanks roll in whatever the animation preference says.
void GameScrn::initAnimation() {
    for (DigitCell* cell : digitCnv) {
        cell->setPicture(myPicts::kBlank);
        cell->setOffset(DigitCell::kBelow);
    }
    startRollIn();
    counter = -1;
    setOperandPicture();
}

// Each row rises from its leftmost cell; the next cell of the row starts when the previous one is
// halfway up.
void GameScrn::startRollIn() {
    topTimer[0]->start();
    botTimer[0]->start();
}

void GameScrn::topTimer_Action(int index) {
    stepCell(index);
}

void GameScrn::botTimer_Action(int index) {
    stepCell(ProblemDisplay::kTopCells + index);
}

void GameScrn::stepCell(int cell) {
    if (cell < 0 || cell >= ProblemDisplay::kCells)
        return;
    QTimer* own = cell < 3 ? topTimer[cell] : botTimer[cell - 3];
    const int y = std::max(digitCnv[cell]->offset() - kRollStep, 0);
    digitCnv[cell]->setOffset(y);
    if (y <= 2) {
        own->stop();
    } else if (y == kRollHandOver) {
        if (cell == 0 || cell == 1)
            topTimer[cell + 1]->start();
        else if (cell == 3)
            botTimer[1]->start();
    }
}

bool GameScrn::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == Answer)
            return Answer_KeyDown(key);
        if (watched == stlFocus)
            return stlFocus_KeyDown(key);
        if ((watched == hiNumFld || watched == hiNumFld->lineEdit() || watched == totProbFld ||
             watched == totProbFld->lineEdit()) &&
            isEnterKey(key)) {
            hndlContBtn(0);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// The answer field takes digits, one leading minus sign and Backspace; every other key is refused
// with a beep. A digit arms the check with the field's text as it then stands.
bool GameScrn::Answer_KeyDown(QKeyEvent* key) {
    if (isModifierKey(key->key()))
        return false;
    const bool command = key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier | Qt::AltModifier);
    const QString text = key->text();
    if (key->key() == Qt::Key_Backspace && !command)
        return false;
    // With speech on, Space asks for the problem again; it is never part of the answer.
    if (text == QLatin1String(" ") && !command && speaksProblems()) {
        speakDelay->start();
        return true;
    }
    const bool digit = text.size() == 1 && text[0] >= QLatin1Char('0') && text[0] <= QLatin1Char('9');
    const bool minus = text == QLatin1String("-");
    if (!command && (digit || minus) && isAnswerText(afterTyping(Answer, text))) {
        Answer->insert(text);
        if (digit)
            checkAns(Answer->text());
        return true;
    }
    Seams::feedback().beep();
    return true;
}

// Whatever else changes the field (the Edit menu's Paste, say) must leave a number being typed;
// anything else is taken back.
void GameScrn::Answer_TextChanged() {
    const QString text = Answer->text();
    if (isAnswerText(text)) {
        acceptedAnswer_ = text;
        return;
    }
    const QSignalBlocker block(Answer);
    Answer->setText(acceptedAnswer_);
    Seams::feedback().beep();
}

void GameScrn::checkAns(const QString& typed) {
    if (counter < 0)
        return;
    if (checkAnsT->armIfComplete(typed, corAns))
        armedFor_ = problemSerial_;
}

void GameScrn::checkAnsT_Action() {
    // A check belongs to the problem it was armed for.
    if (counter < 0 || armedFor_ != problemSerial_ || leaving_)
        return;
    armedFor_ = -1;
    if (checkAnsT->theCorAns == checkAnsT->userAns) {
        ansCorrect();
        return;
    }
    ++totTries;
    Answer->clear();
    if (totTries >= allowedTries())
        ansWrong();
    else if (mySpeak)
        Seams::speech().say(RoundTexts::wrongTry());
}

// Problems are spoken only while the result is asked: with the first number asked, the spoken
// problem would be the answer.
bool GameScrn::speaksProblems() const {
    return mySpeak && unknownTerm_ == 0;
}

int GameScrn::allowedTries() const {
    return myPrefs::inForce().maxTries;
}

void GameScrn::ansCorrect() {
    ++numCorrect;
    trackData(true);
    if (numCorrect == roundTotal_)
        mySounds::playRound();
    else
        mySounds::playRight();
    ScrTherm->advance(numCorrect);
    amIDone();
}

void GameScrn::ansWrong() {
    if (counter < 0)
        return;
    const rndSet& set = *myGlobals::gMySet;
    const int result = set.getCorAns(counter);
    trackData(false);
    mySounds::playWrong();
    missedBox->setText(missedBox->text() + RoundTexts::missedLine(set.getTopNum(counter),
                                                                  set.getFunc(counter),
                                                                  set.getBotNum(counter), result));
    amIDone();
}

void GameScrn::myTimer_Action() {
    if (counter < 0)
        return;
    // The time limit comes first and the round clock second: a last problem that times out ends the
    // round before its final tick is counted, so a round of 60 ticks reads 60 seconds.
    if (myTime > 0) {
        ProgBar->setValue(std::max(ProgBar->value() - timeDec, 0));
        --curTime;
        if (curTime <= 0)
            ansWrong();
        else
            TimeLeft->setText(QString::number(curTime));
    }
    ++RoundTime;
}

// ---- results and the end of the round -----------------------------------------------------------------

void GameScrn::trackData(bool correct) {
    StRecord* student = player();
    if (!student)
        return;
    const rndSet& set = *myGlobals::gMySet;
    const int second = std::abs(set.getBotNum(counter));
    const int operation = set.getFunc(counter);
    if (second < 1 || second > StRecord::kFacts || operation < 0 || operation >= StRecord::kOperations)
        return;
    ++student->triedFor(operation)[second - 1];
    if (correct)
        ++student->corFor(operation)[second - 1];
}

void GameScrn::amIDone() {
    reinitRound();
    if (counter < roundTotal_ - 1) {
        ++counter;
        ctFld->setText(QLatin1Char('#') + QString::number(counter + 1));
        resetNums();
        return;
    }

    myTimer->stop();
    ProgBar->setValue(0);
    TimeLeft->clear();
    Answer->hide();
    setMainCaption(teacherSets() && !repeatBtn->value() ? kOpenSavedSet : kPlayAgain, kActionKind);
    contBtn[2]->show();
    contBtn[2]->update();
    repeatBtn->setEnabled(true);
    repeatTxt->setEnabled(true);
    myGlobals::gLastTot = roundTotal_;
    totTimeTxt->setText(RoundTexts::roundTime(RoundTime));

    const QString firstName = player() ? player()->getFirstName() : QString();
    QString message;
    if (numCorrect == roundTotal_) {
        setStar(true);
        message = RoundTexts::perfectMessage(firstName);
    } else {
        message = RoundTexts::niceTryMessage(firstName);
        if (mySpeak)
            spkMsg = RoundTexts::missedSpeech(missedBox->text());
    }
    ShowResult(message);
    stlFocus->setFocus();
}

void GameScrn::ShowResult(const QString& message) {
    counter = -1;
    initAnimation();
    ResultTxt->setText(message);
    ResultTxt->show();
    if (mySpeak) {
        if (spkMsg.isEmpty())
            spkMsg = message;
        resultSpeak->start();
    }
}

void GameScrn::speakDelay_Action() {
    speakDelay->stop();
    // Spoken as it is when the timer fires; after the round there is no problem to speak.
    if (counter < 0 || !speaksProblems() || !myGlobals::gMySet)
        return;
    const rndSet& set = *myGlobals::gMySet;
    Seams::speech().say(RoundTexts::problemSpeech(counter + 1, set.getTopNum(counter), set.getFunc(counter),
                                                  set.getBotNum(counter)));
}

void GameScrn::resultSpeak_Action() {
    resultSpeak->stop();
    if (!spkMsg.isEmpty())
        Seams::speech().say(spkMsg);
}

void GameScrn::FileClose() {
    discarding_ = true;
    close();
}

bool GameScrn::stlFocus_KeyDown(QKeyEvent* key) {
    if (!isEnterKey(key))
        return false;
    hndlContBtn(0);
    return true;
}
