// The program's 25 sounds: file name, how the preferences window lists it, the words spoken
// in it (if any) and the recipe that makes it.
#pragma once

#include "synth.h"

#include <functional>
#include <string>
#include <vector>

struct Sound {
    std::string name;     // file name without ".wav" (case matters: "Wrong5", "Wrong6")
    std::string listedAs; // the name the preferences window shows for it
    std::string words;    // spoken with espeak-ng at generation time; empty for pure music
    double peak;          // loudness: feedback for a wrong answer stays softer than praise
    // Makes the sound; `speech` is the recorded words or null when they are not available.
    std::function<synth::Buffer(const synth::Buffer* speech)> make;
};

std::vector<Sound> allSounds();
