#include "msqrsscrn.h"

#include "app/media.h"
#include "app/menus.h"
#include "app/sounds.h"
#include "controls/newcnvbtn.h"
#include "controls/picturecanvas.h"
#include "data/globals.h"
#include "data/random.h"
#include "data/strecord.h"
#include "games/common/focuskeeper.h"
#include "games/common/gamelayout.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>

namespace {

constexpr int kBest = 2; // the game's entry in the student's bests

const QString kStartGame = QStringLiteral("Start Game");
const QString kNewBoard = QStringLiteral("New Game Board");
const QString kStopGame = QStringLiteral("Stop The Game");
const QString kCloseScreen = QStringLiteral("Close Screen");

constexpr std::uint8_t kActionKind = 1;
constexpr std::uint8_t kLightRedKind = 4;

using GameLayout::kPurple;

constexpr int kBoardLeft = 20;
constexpr int kBoardTop = 126;
constexpr int kPitch = 50;
constexpr int kSquareSize = 48;

} // namespace

// ---- the control classes ----

MSqrsScrn::NumCnv::NumCnv(int index, QWidget* parent) : mySqrBtn(parent), Index(index) {
    setObjectName(QStringLiteral("NumCnv"));
    setFocusPolicy(Qt::NoFocus);
    // The pointing hand over every square says the board takes clicks.
    setCursor(Qt::PointingHandCursor);
    setGeometry(kBoardLeft, kBoardTop, kSquareSize, kSquareSize);
}

void MSqrsScrn::NumCnv::mousePressEvent(QMouseEvent* event) {
    // Accepting the press is what brings the release to this square.
    event->accept();
}

void MSqrsScrn::NumCnv::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && released)
        released(Index);
}

MSqrsScrn::Display::Display(const QString& name, QWidget* parent, std::function<void(QPainter&)> paint)
    : QWidget(parent), paint_(std::move(paint)) {
    setObjectName(name);
    setFocusPolicy(Qt::NoFocus);
}

void MSqrsScrn::Display::paintEvent(QPaintEvent*) {
    QPainter g(this);
    if (paint_)
        paint_(g);
}

// ---- the window ----

MSqrsScrn::MSqrsScrn()
    : GameWindow(QStringLiteral("MSqrsScrn"), QStringLiteral("Math Squares"), QSize(kWidth, kHeight),
                 kHelpTopic),
      board_([](int low, int high) { return App::myRnd().inRange(low, high); }),
      paintColours_(QRandomGenerator::global()->generate()) {
    createControls();
    Event_Open();
}

void MSqrsScrn::createControls() {
    QWidget* c = content();
    const Qt::Alignment centred = Qt::AlignHCenter | Qt::AlignVCenter;

    squares_[0] = new NumCnv(0, c);
    GameLayout::label(c, "StaticText1", QStringLiteral("- Target Number -"), {442, 100, 120, 20}, 12,
                      Qt::black, centred);
    GameLayout::label(c, "StaticText2", QStringLiteral("- Current Total -"), {442, 176, 120, 20}, 12,
                      Qt::black, centred);

    modes_ = new QButtonGroup(this);
    modes_->setExclusive(true);
    for (int i = 0; i < 4; ++i) {
        auto* b = new QToolButton(c);
        b->setObjectName(QStringLiteral("modeBtn"));
        b->setProperty("index", i);
        b->setCheckable(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFont(GameLayout::pixelFont(b, 18, i == 0));
        b->setGeometry(128 + 64 * i, 77, 32, 32);
        modes_->addButton(b, i);
        modeBtn_[static_cast<std::size_t>(i)] = b;
    }
    // The plus, an en dash, a capital X and the division sign.
    const QString captions[] = {QStringLiteral("+"), QStringLiteral("\u2013"), QStringLiteral("X"),
                                QStringLiteral("\u00F7")};
    for (int i = 0; i < 4; ++i)
        modeBtn_[static_cast<std::size_t>(i)]->setText(captions[i]);
    modeBtn_[0]->setChecked(true);
    connect(modes_, &QButtonGroup::idClicked, this, [this](int id) { modeBtn_Action(id); });

    targetCnv_ = new Display(QStringLiteral("TargetCnv"), c,
                             [this](QPainter& g) { paintNumber(g, targetCnv_, board_.target()); });
    targetCnv_->setGeometry(452, 126, 100, 40);
    totalCnv_ = new Display(QStringLiteral("TotalCnv"), c,
                            [this](QPainter& g) { paintNumber(g, totalCnv_, board_.total()); });
    totalCnv_->setGeometry(452, 202, 100, 40);
    ptsCnv_ = new Display(QStringLiteral("PtsCnv"), c,
                          [this](QPainter& g) { paintNumber(g, ptsCnv_, board_.earned()); });
    ptsCnv_->setGeometry(452, 386, 100, 40);
    GameLayout::label(c, "StaticText3", QStringLiteral("- Total Points -"), {432, 360, 140, 20}, 12,
                      Qt::black, centred);
    GameLayout::label(c, "StaticText4", QStringLiteral("* Points Available *"), {442, 291, 120, 20}, 12,
                      Qt::black, centred);
    scoreCnv_ =
        new Display(QStringLiteral("ScoreCnv"), c, [this](QPainter& g) { ScoreCnv_Paint(g, scoreCnv_); });
    scoreCnv_->setGeometry(452, 317, 100, 26);

    instrFld_ = GameLayout::label(c, "instrFld", QString(), {40, 3, 512, 46}, 18, Qt::black,
                                  Qt::AlignLeft | Qt::AlignVCenter);

    auto* panel = new PictureCanvas(
        QStringLiteral("sqrsCtrlPanel"), [] { return Pictures::CtrlPanel2(); }, PictureCanvas::Fit::Stretch,
        c);
    panel->setGeometry(568, 0, 232, 520);
    infoTxt_[0] = GameLayout::label(c, "InfoTxt", QString(), {592, 86, 189, 20}, 0, Qt::black, centred);
    infoTxt_[0]->setProperty("index", 0);
    infoTxt_[1] = GameLayout::label(c, "InfoTxt", QString(), {592, 144, 189, 20}, 0, Qt::black, centred);
    infoTxt_[1]->setProperty("index", 1);
    GameLayout::label(c, "showTxt1", QStringLiteral("-- Current Player --"), {592, 60, 189, 16}, 12, kPurple,
                      centred);
    showTxt2_ = GameLayout::label(c, "showTxt2", QString(), {588, 118, 189, 16}, 12, kPurple, centred);

    auto* group = new QGroupBox(c);
    group->setObjectName(QStringLiteral("sqrsGroupBox"));
    group->setGeometry(588, 336, 192, 150);
    GameLayout::label(c, "StaticText5", QStringLiteral("Select Action:"), {598, 343, 100, 20}, 0, kPurple,
                      Qt::AlignLeft | Qt::AlignVCenter);
    closeBtn_ = new newCnvBtn(c);
    closeBtn_->setObjectName(QStringLiteral("closeBtn"));
    closeBtn_->setGeometry(602, 429, 160, 32);
    startBtn_ = new newCnvBtn(c);
    startBtn_->setObjectName(QStringLiteral("startBtn"));
    startBtn_->setGeometry(602, 375, 160, 32);

    undoBtn_ = new QPushButton(QStringLiteral("Undo Last Move"), c);
    undoBtn_->setObjectName(QStringLiteral("undoBtn"));
    undoBtn_->setFocusPolicy(Qt::NoFocus);
    undoBtn_->setGeometry(622, 271, 120, 22);
    undoBtn_->setEnabled(false);
    connect(undoBtn_, &QPushButton::clicked, this, [this] { undoBtn_Action(); });

    diffMenu_ = new QComboBox(c);
    diffMenu_->setObjectName(QStringLiteral("diffMenu"));
    diffMenu_->setFocusPolicy(Qt::NoFocus);
    diffMenu_->addItems({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")});
    diffMenu_->setGeometry(682, 208, 60, 20);
    GameLayout::label(c, "StaticText7", QStringLiteral("Difficulty:"), {594, 210, 80, 20}, 0, kPurple,
                      Qt::AlignRight | Qt::AlignVCenter);

    auto* line = new QFrame(c);
    line->setObjectName(QStringLiteral("Line1"));
    line->setGeometry(452, 265, 100, 2);
    line->setAutoFillBackground(true);
    QPalette linePal = line->palette();
    linePal.setColor(QPalette::Window, Qt::black);
    line->setPalette(linePal);

    auto* setFunction = GameLayout::label(c, "StaticText6", QStringLiteral("Set\nFunction"), {50, 77, 60, 36},
                                          0, kPurple, centred);
    setFunction->setWordWrap(true);

    // Keys other than the operations' do nothing here, silently.
    stlFocus_ = new FocusKeeper(QStringLiteral("stlFocus"), c, [this](QKeyEvent* key) {
        stlFocus_KeyDown(key->text());
        return true;
    });
    stlFocus_->setGeometry(899, 79, 80, 22);

    for (int i = 0; i < 4; ++i) {
        auto* n = GameLayout::label(c, "smNum", QString::number(i + 1), {134 + 64 * i, 55, 18, 20}, 9,
                                    Qt::black, centred);
        n->setProperty("index", i);
    }

    instrFld_->setWordWrap(true);

    // The Open handlers of the controls.
    startBtn_->setCaption(kStartGame, kActionKind);
    closeBtn_->setCaption(kCloseScreen, kLightRedKind);
    connect(startBtn_, &newCnvBtn::MouseUp, this, [this] { startBtn_MouseUp(); });
    connect(closeBtn_, &newCnvBtn::MouseUp, this, [this] { closeBtn_MouseUp(); });
    diffMenu_->setCurrentIndex(1);
    diffMenu_Change(1);
    connect(diffMenu_, &QComboBox::currentIndexChanged, this, [this](int row) { diffMenu_Change(row); });
}

void MSqrsScrn::Event_Open() {
    infoTxt_[0]->setText(studentName());
    infoTxt_[1]->setText(storedBest(kBest, QStringLiteral("0")));
    showTxt2_->setText(firstName() + QStringLiteral("'s Highest Score"));
    createNumCnv();
    setInstruction(Squares::startInstruction());
    stlFocus_->setFocus();
}

void MSqrsScrn::createNumCnv() {
    QWidget* c = content();
    for (int k = 0; k < Squares::kSquares; ++k) {
        NumCnv* square = k == 0 ? squares_[0] : new NumCnv(k, c);
        if (k > 0) {
            // Each square goes beside the one before it, and back to the left edge at each new row.
            const QPoint before = squares_[static_cast<std::size_t>(k - 1)]->pos();
            square->move(k % Squares::kRow == 0 ? QPoint(kBoardLeft, before.y() + kPitch)
                                                : QPoint(before.x() + kPitch, before.y()));
        }
        square->released = [this](int index) {
            NumCnv_MouseUp(index);
        };
        connect(square, &mySqrBtn::Paint, this, [this, square](QPainter& g) { NumCnv_Paint(square, g); });
        squares_[static_cast<std::size_t>(k)] = square;
        square->show();
        refreshSquare(k);
    }
    refreshDisplays();
}

bool MSqrsScrn::gameRunning() const {
    return closeBtn_->myCaption() != kCloseScreen;
}

void MSqrsScrn::changeEvent(QEvent* event) {
    GameWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Event_Activate();
}

void MSqrsScrn::Event_Activate() {
    setInstruction(Squares::startInstruction());
}

void MSqrsScrn::setInstruction(const QString& text) {
    instrFld_->setText(text);
}

// ---- the board ----

void MSqrsScrn::NumCnv_MouseUp(int index) {
    if (leaving())
        return;
    const Squares::Outcome outcome = board_.click(index);
    switch (outcome) {
    case Squares::Outcome::Ignored:
        return;
    case Squares::Outcome::Used:
    case Squares::Outcome::NotAdjacent:
    case Squares::Outcome::TooBig:
        setInstruction(Squares::instructionFor(outcome));
        mySounds::playWrong();
        return;
    default:
        hndlGuess(index, outcome);
    }
}

void MSqrsScrn::hndlGuess(int square, Squares::Outcome outcome) {
    mySounds::playBlip();
    refreshSquare(square);
    if (board_.previous() >= 0)
        refreshSquare(board_.previous());
    if (outcome == Squares::Outcome::Hit)
        mySounds::playRight();
    setInstruction(Squares::instructionFor(outcome));
    refreshDisplays();
    setUndoState(board_.canUndo());
}

void MSqrsScrn::NumCnv_Paint(const NumCnv* square, QPainter& g) const {
    const int k = square->Index;
    const QRect area = square->rect();
    QPixmap face;
    if (board_.isUsed(k))
        face = k == board_.current() ? Pictures::curLocBtn() : Pictures::selMDBtn();
    else
        face = Pictures::button64();
    if (!face.isNull()) {
        g.setRenderHint(QPainter::SmoothPixmapTransform);
        g.drawPixmap(area, face);
    } else {
        // Without the pictures the three faces still differ.
        const QColor plain = !board_.isUsed(k)       ? QColor(0xE8, 0xEE, 0xF8)
                             : k == board_.current() ? QColor(0xFF, 0xD8, 0x6B)
                                                     : QColor(0xA9, 0xB8, 0xCF);
        g.fillRect(area, plain);
    }
    if (board_.allowClick())
        square->drawMyNum(g, QString::number(board_.digit(k)), 18);
    g.setPen(Qt::black);
    g.setBrush(Qt::NoBrush);
    g.drawRect(0, 0, area.width() - 1, area.height() - 1);
}

void MSqrsScrn::paintNumber(QPainter& g, const QWidget* canvas, long long value) {
    const QString text = Squares::formatDisplay(value);
    g.setFont(GameLayout::pixelFont(canvas, 24, false, true));
    const int x = (canvas->width() - g.fontMetrics().horizontalAdvance(text)) / 2;
    g.setPen(Qt::black);
    g.drawText(x, 30, text);
    const auto channel = [this] {
        return static_cast<int>(paintColours_.bounded(128, 256));
    };
    const int r = channel();
    const int gr = channel();
    const int b = channel();
    g.setPen(QColor(r, gr, b));
    g.drawText(x - 2, 28, text);
}

void MSqrsScrn::ScoreCnv_Paint(QPainter& g, const QWidget* canvas) const {
    const QString text = Squares::formatDisplay(board_.available());
    g.setFont(GameLayout::pixelFont(canvas, 12));
    const int x = (canvas->width() - g.fontMetrics().horizontalAdvance(text)) / 2;
    g.setPen(Qt::black);
    g.drawText(x, 20, text);
}

void MSqrsScrn::modeBtn_Action(int index) {
    board_.setFunction(index);
}

void MSqrsScrn::refreshSquare(int square) {
    if (square < 0 || square >= Squares::kSquares)
        return;
    NumCnv* s = squares_[static_cast<std::size_t>(square)];
    s->setAccessibleName(board_.allowClick() ? QString::number(board_.digit(square)) : QString());
    s->setAccessibleDescription(!board_.isUsed(square)       ? QStringLiteral("free")
                                : square == board_.current() ? QStringLiteral("current")
                                                             : QStringLiteral("used"));
    s->update();
}

void MSqrsScrn::refreshDisplays() {
    for (QWidget* d : {static_cast<QWidget*>(targetCnv_), static_cast<QWidget*>(totalCnv_),
                       static_cast<QWidget*>(ptsCnv_), static_cast<QWidget*>(scoreCnv_)})
        d->update();
    targetCnv_->setAccessibleName(Squares::formatDisplay(board_.target()));
    totalCnv_->setAccessibleName(Squares::formatDisplay(board_.total()));
    ptsCnv_->setAccessibleName(Squares::formatDisplay(board_.earned()));
    scoreCnv_->setAccessibleName(Squares::formatDisplay(board_.available()));
}

// ---- buttons, keys and menus ----

void MSqrsScrn::newGame(bool freshGame) {
    if (freshGame)
        board_.startGame();
    else
        board_.deal();
    for (int k = 0; k < Squares::kSquares; ++k)
        refreshSquare(k);
    refreshDisplays();
    setInstruction(Squares::newBoardInstruction());
    closeBtn_->setMyCaption(kStopGame);
    closeBtn_->update();
    setUndoState(false);
    stlFocus_->setFocus();
}

void MSqrsScrn::startBtn_MouseUp() {
    startBtn_->hndlMouseUp();
    if (leaving())
        return;
    // "Start Game" starts the points again; "New Game Board" keeps them.
    const bool freshGame = startBtn_->myCaption() == kStartGame;
    if (freshGame) {
        startBtn_->setMyCaption(kNewBoard);
        startBtn_->update();
    }
    newGame(freshGame);
}

void MSqrsScrn::closeBtn_MouseUp() {
    closeBtn_->hndlMouseUp();
    // The button does what File > Close does: ends a game that runs, else leaves.
    FileClose();
}

void MSqrsScrn::FileClose() {
    if (leaving())
        return;
    if (gameRunning())
        stopGame();
    else
        leave();
}

void MSqrsScrn::stopGame() {
    hndlDone();
    startBtn_->setMyCaption(kStartGame);
    startBtn_->update();
}

void MSqrsScrn::hndlDone() {
    const long long points = board_.earned();
    if (myGlobals::gCurPlayer && Squares::beatsBest(points, storedBest(kBest, QStringLiteral("0")))) {
        mySounds::playRound();
        keepBest(kBest, QString::number(points), QStringLiteral("0"));
        infoTxt_[1]->setText(QString::number(points));
        dataDirty = true;
        myGlobals::gShowMsg(false,
                            QStringLiteral("Congratulations, ") + firstName() +
                                QStringLiteral("!\nYou have achieved a new HIGH SCORE"),
                            QStringLiteral("Try to beat this score next time."));
    } else {
        myGlobals::gShowMsg(false,
                            QStringLiteral("Sorry, ") + firstName() +
                                QStringLiteral("\nYour total points were ") + QString::number(points) +
                                QStringLiteral(" which did not improve your score."),
                            QStringLiteral("You can try again at any time."));
    }
    closeBtn_->setMyCaption(kCloseScreen);
    closeBtn_->update();
}

void MSqrsScrn::setUndoState(bool canUndo) {
    undoBtn_->setEnabled(canUndo);
}

void MSqrsScrn::hndlUndo() {
    const int taken = board_.current();
    if (!board_.undo())
        return;
    refreshSquare(taken);
    refreshSquare(board_.current());
    refreshDisplays();
    setUndoState(false);
}

void MSqrsScrn::undoBtn_Action() {
    hndlUndo();
}

void MSqrsScrn::EditUndo() {
    if (board_.canUndo())
        hndlUndo();
}

void MSqrsScrn::diffMenu_Change(int row) {
    if (row >= 0)
        board_.setDifficulty(row + 1);
}

bool MSqrsScrn::stlFocus_KeyDown(const QString& key) {
    const int k = key.size() == 1 ? key.at(0).digitValue() : -1;
    if (k < 1 || k > 4)
        return true;
    modeBtn_[static_cast<std::size_t>(k - 1)]->setChecked(true);
    board_.setFunction(k - 1);
    return false;
}
