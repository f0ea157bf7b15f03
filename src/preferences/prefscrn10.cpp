#include "prefscrn10.h"

#include "app/helplink.h"
#include "app/menus.h"
#include "app/sounds.h"
#include "controls/newcnvbtn.h"
#include "data/globals.h"
#include "data/locations.h"
#include "data/prefs.h"
#include "data/seams.h"
#include "settings/numbercombo.h"
#include "signin/namescrn.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Text sizes in pixels: the standard size, and the smaller sizes some controls are given.
constexpr int kStandardText = 13;
constexpr int kSize10 = 10;
constexpr int kSize12 = 12;

const QColor kLocationCaption(65, 117, 189);

void setTextSize(QWidget* w, int pixelSize, bool italic = false) {
    QFont f = w->font();
    f.setPixelSize(pixelSize);
    f.setItalic(italic);
    w->setFont(f);
}

template <typename W> W* place(W* w, const char* name, const QRect& geometry, const QString& tip = {}) {
    w->setObjectName(QLatin1String(name));
    w->setGeometry(geometry);
    if (!tip.isEmpty())
        w->setToolTip(tip);
    return w;
}

QLabel* label(QWidget* parent, const char* name, const QRect& geometry, const QString& text,
              const QString& tip = {}) {
    auto* l = place(new QLabel(text, parent), name, geometry, tip);
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return l;
}

// The widest text a line edit shows whole, without scrolling it: its contents within the frame, less
// the margins it keeps on each side of the text (two pixels of its own, and any set), the pixel it
// keeps after the text and what the font's letters may reach beyond their advance.
int textRoom(const QLineEdit* field) {
    QStyleOptionFrame option;
    option.initFrom(field);
    option.lineWidth =
        field->hasFrame() ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field) : 0;
    const QRect contents = field->style()->subElementRect(QStyle::SE_LineEditContents, &option, field);
    const QMargins margins = field->textMargins();
    const QFontMetrics metrics = field->fontMetrics();
    const int bearings = std::max(0, -metrics.minLeftBearing()) + std::max(0, -metrics.minRightBearing());
    return contents.width() - margins.left() - margins.right() - 2 * 2 - 1 - bearings;
}

QGroupBox* groupBox(QWidget* parent, const char* name, const QRect& geometry, const QString& title) {
    return place(new QGroupBox(title, parent), name, geometry);
}

NumberCombo* numberCombo(QWidget* parent, const char* name, const QRect& geometry, const QStringList& items) {
    auto* c = new NumberCombo(QLatin1String(name), parent);
    c->setGeometry(geometry);
    c->addItems(items);
    c->setCurrentIndex(0);
    return c;
}

QStringList numbers(int first, int last, int step) {
    QStringList out;
    for (int n = first; step > 0 ? n <= last : n >= last; n += step)
        out << QString::number(n);
    return out;
}

// A tab page whose controls are laid out in the window's content coordinates: they sit on a canvas
// that is kept shifted by the page's own offset in the window, wherever the style puts the page.
class DesignPage : public QWidget {
public:
    DesignPage(QWidget* content, QWidget* parent = nullptr) : QWidget(parent), content_(content) {
        canvas_ = new QWidget(this);
        canvas_->resize(PrefScrn10::kContentWidth, PrefScrn10::kContentHeight);
    }
    QWidget* canvas() const { return canvas_; }

protected:
    void showEvent(QShowEvent* event) override {
        align();
        QWidget::showEvent(event);
    }
    void resizeEvent(QResizeEvent* event) override {
        align();
        QWidget::resizeEvent(event);
    }
    void moveEvent(QMoveEvent* event) override {
        align();
        QWidget::moveEvent(event);
    }

private:
    void align() {
        if (content_->isAncestorOf(this))
            canvas_->move(-mapTo(content_, QPoint(0, 0)));
    }
    QWidget* content_;
    QWidget* canvas_;
};

} // namespace

PrefScrn10* PrefScrn10::shared_ = nullptr;

PrefScrn10* PrefScrn10::instance() {
    if (!shared_)
        shared_ = new PrefScrn10();
    return shared_;
}

bool PrefScrn10::exists() {
    return shared_ != nullptr;
}

PrefScrn10::PrefScrn10() : QWidget(nullptr, Qt::Window) {
    setObjectName(QStringLiteral("PrefScrn10"));
    setWindowTitle(QStringLiteral("Numbrook Riza Preferences"));
    setAttribute(Qt::WA_DeleteOnClose);
    // A close box and a minimise button, no zoom.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMinimizeButtonHint);
    setTextSize(this, kStandardText);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    // The window may be made smaller than its controls; they keep their places and are cut off.
    column->setSizeConstraint(QLayout::SetNoConstraint);
    bar_ = new MenuBar1(this);
    bar_->attachTo(this);
    bar_->bindHandlers(this);
    HelpLink::bindHelpItem(bar_, this, kHelpTopic);

    content_ = new QWidget(this);
    content_->setObjectName(QStringLiteral("prefContent"));
    content_->setMinimumSize(0, 0);
    column->addWidget(content_, 1);

    saveBtn = place(new newCnvBtn(content_), "saveBtn", {470, 548, 120, 29});
    connect(saveBtn, &newCnvBtn::MouseUp, this, [this] { saveBtn_MouseUp(); });
    saveBtn->setCaption(QStringLiteral("Save"), 1);

    TabPanel1 = place(new QTabWidget(content_), "TabPanel1", {20, 40, 600, 496});
    const std::pair<const char*, void (PrefScrn10::*)(QWidget*)> tabs[] = {
        {"General", &PrefScrn10::makeGeneralTab},
        {"Sounds", &PrefScrn10::makeSoundsTab},
        {"Networking", &PrefScrn10::makeNetworkingTab},
    };
    for (const auto& [title, make] : tabs) {
        auto* page = new DesignPage(content_);
        page->setObjectName(QLatin1String(title) + QStringLiteral("Tab"));
        TabPanel1->addTab(page, QLatin1String(title));
        (this->*make)(page->canvas());
    }
    TabPanel1->setCurrentIndex(0);

    setMinimumSize(64, 64);
    setMaximumSize(32000, 32000);
    resize(kContentWidth, kContentHeight + bar_->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    setValues();
}

PrefScrn10::~PrefScrn10() {
    if (shared_ == this)
        shared_ = nullptr;
}

void PrefScrn10::makeGeneralTab(QWidget* c) {
    label(c, "StaticText1", {46, 86, 285, 20}, QStringLiteral("Administrative password (case sensitive)"));
    pwFld = place(new QLineEdit(c), "pwFld", {346, 86, 160, 22});
    clearBtn = place(new QPushButton(QStringLiteral("Clear"), c), "clearBtn", {514, 86, 72, 20});
    setTextSize(clearBtn, kSize10);
    connect(clearBtn, &QPushButton::clicked, this, [this] { clearBtn_Action(); });

    groupBox(c, "optsBox", {40, 126, 560, 132}, QStringLiteral("Student Options"));
    allowNoClass = place(new QCheckBox(QStringLiteral("Allow students to enter their own name."), c),
                         "allowNoClass", {55, 151, 285, 20});
    setTextSize(label(c, "StaticText3", {346, 151, 224, 20},
                      QStringLiteral("Name will be added to the selected Class")),
                kSize10, true);
    reqPWbtn = place(
        new QCheckBox(QStringLiteral("Require student password"), c), "reqPWbtn", {55, 177, 285, 20},
        QStringLiteral("Students will be required to enter their password before playing Numbrook Riza"));
    noAnimBox =
        place(new QCheckBox(QStringLiteral("Do not animate numbers"), c), "noAnimBox", {55, 203, 285, 20},
              QStringLiteral("Applies to vertical math problems. Will just show the numbers without "
                             "'rolling in'. Faster for short times."));
    label(c, "StaticText2", {55, 231, 360, 20},
          QStringLiteral("Number of tries before a problem is counted as wrong:"));
    NumTries = numberCombo(c, "NumTries", {440, 231, 80, 20}, numbers(2, 6, 1));

    groupBox(c, "sourceBox", {40, 276, 560, 104},
             QStringLiteral("Source of Numbrook Problems (when student selects 2 random numbers)"));
    const struct {
        const char* text;
        const char* tip;
    } sources[] = {
        {"Use student's data to select problems",
         "NB Riza will select problems based upon the student's strengths and weaknesses"},
        {"Choose random problems", "NB Riza will randomly create the problems"},
        {"Use teacher created problems", "NB Riza will create problems from data which you have entered."},
    };
    auto* sourceGroup = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        auto* b = place(new QRadioButton(QLatin1String(sources[i].text), c), "probSrcBtn",
                        {55, 302 + 26 * i, 300, 20}, QLatin1String(sources[i].tip));
        b->setProperty("index", i);
        sourceGroup->addButton(b, i);
        probSrcBtn[static_cast<std::size_t>(i)] = b;
    }
    connect(sourceGroup, &QButtonGroup::idClicked, this, [this](int i) { probSrcBtn_Action(i); });

    groupBox(c, "CritBox", {40, 402, 560, 104}, QStringLiteral("Criteria for completing a \"Fact\""));
    label(c, "StaticText4", {55, 428, 202, 20}, QStringLiteral("Minimum number of problems:"));
    numCritFld = numberCombo(c, "numCritFld", {262, 428, 70, 20}, numbers(10, 90, 10));
    noticeFld =
        label(c, "noticeFld", {354, 428, 229, 37},
              QStringLiteral("NOTE: Changing the criteria may cause some current students to gain or lose "
                             "stars."));
    noticeFld->setWordWrap(true);
    noticeFld->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextSize(noticeFld, kSize10);
    QPalette red = noticeFld->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    noticeFld->setPalette(red);
    noticeFld->hide();
    label(c, "StaticText7", {55, 454, 145, 20}, QStringLiteral("Highest fact counted:"),
          QStringLiteral("The highest fact counted toward the student's success. Range = 10 - 19"));
    hiCritFld = numberCombo(c, "hiCritFld", {262, 454, 70, 20}, numbers(10, 19, 1));
    label(c, "StaticText5", {55, 480, 293, 20}, QStringLiteral("Minimum acceptable percentage correct"),
          QStringLiteral("Minimum percentage of correct answers to \"test out of\" a given fact number. "
                         "Range = 10 %- 100%"));
    pctCritFld = numberCombo(c, "pctCritFld", {354, 480, 70, 20}, numbers(100, 70, -5));
    label(c, "StaticText6", {427, 480, 20, 20}, QStringLiteral("%"));

    for (NumberCombo* crit : {numCritFld, hiCritFld, pctCritFld}) {
        connect(crit, &NumberCombo::entryPicked, this, [this] { critFld_Change(); });
        connect(crit, &QComboBox::editTextChanged, this, [this] { critFld_Change(); });
    }
}

void PrefScrn10::makeSoundsTab(QWidget* c) {
    auto sized = [](QWidget* w) {
        setTextSize(w, kSize12);
        return w;
    };
    sized(groupBox(c, "GroupBox2", {40, 92, 190, 110}, QStringLiteral("Sounds")));
    const char* states[] = {"Sound Off", "Use Selected Sounds", "Choose Random Sounds"};
    auto* stateGroup = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        auto* b =
            place(new QRadioButton(QLatin1String(states[i]), c), "sndStateBtn", {49, 115 + 30 * i, 170, 20});
        sized(b);
        b->setProperty("index", i);
        stateGroup->addButton(b, i);
        sndStateBtn[static_cast<std::size_t>(i)] = b;
    }
    connect(stateGroup, &QButtonGroup::idClicked, this, [this](int i) { sndStateBtn_Action(i); });

    const struct {
        const char* name;
        const char* text;
    } captions[] = {{"StaticText10", "Correct Answer:"},
                    {"StaticText9", "Wrong Answer:"},
                    {"StaticText8", "Round Complete:"}};
    for (int i = 0; i < 3; ++i) {
        const int top = 112 + 30 * i;
        // At 12 pixels "Round Complete:" needs a few pixels more than 100; the captions take them from
        // the gap before the pop-ups.
        sized(label(c, captions[i].name, {251, top, 110, 20}, QLatin1String(captions[i].text)));
        auto* picker = place(new QComboBox(c), "sndSelect", {363, top, 140, 20});
        sized(picker);
        picker->setProperty("index", i);
        picker->addItem(QStringLiteral("Select"));
        picker->addItems(mySounds::listedNames(i));
        picker->setCurrentIndex(0);
        picker->setEnabled(false);
        auto* hear = place(new QPushButton(QStringLiteral("Hear"), c), "hearSndBtn", {524, top - 1, 69, 20});
        sized(hear);
        hear->setProperty("index", i);
        hear->setEnabled(false);
        sndSelect[static_cast<std::size_t>(i)] = picker;
        hearSndBtn[static_cast<std::size_t>(i)] = hear;
        connect(picker, &QComboBox::currentIndexChanged, this,
                [this, i](int row) { sndSelect_Change(i, row); });
        connect(hear, &QPushButton::clicked, this, [this, i] { hearSndBtn_Action(i); });
    }
}

void PrefScrn10::makeNetworkingTab(QWidget* c) {
    groupBox(c, "GroupBox1", {40, 100, 560, 183}, QStringLiteral("Location of Data and Preference Files"));
    QLabel* caption = label(c, "StaticText11", {64, 135, 141, 20}, QStringLiteral("Current Location:"));
    QPalette blue = caption->palette();
    blue.setColor(QPalette::WindowText, kLocationCaption);
    caption->setPalette(blue);
    localLocFld = label(c, "localLocFld", {227, 135, 300, 20}, QString());
    setTextSize(localLocFld, kSize10);
    remoteLocFld = place(new QLineEdit(c), "remoteLocFld", {64, 182, 512, 22});
    remoteLocFld->setReadOnly(true);
    setTextSize(remoteLocFld, kSize10);
    chgLocBtn = place(new QPushButton(QStringLiteral("Set/Change Server Location"), c), "chgLocBtn",
                      {70, 220, 160, 20});
    setTextSize(chgLocBtn, kSize10);
    useLocalBtn =
        place(new QPushButton(QStringLiteral("Use This Computer"), c), "useLocalBtn", {416, 220, 160, 20});
    setTextSize(useLocalBtn, kSize10);
    connect(chgLocBtn, &QPushButton::clicked, this, [this] { chgLocBtn_Action(); });
    connect(useLocalBtn, &QPushButton::clicked, this, [this] { useLocalBtn_Action(); });
}

// ---- Filling and saving

QString PrefScrn10::locationText() {
    if (myPrefs::prUseAltLoc && !myPrefs::prAltFileLoc.isEmpty())
        return QDir::toNativeSeparators(myPrefs::prAltFileLoc);
    const QString item = myPrefs::getCurrentPrefFol();
    if (item.isEmpty())
        return {};
    return QDir::toNativeSeparators(QFileInfo(item).absolutePath());
}

void PrefScrn10::showLocation() {
    localLocFld->setText(myPrefs::prUseAltLoc ? QStringLiteral("Remote Server")
                                              : QStringLiteral("This Computer"));
    // A path longer than the field keeps its start and the folder it ends in; the tip holds it whole.
    const QString location = locationText();
    const QFontMetrics metrics = remoteLocFld->fontMetrics();
    const int room = textRoom(remoteLocFld);
    QString shown = metrics.elidedText(location, Qt::ElideMiddle, room);
    // The two ends are measured apart; put together they can come out a pixel or two wider.
    for (int narrower = room - 1; metrics.horizontalAdvance(shown) > room && narrower > 0; --narrower)
        shown = metrics.elidedText(location, Qt::ElideMiddle, narrower);
    remoteLocFld->setText(shown);
    remoteLocFld->setToolTip(location);
}

void PrefScrn10::setValues() {
    showLocation();
    // Also when the start found the shared folder out of reach: leaving it is the teacher's choice.
    useLocalBtn->setEnabled(myPrefs::prUseAltLoc || !myPrefs::networkSetting().isEmpty());
    shown_ = myPrefs::current();
    pwFld->setText(myPrefs::prPassWord);
    allowNoClass->setChecked(myPrefs::prNoClass);
    reqPWbtn->setChecked(myPrefs::prReqStPW);
    noAnimBox->setChecked(myPrefs::prNoAnim);
    numCritFld->setTextQuietly(QString::number(myPrefs::prNumCrit));
    pctCritFld->setTextQuietly(QString::number(myPrefs::prPctCrit));
    hiCritFld->setTextQuietly(QString::number(myPrefs::prHiCrit));
    allowShowNotice = true;
    NumTries->setTextQuietly(QString::number(myPrefs::prMaxTries));
    showChoicesInForce();
}

void PrefScrn10::showChoicesInForce() {
    // A value only a damaged file can hold selects no button.
    if (myPrefs::prDataSource >= 0 && myPrefs::prDataSource < 3)
        probSrcBtn[static_cast<std::size_t>(myPrefs::prDataSource)]->setChecked(true);
    const int state = mySounds::getSndState();
    if (state >= 0 && state < 3)
        sndStateBtn[static_cast<std::size_t>(state)]->setChecked(true);
    // In every state the pickers show the choices in force; only state 1 lets them be changed.
    setBtnState(state == 1);
}

void PrefScrn10::showValuesInForce() {
    const myPrefs::Values now = myPrefs::current();
    if (pwFld->text() == shown_.passWord && !passwordCleared_)
        pwFld->setText(now.passWord);
    const std::pair<QCheckBox*, std::pair<bool, bool>> boxes[] = {
        {allowNoClass, {shown_.noClass, now.noClass}},
        {reqPWbtn, {shown_.reqStPW, now.reqStPW}},
        {noAnimBox, {shown_.noAnim.value_or(false), now.noAnim.value_or(false)}},
    };
    for (const auto& [box, values] : boxes) {
        if (box->isChecked() == values.first)
            box->setChecked(values.second);
    }
    const std::pair<NumberCombo*, std::pair<int, int>> numbers[] = {
        {NumTries, {shown_.maxTries, now.maxTries}},
        {numCritFld, {shown_.numCrit, now.numCrit}},
        {pctCritFld, {shown_.pctCrit, now.pctCrit}},
        {hiCritFld, {shown_.hiCrit, now.hiCrit}},
    };
    for (const auto& [box, values] : numbers) {
        if (box->currentText() == QString::number(values.first))
            box->setTextQuietly(QString::number(values.second));
    }
    shown_ = now;
    // The problem source and the sounds act at once: the window shows them as they are in force.
    showChoicesInForce();
}

myPrefs::Changes PrefScrn10::editedValues() const {
    myPrefs::Changes changes;
    const QString password = pwFld->text();
    if (password != shown_.passWord || (passwordCleared_ && password.isEmpty()))
        changes.passWord = password;
    if (allowNoClass->isChecked() != shown_.noClass)
        changes.noClass = allowNoClass->isChecked();
    if (reqPWbtn->isChecked() != shown_.reqStPW)
        changes.reqStPW = reqPWbtn->isChecked();
    if (noAnimBox->isChecked() != shown_.noAnim.value_or(false))
        changes.noAnim = noAnimBox->isChecked();
    // A number left as shown keeps the file's, held within its bounds by the save.
    const auto number = [](const QComboBox* box, int shown, int highest, int lowest) -> std::optional<int> {
        if (box->currentText() == QString::number(shown))
            return std::nullopt;
        return myGlobals::textToInt(myGlobals::limitEntry(box->currentText(), highest, lowest));
    };
    changes.maxTries = number(NumTries, shown_.maxTries, myPrefs::kMaxTries, myPrefs::kMinTries);
    changes.numCrit = number(numCritFld, shown_.numCrit, myPrefs::kMaxNumCrit, myPrefs::kMinNumCrit);
    changes.pctCrit = number(pctCritFld, shown_.pctCrit, myPrefs::kMaxPctCrit, myPrefs::kMinPctCrit);
    changes.hiCrit = number(hiCritFld, shown_.hiCrit, myPrefs::kMaxHiCrit, myPrefs::kMinHiCrit);
    // The choices in force at once count as changed while no file holds them, also when they were
    // made in an earlier opening of the window.
    const myPrefs::Values filed = myPrefs::lastFiled();
    if (myPrefs::prDataSource != filed.dataSource)
        changes.dataSource = myPrefs::prDataSource;
    if (const QString sounds = mySounds::createSndSet(); sounds != filed.sndSet)
        changes.sndSet = sounds;
    return changes;
}

void PrefScrn10::getValues() {
    for (int i = 0; i < 3; ++i) {
        if (sndStateBtn[static_cast<std::size_t>(i)]->isChecked()) {
            mySounds::setSndState(i);
            break;
        }
    }
    // Nothing saved (the shared folder out of reach, or a password that would be lost): the window
    // stays open with the teacher's edits, to be saved again or closed.
    if (!myPrefs::hndlWritingPrefs(editedValues()))
        return;
    close();
}

// ---- General tab

void PrefScrn10::saveBtn_MouseUp() {
    saveBtn->hndlMouseUp();
    getValues();
}

void PrefScrn10::clearBtn_Action() {
    pwFld->clear();
    passwordCleared_ = true;
}

void PrefScrn10::probSrcBtn_Action(int index) {
    myPrefs::prDataSource = index;
}

void PrefScrn10::critFld_Change() {
    if (allowShowNotice)
        noticeFld->setVisible(true);
}

// ---- Sounds tab

void PrefScrn10::setBtnState(bool show) {
    for (std::size_t i = 0; i < 3; ++i) {
        sndSelect[i]->setEnabled(show);
        hearSndBtn[i]->setVisible(show);
    }
    sndSelect[0]->setCurrentIndex(mySounds::getCorSnd() + 1);
    sndSelect[1]->setCurrentIndex(mySounds::getWrgSndVal() + 1);
    sndSelect[2]->setCurrentIndex(mySounds::getRndSndVal() + 1);
}

void PrefScrn10::sndSelect_Change(int index, int row) {
    QPushButton* hear = hearSndBtn[static_cast<std::size_t>(index)];
    if (row >= 1) {
        mySounds::setTheSnd(index, row - 1);
        hear->setEnabled(true);
    } else {
        // "Select" names no sound: the choice in force stays.
        hear->setEnabled(false);
    }
}

void PrefScrn10::hearSndBtn_Action(int index) {
    switch (index) {
    case 0:
        mySounds::playRight();
        break;
    case 1:
        mySounds::playWrong();
        break;
    case 2:
        mySounds::playRound();
        break;
    default:
        break;
    }
}

void PrefScrn10::sndStateBtn_Action(int index) {
    mySounds::setSndState(index);
    setBtnState(index == 1);
}

// ---- Networking tab

void PrefScrn10::chgLocBtn_Action() {
    Seams::FileRequest request;
    request.title = QStringLiteral("Select A Folder");
    request.prompt = QStringLiteral("Choose an alternate location for the data");
    request.folder = QStringLiteral("/");
    request.acceptCaption = QStringLiteral("Select");
    const QString folder = Seams::dialogs().selectFolder(request);
    if (folder.isEmpty())
        return;
    // The move is all or nothing: whatever it left in force is what the window shows.
    myPrefs::createRemoteFileInfo(folder);
    showLocation();
    showValuesInForce();
}

void PrefScrn10::useLocalBtn_Action() {
    // The location is cleared by the move itself, so that a failed move can put it back.
    myPrefs::createLocalDataFile();
    showLocation();
    showValuesInForce();
    useLocalBtn->setEnabled(myPrefs::prUseAltLoc);
}

// ---- Closing

void PrefScrn10::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (shared_ == this)
        shared_ = nullptr;
    if (leaving_)
        return;
    leaving_ = true;
    if (!Menus::quitting())
        NameScrn::instance()->show();
}
