#pragma once

// The feedback sounds: a right-answer, a wrong-answer and an end-of-round sound, each out of a set of
// eight, and the click. Which sound of a set plays depends on the sound state: 0 no sounds, 1 the
// chosen sound of each set, 2 a random sound of each set. The state and the three chosen sounds are
// stored in the preferences as one text, "state,right,wrong,round" (myPrefs::prSndSet).

#include <QString>
#include <QStringList>

#include <array>

namespace mySounds {

inline constexpr int kSetSize = 8;
using SoundSet = std::array<QString, kSetSize>;

// The project names of the loaded sounds; an entry stays empty when its file could not be loaded.
extern SoundSet correctSnds;
extern SoundSet wrongSnds;
extern SoundSet roundSnds;
extern QString blipSnd;

// Fills the three sets and the click. Called once at start-up.
void loadMySnds();

// Each starts one sound of its set as the sound state says and returns at once.
void playRight();
void playWrong();
void playRound();
// The click; plays in every state but 0.
void playBlip();

// Reads myPrefs::prSndSet into the live settings. Missing fields and fields that are no number read
// as 0; the chosen sounds are clamped to 0 to 7.
void setStates();
// The settings text of the live settings.
QString createSndSet();

// kind 0 right answers, 1 wrong answers, 2 end of round; another kind changes nothing. The index is
// clamped to 0 to 7.
void setTheSnd(int kind, int index);
void setSndState(int state);
int getSndState();
int getCorSnd();
int getWrgSndVal();
int getRndSndVal();

// The names under which the preferences window lists the sounds of a set (kind as in setTheSnd).
QStringList listedNames(int kind);

} // namespace mySounds
