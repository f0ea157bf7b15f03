#include "sounds.h"

#include "data/globals.h"
#include "data/prefs.h"
#include "data/random.h"
#include "data/seams.h"
#include "media.h"

namespace mySounds {

SoundSet correctSnds;
SoundSet wrongSnds;
SoundSet roundSnds;
QString blipSnd;

namespace {

// Sounds off until the preferences say otherwise.
int sndState = 0;
int corSndVal = 0;
int wrgSndVal = 0;
int rndSndVal = 0;

constexpr std::array<const char*, kSetSize> kCorrectFiles{"right1", "right2", "right3", "right4",
                                                          "right5", "right6", "right7", "right8"};
constexpr std::array<const char*, kSetSize> kWrongFiles{"wrong1", "wrong2", "wrong3", "wrong4",
                                                        "Wrong5", "Wrong6", "wrong7", "wrong8"};
constexpr std::array<const char*, kSetSize> kRoundFiles{"round1", "round2", "round3", "round4",
                                                        "round5", "round6", "round7", "round8"};

int clampIndex(int index) {
    return myGlobals::limitValueRange(index, 0, kSetSize - 1);
}

void load(SoundSet& set, const std::array<const char*, kSetSize>& names) {
    for (int i = 0; i < kSetSize; ++i) {
        const QString name = QString::fromLatin1(names[static_cast<std::size_t>(i)]);
        set[static_cast<std::size_t>(i)] = ProjectMedia::soundPath(name).isEmpty() ? QString() : name;
    }
}

void playFrom(const SoundSet& set, int chosen) {
    int index = 0;
    switch (sndState) {
    case 0:
        return;
    case 1:
        index = chosen;
        break;
    case 2:
        index = App::myRnd().inRange(0, kSetSize - 1);
        break;
    default: // a state the preferences window never writes: the first sound of the set
        break;
    }
    const QString& sound = set[static_cast<std::size_t>(clampIndex(index))];
    if (!sound.isEmpty())
        Seams::feedback().playSound(sound);
}

} // namespace

void loadMySnds() {
    load(correctSnds, kCorrectFiles);
    load(wrongSnds, kWrongFiles);
    load(roundSnds, kRoundFiles);
    blipSnd = Sounds::blip().isEmpty() ? QString() : QStringLiteral("blip");
}

void playRight() {
    playFrom(correctSnds, corSndVal);
}

void playWrong() {
    playFrom(wrongSnds, wrgSndVal);
}

void playRound() {
    playFrom(roundSnds, rndSndVal);
}

void playBlip() {
    if (sndState != 0 && !blipSnd.isEmpty())
        Seams::feedback().playSound(blipSnd);
}

void setStates() {
    const QStringList fields = myPrefs::prSndSet.split(QLatin1Char(','));
    const auto field = [&fields](int n) {
        return n < fields.size() ? myGlobals::textToInt(fields[n]) : 0;
    };
    sndState = field(0);
    corSndVal = clampIndex(field(1));
    wrgSndVal = clampIndex(field(2));
    rndSndVal = clampIndex(field(3));
}

QString createSndSet() {
    return QStringLiteral("%1,%2,%3,%4").arg(sndState).arg(corSndVal).arg(wrgSndVal).arg(rndSndVal);
}

void setTheSnd(int kind, int index) {
    switch (kind) {
    case 0:
        corSndVal = clampIndex(index);
        break;
    case 1:
        wrgSndVal = clampIndex(index);
        break;
    case 2:
        rndSndVal = clampIndex(index);
        break;
    default:
        break;
    }
}

void setSndState(int state) {
    sndState = state;
}

int getSndState() {
    return sndState;
}

int getCorSnd() {
    return corSndVal;
}

int getWrgSndVal() {
    return wrgSndVal;
}

int getRndSndVal() {
    return rndSndVal;
}

QStringList listedNames(int kind) {
    switch (kind) {
    case 0:
        return {QStringLiteral("Laugh"),  QStringLiteral("Cash Reg"), QStringLiteral("Bing"),
                QStringLiteral("Yea!"),   QStringLiteral("Boing"),    QStringLiteral("Yes!"),
                QStringLiteral("strike"), QStringLiteral("Boing2")};
    case 1:
        return {QStringLiteral("Oops"),   QStringLiteral("Air Horn"), QStringLiteral("Truck Horn"),
                QStringLiteral("Doup!"),  QStringLiteral("Yuck!"),    QStringLiteral("Laugh"),
                QStringLiteral("Cackle"), QStringLiteral("Aw Man!")};
    case 2:
        return {QStringLiteral("TaDa"),     QStringLiteral("Arpeggio"),      QStringLiteral("Drums"),
                QStringLiteral("Applause"), QStringLiteral("Reveille"),      QStringLiteral("Fireworks"),
                QStringLiteral("Goodbye"),  QStringLiteral("Hasta La Vista")};
    default:
        return {};
    }
}

} // namespace mySounds
