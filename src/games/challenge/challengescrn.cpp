#include "challengescrn.h"

#include "app/buttonfaces.h"
#include "app/media.h"
#include "app/menus.h"
#include "app/sounds.h"
#include "controls/newcnvbtn.h"
#include "controls/picturecanvas.h"
#include "data/gamebests.h"
#include "data/globals.h"
#include "data/random.h"
#include "data/seams.h"
#include "data/strecord.h"
#include "games/common/gamelayout.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace {

constexpr int kBest = 3;      // the game's entry in the student's bests
constexpr int kHighParam = 2; // the student's highest-number setting

const QString kStartGame = QStringLiteral("Start Game");
const QString kStopGame = QStringLiteral("Stop Game");
const QString kCloseScreen = QStringLiteral("Close Screen");

constexpr std::uint8_t kActionKind = 1;
constexpr std::uint8_t kLightRedKind = 4;

using GameLayout::kPurple;

const QPoint kCardLayout(251, 229); // where the layout first puts the card, 2 pixels right of home

// The counters show numbers the game writes; nothing typed reaches them.
class SwallowKeys : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        return key != Qt::Key_Tab && key != Qt::Key_Backtab;
    }
};

QLineEdit* makeCounter(QWidget* parent, const char* name, QRect at, QObject* filter) {
    auto* f = new QLineEdit(parent);
    f->setObjectName(QString::fromLatin1(name));
    f->setReadOnly(true);
    f->setFont(GameLayout::pixelFont(f, 12));
    f->setGeometry(at);
    f->setContextMenuPolicy(Qt::NoContextMenu);
    f->installEventFilter(filter);
    return f;
}

// The card's number as the slots and the card show it.
void drawCardNumber(QPainter& g, const QWidget* on, int number) {
    g.setFont(GameLayout::pixelFont(on, 28));
    g.setPen(Qt::black);
    g.drawText(12, 28, QString::number(number));
}

} // namespace

// ---- the canvases ----

challengeScrn::Canvas::Canvas(const QString& name, int index, QWidget* parent)
    : QWidget(parent), Index(index) {
    setObjectName(name);
    setFocusPolicy(Qt::NoFocus);
}

void challengeScrn::Canvas::paintEvent(QPaintEvent*) {
    QPainter g(this);
    if (paint)
        paint(g);
}

void challengeScrn::Canvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && mouseDown && mouseDown())
        event->accept();
    else
        event->ignore();
}

void challengeScrn::Canvas::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton && mouseUp && rect().contains(event->position().toPoint()))
        mouseUp();
}

QPixmap challengeScrn::questionTile() {
    static QPixmap cached;
    if (cached.isNull()) {
        const QPixmap tile = Pictures::TBHelp();
        const QPixmap mask = Pictures::roundTBmask();
        if (!tile.isNull())
            cached = mask.isNull() ? tile : myGlobals::applyGreyMask(tile, mask);
    }
    return cached;
}

// ---- the window ----

challengeScrn::challengeScrn()
    : GameWindow(QStringLiteral("challengeScrn"), QStringLiteral("Math Challenge"), QSize(kWidth, kHeight),
                 kHelpTopic),
      game_([](int low, int high) { return App::myRnd().inRange(low, high); }) {
    createControls();
    Event_Open();
}

void challengeScrn::createControls() {
    QWidget* c = content();
    const Qt::Alignment centred = Qt::AlignHCenter | Qt::AlignVCenter;
    const int left[] = {101, 401, 101, 401};
    const int top[] = {89, 89, 289, 289};

    for (int i = 0; i < Challenge::kSlots; ++i) {
        // As wide as the result under it: a top number can have three digits (9 x 19 = 171).
        auto* t = GameLayout::label(c, "TopNum", QString::number(i), {left[i] - 21, top[i], 80, 32}, 28,
                                    Qt::black, centred);
        t->setProperty("index", i);
        topNum_[static_cast<std::size_t>(i)] = t;
    }
    for (int i = 0; i < Challenge::kSlots; ++i) {
        auto* n = new Canvas(QStringLiteral("NumCnv"), i, c);
        n->setGeometry(left[i], top[i] + 40, 38, 32);
        n->setCursor(Qt::PointingHandCursor);
        n->paint = [this, i](QPainter& g) {
            paintSlot(g, i);
        };
        n->mouseDown = [] {
            return true;
        };
        n->mouseUp = [this, i] {
            if (game_.allowClick())
                hndlClick(i);
        };
        numCnv_[static_cast<std::size_t>(i)] = n;
    }
    GameLayout::label(c, "StaticText1", QStringLiteral("- Wild Card!!! -"), {211, 206, 130, 20}, 12, kPurple,
                      centred);
    wildCnv_ = new Canvas(QStringLiteral("WildCnv"), 0, c);
    wildCnv_->setGeometry(QRect(kCardLayout, QSize(46, 36)));
    wildCnv_->paint = [this](QPainter& g) {
        paintCard(g);
    };
    wildCnv_->mouseDown = [this] {
        return WildCnv_MouseDown();
    };

    for (int i = 0; i < Challenge::kSlots; ++i) {
        auto* a = GameLayout::label(c, "AnsFld", QStringLiteral("X"), {left[i] - 21, top[i] + 79, 80, 32}, 28,
                                    Qt::black, centred);
        a->setProperty("index", i);
        ansFld_[static_cast<std::size_t>(i)] = a;
        auto* line = new QFrame(c);
        line->setObjectName(QStringLiteral("Line1"));
        line->setProperty("index", i);
        line->setGeometry(left[i] - 16, top[i] + 79, 70, 1);
        line->setAutoFillBackground(true);
        QPalette pal = line->palette();
        pal.setColor(QPalette::Window, Qt::black);
        line->setPalette(pal);
    }

    instrFld_ = GameLayout::label(c, "InstrFld", QString(), {30, 8, 488, 40}, 12, Qt::black, centred);
    instrFld_->setWordWrap(true);

    totTimer_ = new QTimer(this);
    totTimer_->setObjectName(QStringLiteral("totTimer"));
    totTimer_->setInterval(kClockMs);
    connect(totTimer_, &QTimer::timeout, this, [this] { totTimer_Action(); });

    trashCnv_ = new Canvas(QStringLiteral("TrashCnv"), 0, c);
    trashCnv_->setGeometry(244, 402, 59, 110);
    trashCnv_->setCursor(Qt::PointingHandCursor);
    trashCnv_->paint = [this](QPainter& g) {
        paintTrash(g);
    };
    trashCnv_->mouseDown = [] {
        return true;
    };
    trashCnv_->mouseUp = [this] {
        if (game_.allowClick())
            hndlClick(Challenge::kTrash);
    };
    GameLayout::label(c, "StaticText3", QStringLiteral("Trash"), {235, 512, 80, 20}, 12, QColor(0xFF, 0, 0),
                      centred);

    for (int i = 0; i < Challenge::kSlots; ++i) {
        auto* f = new Canvas(QStringLiteral("func"), i, c);
        f->setGeometry(left[i] - 38, top[i] + 40, 32, 32);
        f->paint = [this, i](QPainter& g) {
            paintFunction(g, i);
        };
        func_[static_cast<std::size_t>(i)] = f;
    }

    delayTimer_ = new QTimer(this);
    delayTimer_->setObjectName(QStringLiteral("delayTimer"));
    delayTimer_->setInterval(kPauseMs);
    delayTimer_->setSingleShot(true);
    connect(delayTimer_, &QTimer::timeout, this, [this] { delayTimer_Action(); });

    showWrongCnv_ = new Canvas(QStringLiteral("showWrongCnv"), 0, c);
    showWrongCnv_->setGeometry(253, 68, 40, 32);
    showWrongCnv_->paint = [this](QPainter& g) {
        g.setFont(GameLayout::pixelFont(showWrongCnv_, 28));
        g.setPen(QColor(255, 0, 0));
        g.drawText(0, 30, QStringLiteral("<<"));
    };
    showWrongCnv_->hide();

    auto* panel = new PictureCanvas(
        QStringLiteral("bkgCnv"), [] { return Pictures::CtrlPanel2(); }, PictureCanvas::Fit::Stretch, c);
    panel->setGeometry(548, 0, 232, 520);
    for (int i = 0; i < 2; ++i) {
        infoTxt_[static_cast<std::size_t>(i)] =
            GameLayout::label(c, "InfoTxt", QString(), {572, 80 + 58 * i, 189, 20}, 0, Qt::black, centred);
        infoTxt_[static_cast<std::size_t>(i)]->setProperty("index", i);
    }
    GameLayout::label(c, "showTxt1", QStringLiteral("-- Current Player --"), {572, 54, 189, 16}, 12, kPurple,
                      centred);
    showTxt2_ = GameLayout::label(c, "showTxt2", QString(31, QLatin1Char(' ')), {568, 112, 189, 16}, 12,
                                  kPurple, centred);

    auto* group = new QGroupBox(c);
    group->setObjectName(QStringLiteral("GroupBox1"));
    group->setGeometry(564, 340, 200, 154);
    startBtn_ = new newCnvBtn(c);
    startBtn_->setObjectName(QStringLiteral("StartBtn"));
    startBtn_->setGeometry(586, 390, 160, 32);
    closeBtn_ = new newCnvBtn(c);
    closeBtn_->setObjectName(QStringLiteral("CloseBtn"));
    closeBtn_->setGeometry(586, 440, 160, 32);
    GameLayout::label(c, "StaticText7", QStringLiteral("Select Action:"), {574, 351, 100, 20}, 0, kPurple,
                      Qt::AlignLeft | Qt::AlignVCenter);
    GameLayout::label(c, "StaticText8", QStringLiteral("Highest Number:"), {572, 172, 108, 16}, 12, Qt::black,
                      Qt::AlignLeft | Qt::AlignVCenter);

    auto* swallow = new SwallowKeys(this);
    GameLayout::label(c, "StaticText4", QStringLiteral("Correct"), {613, 220, 60, 20}, 12, kPurple,
                      Qt::AlignRight | Qt::AlignVCenter);
    rightFld_ = makeCounter(c, "RightFld", {686, 220, 60, 22}, swallow);
    GameLayout::label(c, "StaticText5", QStringLiteral("Wrong"), {614, 258, 60, 20}, 12, kPurple,
                      Qt::AlignRight | Qt::AlignVCenter);
    wrongFld_ = makeCounter(c, "WrongFld", {686, 258, 60, 22}, swallow);
    GameLayout::label(c, "StaticText6", QStringLiteral("Missed Chances"), {586, 296, 100, 20}, 12, kPurple,
                      Qt::AlignLeft | Qt::AlignVCenter);
    missedFld_ = makeCounter(c, "MissedFld", {686, 296, 60, 22}, swallow);

    hiNumFld_ = new QComboBox(c);
    hiNumFld_->setObjectName(QStringLiteral("hiNumFld"));
    hiNumFld_->setEditable(true);
    hiNumFld_->setCompleter(nullptr);
    hiNumFld_->setInsertPolicy(QComboBox::NoInsert);
    hiNumFld_->setFont(GameLayout::pixelFont(hiNumFld_, 12));
    hiNumFld_->setGeometry(688, 170, 68, 22);

    animTimer_ = new QTimer(this);
    animTimer_->setObjectName(QStringLiteral("animTimer"));
    animTimer_->setInterval(kFlightStepMs);
    connect(animTimer_, &QTimer::timeout, this, [this] { animTimer_Action(); });

    setTabOrder(rightFld_, wrongFld_);
    setTabOrder(wrongFld_, missedFld_);
    setTabOrder(missedFld_, hiNumFld_);

    // The Open handlers of the controls.
    startBtn_->setCaption(kStartGame, kActionKind);
    closeBtn_->setCaption(kCloseScreen, kLightRedKind);
    connect(startBtn_, &newCnvBtn::MouseUp, this, [this] { StartBtn_MouseUp(); });
    connect(closeBtn_, &newCnvBtn::MouseUp, this, [this] { CloseBtn_MouseUp(); });
    for (int n = Challenge::kLowestHigh; n <= Challenge::kHighestHigh; ++n)
        hiNumFld_->addItem(QString::number(n));
}

void challengeScrn::Event_Open() {
    infoTxt_[0]->setText(studentName());
    infoTxt_[1]->setText(storedBest(kBest, QStringLiteral("99.99")));
    showTxt2_->setText(firstName() + QStringLiteral("'s Best Avg. Time."));
    // A stored setting outside 4 to 19 is taken within it: below 2 no card could differ from the last.
    game_.setHigh(myGlobals::conv2Int(kHighParam));
    {
        const QSignalBlocker quiet(hiNumFld_); // showing the setting is no change of it
        hiNumFld_->setCurrentIndex(game_.high() - Challenge::kLowestHigh);
        hiNumFld_->setEditText(QString::number(game_.high()));
    }
    connect(hiNumFld_, &QComboBox::editTextChanged, this,
            [this](const QString& text) { hiNumFld_Change(text); });
    showSlots();
    setInstruction(
        QStringLiteral("1) Set the highest number.\n2) Click <Start Game> to play, <Stop Game> to end."));
}

bool challengeScrn::gameRunning() const {
    return closeBtn_->myCaption() == kStopGame;
}

// While the short-game question is open the game is halted but not over: the board stays as it was.
bool challengeScrn::boardInPlay() const {
    return game_.inProgress() || gameRunning();
}

void challengeScrn::changeEvent(QEvent* event) {
    GameWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Event_Activate();
}

void challengeScrn::Event_Activate() {
    setInstruction(
        QStringLiteral("1) Set the highest number.\n2) Click <Start Game> to play, <Stop Game> to end."));
}

void challengeScrn::setInstruction(const QString& text) {
    instrFld_->setText(text);
}

void challengeScrn::stopTimers() {
    totTimer_->stop();
    delayTimer_->stop();
    animTimer_->stop();
}

// ---- the panel ----

void challengeScrn::hiNumFld_Change(const QString& text) {
    if (!keepSetting(kHighParam,
                     myGlobals::limitEntry(text, Challenge::kHighestHigh, Challenge::kLowestHigh)))
        return;
    game_.setHigh(myGlobals::conv2Int(kHighParam));
    dataDirty = true;
}

void challengeScrn::StartBtn_MouseUp() {
    startBtn_->hndlMouseUp();
    if (leaving() || gameRunning())
        return;
    startBtn_->hide();
    initGame();
}

void challengeScrn::CloseBtn_MouseUp() {
    closeBtn_->hndlMouseUp();
    // The button does what File > Close does: ends a game that runs, else leaves.
    FileClose();
}

void challengeScrn::FileClose() {
    if (leaving())
        return;
    if (gameRunning())
        hndlDone();
    else
        leave();
}

// ---- the game ----

void challengeScrn::initGame() {
    game_.start();
    showCounters();
    setInstruction(
        QStringLiteral("Click the < ? > where the Wild Card! should go...\n<OR> send it to the trash."));
    totTimer_->start();
    closeBtn_->setMyCaption(kStopGame);
    closeBtn_->update();
    // start() dealt the first card; show it and the problems.
    wildCnv_->update();
    showSlots();
    for (Canvas* f : func_)
        f->update();
}

void challengeScrn::gameLoop() {
    game_.deal();
    wildCnv_->update();
    showSlots();
    if (game_.answered() > 0) {
        showTxt2_->setText(QStringLiteral("Current Average Time"));
        infoTxt_[1]->setText(GameBests::formatAverage(game_.average()));
    }
}

void challengeScrn::showCounters() {
    rightFld_->setText(QString::number(game_.right()));
    wrongFld_->setText(QString::number(game_.wrong()));
    missedFld_->setText(QString::number(game_.missed()));
}

void challengeScrn::showSlots() {
    static const QString signs[] = {QStringLiteral("+"), QStringLiteral("-"), QStringLiteral("x"),
                                    QStringLiteral("/")};
    for (int i = 0; i < Challenge::kSlots; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const QString sign =
            boardInPlay() && !game_.slotEmpty(i) ? signs[game_.problem(i).function] : QString();
        // Only a slot whose problem changed is drawn again: a card is dealt at every turn.
        if (topNum_[at]->text() == game_.topText(i) && ansFld_[at]->text() == game_.resultText(i) &&
            func_[at]->accessibleName() == sign)
            continue;
        topNum_[at]->setText(game_.topText(i));
        ansFld_[at]->setText(game_.resultText(i));
        func_[at]->setAccessibleName(sign);
        func_[at]->update();
        numCnv_[at]->update();
    }
    wildCnv_->setAccessibleName(boardInPlay() ? QString::number(game_.card()) : QString());
}

void challengeScrn::hndlClick(int target) {
    const Challenge::Outcome outcome = game_.click(target);
    switch (outcome) {
    case Challenge::Outcome::Ignored:
        return;
    case Challenge::Outcome::ToSlot:
        numCnv_[static_cast<std::size_t>(target)]->hide();
        doAnim(target);
        return;
    case Challenge::Outcome::Wrong:
    case Challenge::Outcome::Missed:
        mySounds::playWrong();
        showCounters();
        showWrong(game_.markerTarget());
        return;
    case Challenge::Outcome::ToTrash:
        trashCnv_->update();
        doAnim(Challenge::kTrash);
        return;
    }
}

bool challengeScrn::WildCnv_MouseDown() {
    if (game_.allowClick()) {
        Seams::feedback().beep();
        setInstruction(QStringLiteral("Click on the destination"));
    }
    return false;
}

void challengeScrn::showWrong(int target) {
    showWrongCnv_->move(Challenge::markerAt(target));
    showWrongCnv_->show();
    delayTimer_->start();
}

void challengeScrn::doAnim(int target) {
    flight_ = Challenge::flightTo(target);
    flightTarget_ = target;
    animTimer_->start();
}

void challengeScrn::animTimer_Action() {
    if (flightTarget_ < 0) {
        animTimer_->stop();
        return;
    }
    bool arrived = false;
    wildCnv_->move(Challenge::flightStep(wildCnv_->pos(), flight_, &arrived));
    if (!arrived)
        return;
    animTimer_->stop();
    arrive();
    // A card in a slot waits there for the pause; a trashed card is dealt anew at once.
    if (game_.isOK())
        delayTimer_->start();
    else {
        gameLoop();
        cardHome();
    }
}

// Counts the card where its flight ends, starting nothing.
void challengeScrn::arrive() {
    const int target = flightTarget_;
    flightTarget_ = -1;
    if (target == Challenge::kTrash) {
        game_.landInTrash();
        trashCnv_->update();
        mySounds::playBlip();
        return;
    }
    mySounds::playRight();
    game_.landInSlot();
    showCounters();
    numCnv_[static_cast<std::size_t>(target)]->update();
}

void challengeScrn::cardHome() {
    wildCnv_->move(Challenge::kCardHome);
}

void challengeScrn::delayTimer_Action() {
    showWrongCnv_->hide();
    delayTimer_->stop();
    if (!totTimer_->isActive())
        totTimer_->start();
    for (Canvas* n : numCnv_)
        n->show();
    cardHome();
    game_.endPause();
    gameLoop();
}

void challengeScrn::totTimer_Action() {
    game_.tick();
}

void challengeScrn::hndlDone() {
    // Nothing may fire under the question or the message: a flight lands at once and counts, and
    // what it or a pause would start next waits for the student's choice.
    enum class Next { Choice, Pause, Deal } next = Next::Choice;
    if (animTimer_->isActive()) {
        animTimer_->stop();
        bool arrived = false;
        QPoint at = wildCnv_->pos();
        while (!arrived)
            at = Challenge::flightStep(at, flight_, &arrived);
        wildCnv_->move(at);
        const bool toTrash = flightTarget_ == Challenge::kTrash;
        arrive();
        next = toTrash ? Next::Deal : Next::Pause;
    } else if (delayTimer_->isActive()) {
        delayTimer_->stop();
        next = Next::Pause;
    }
    totTimer_->stop();
    const bool wasWaiting = game_.allowClick();
    game_.stop();

    if (!game_.longEnough()) {
        if (myGlobals::resumeShortRound(Challenge::kMinAnswers)) {
            if (leaving())
                return;
            totTimer_->start();
            game_.resume();
            switch (next) {
            case Next::Pause:
                delayTimer_->start(); // the pause again; clicks wait for the card it deals
                break;
            case Next::Deal:
                gameLoop();
                cardHome();
                break;
            case Next::Choice:
                game_.setAllowClick(wasWaiting);
                break;
            }
            return;
        }
        finish();
        return;
    }

    finish();
    const double average = game_.average();
    const QString shownAverage = GameBests::formatAverage(average);
    if (myGlobals::gCurPlayer &&
        GameBests::beatsAverage(average, storedBest(kBest, QStringLiteral("99.99")))) {
        mySounds::playRound();
        showTxt2_->setText(firstName() + QStringLiteral("'s Best Avg. Time."));
        keepBest(kBest, shownAverage, QStringLiteral("99.99"));
        infoTxt_[1]->setText(shownAverage);
        dataDirty = true;
        myGlobals::gShowMsg(false,
                            QStringLiteral("Congratulations, ") + firstName() +
                                QStringLiteral("!\nYou have improved your average time per problem."),
                            QStringLiteral("Try to beat this score next time."));
    } else {
        myGlobals::gShowMsg(false,
                            QStringLiteral("Sorry, ") + firstName() +
                                QStringLiteral("\nYour average time was ") + shownAverage +
                                QStringLiteral(" which did not improve your score."),
                            QStringLiteral("You can try again at any time."));
    }
}

// The end of a game leaves nothing running and the board at rest.
void challengeScrn::finish() {
    stopTimers();
    flightTarget_ = -1;
    game_.endPause();
    showWrongCnv_->hide();
    for (Canvas* n : numCnv_)
        n->show();
    cardHome();
    trashCnv_->update();
    wildCnv_->update();
    setInstruction(QStringLiteral("Round finished.\nClick <Start Game> to play again."));
    closeBtn_->setMyCaption(kCloseScreen);
    closeBtn_->update();
    startBtn_->show();
    showSlots();
}

// ---- painting ----

void challengeScrn::paintSlot(QPainter& g, int slot) const {
    if (game_.isOK() && game_.landedSlot() == slot) {
        drawCardNumber(g, numCnv_[static_cast<std::size_t>(slot)], game_.card());
        return;
    }
    const QPixmap tile = questionTile();
    if (!tile.isNull()) {
        g.drawPixmap(4, 2, tile);
    } else {
        g.setPen(QColor(0x33, 0x55, 0x99));
        g.setBrush(QColor(0xFF, 0xF2, 0xB3));
        g.drawRoundedRect(QRect(4, 2, 29, 27), 6, 6);
        g.setFont(GameLayout::pixelFont(numCnv_[0], 20));
        g.drawText(QRect(4, 2, 30, 28), Qt::AlignCenter, QStringLiteral("?"));
    }
}

void challengeScrn::paintCard(QPainter& g) const {
    if (boardInPlay()) {
        drawCardNumber(g, wildCnv_, game_.card());
        return;
    }
    const QPixmap tile = questionTile();
    if (!tile.isNull())
        g.drawPixmap(4, 2, tile);
}

void challengeScrn::paintTrash(QPainter& g) const {
    const QRect area = trashCnv_->rect();
    g.setRenderHint(QPainter::SmoothPixmapTransform);
    if (game_.isTrash()) {
        const QPixmap open = Pictures::can_open3();
        if (!open.isNull())
            g.drawPixmap(area, open);
    } else {
        // The closed can's picture holds the can in its top rows: it stands 43 rows lower.
        const QPixmap closed = Pictures::can_closed3();
        if (!closed.isNull())
            g.drawPixmap(area.translated(0, 43), closed);
    }
}

void challengeScrn::paintFunction(QPainter& g, int slot) const {
    // A slot answered keeps its problem's sign until the next deal refills it: the card that flew
    // over it, or stands beside it in the pause, must not leave part of the sign blank.
    if (!boardInPlay())
        return;
    const QPixmap picture = GameLayout::signPicture(game_.problem(slot).function);
    if (picture.isNull())
        return;
    g.setRenderHint(QPainter::SmoothPixmapTransform);
    g.drawPixmap(QRect(0, 0, 32, 32), picture, QRect(0, 0, 48, 48));
}
