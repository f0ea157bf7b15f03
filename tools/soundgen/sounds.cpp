#include "sounds.h"

#include <cmath>
#include <numbers>

using namespace synth;

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// MIDI note numbers of the notes used below.
enum : int {
    G3 = 55,
    Ab3 = 56,
    A3 = 57,
    Bb3 = 58,
    C4 = 60,
    D4 = 62,
    G4 = 67,
    C5 = 72,
    E5 = 76,
    G5 = 79,
    C6 = 84,
    E6 = 88,
    G6 = 91,
    C7 = 96,
    E7 = 100
};

// Words first, then a short musical answer that starts as the words end.
Buffer afterWords(const Buffer* speech, const Buffer& accent, double overlap = 0.04) {
    Buffer out;
    double at = 0;
    if (speech) {
        out = *speech;
        at = std::max(0.0, seconds(*speech) - overlap);
    }
    mix(out, accent, at, speech ? 0.55 : 1.0);
    return out;
}

Buffer chordOf(std::initializer_list<int> notes, double dur, double vibrato = 0.0) {
    Buffer out;
    for (int n : notes)
        mix(out, brass(noteHz(n), dur, vibrato), 0, 1.0 / notes.size());
    return out;
}

// ---- the click ---------------------------------------------------------------------------------

Buffer blip(const Buffer*) {
    Buffer out = oscillator(
        0.06, [](double t) { return 1500.0 * std::exp(-t * 14.0); }, Wave::Sine);
    percussive(out, 0.001, 0.012);
    Buffer tick = noiseBurst(0.01, 11);
    bandpass(tick, 3200, 1.5);
    percussive(tick, 0.0005, 0.002);
    mix(out, tick, 0, 0.25);
    out.resize(size_t(samples(0.2)), 0.0f);
    return out;
}

// ---- right answers -------------------------------------------------------------------------------

Buffer happyLaugh(const Buffer*) {
    // "Ha-ha-ha-ha": open "ah" syllables, each falling a little, the whole laugh falling too.
    Buffer out;
    for (int i = 0; i < 5; ++i) {
        const double p0 = 470.0 - i * 22.0;
        Buffer s = syllable(
            0.105, [p0](double t) { return p0 * (1.0 - 0.9 * t); }, 820, 1280, 0.5, std::uint32_t(100 + i));
        mix(out, s, i * 0.145);
    }
    Buffer sparkle = bell(noteHz(C7), 0.5, 0.8);
    mix(out, sparkle, 0.0, 0.15);
    reverb(out, 0.18, 0.25);
    return out;
}

Buffer cashRegister(const Buffer*) {
    Buffer out;
    for (int k = 0; k < 2; ++k) {
        Buffer click = noiseBurst(0.02, std::uint32_t(21 + k));
        bandpass(click, 3000 - k * 700, 3.0);
        percussive(click, 0.0005, 0.004);
        mix(out, click, k * 0.07, 0.9);
    }
    Buffer drawer = noiseBurst(0.12, 23);
    bandpass(drawer, 1300, 2.0);
    adsr(drawer, 0.02, 0.03, 0.6, 0.05);
    mix(out, drawer, 0.1, 0.25);
    mix(out, bell(noteHz(C7), 0.95, 1.1), 0.16, 0.55);
    mix(out, bell(noteHz(E7), 0.9, 1.0), 0.165, 0.45);
    reverb(out, 0.15, 0.2);
    return out;
}

Buffer bing(const Buffer*) {
    Buffer out = bell(noteHz(E6), 1.05, 1.0);
    mix(out, bell(noteHz(E7), 0.7, 0.6), 0.0, 0.25);
    reverb(out, 0.2, 0.25);
    return out;
}

Buffer yayWords(const Buffer* speech) {
    Buffer accent;
    const int notes[] = {C6, E6, G6, C7};
    for (int i = 0; i < 4; ++i)
        mix(accent, marimba(noteHz(notes[i]), 0.35), i * 0.045, 0.7);
    reverb(accent, 0.2, 0.2);
    return afterWords(speech, accent);
}

Buffer boing(const Buffer*) {
    Buffer out = oscillator(
        0.72,
        [](double t) {
            const double rise = 190.0 + 130.0 * (1.0 - std::exp(-t * 30.0));
            return rise * (1.0 + 0.28 * std::exp(-t / 0.22) * std::sin(kTwoPi * 15.0 * t));
        },
        Wave::Triangle);
    percussive(out, 0.004, 0.24);
    return out;
}

Buffer yesWords(const Buffer* speech) {
    Buffer accent = bell(noteHz(G6), 0.55, 0.9);
    mix(accent, bell(noteHz(C7), 0.6, 0.9), 0.09, 1.0);
    reverb(accent, 0.2, 0.2);
    return afterWords(speech, accent);
}

Buffer strike(const Buffer*) {
    // The ball rolls, the pins clatter, a bell says "well done".
    Buffer out;
    Buffer roll = noiseBurst(0.45, 71);
    lowpass(roll, 260, 0.9);
    adsr(roll, 0.35, 0.02, 1.0, 0.06);
    mix(out, roll, 0, 0.9);
    Buffer hum = tone(0.45, 65, Wave::Sine);
    adsr(hum, 0.35, 0.02, 1.0, 0.06);
    mix(out, hum, 0, 0.3);
    Noise rnd(72);
    for (int k = 0; k < 16; ++k) {
        const double at = 0.42 + 0.32 * std::pow(rnd.uniform(0, 1), 1.8);
        Buffer knock = marimba(rnd.uniform(520, 1250), 0.12);
        Buffer wood = noiseBurst(0.03, std::uint32_t(200 + k));
        bandpass(wood, rnd.uniform(900, 2400), 6.0);
        percussive(wood, 0.0005, 0.01);
        mix(knock, wood, 0, 0.9);
        mix(out, knock, at, rnd.uniform(0.35, 0.8));
    }
    mix(out, bell(noteHz(C7), 0.45, 0.8), 0.95, 0.3);
    mix(out, bell(noteHz(G6), 0.45, 0.8), 0.9, 0.25);
    reverb(out, 0.15, 0.1);
    return out;
}

Buffer boing2(const Buffer*) {
    Buffer out = oscillator(
        0.62,
        [](double t) {
            const double sweep = 150.0 * std::pow(4.0, std::min(1.0, t / 0.3));
            return sweep * (1.0 + 0.07 * std::sin(kTwoPi * 9.0 * t));
        },
        Wave::Square, 1.6);
    lowpass(out, 2600);
    adsr(out, 0.01, 0.1, 0.7, 0.25);
    return out;
}

// ---- wrong answers: soft and silly, never harsh ------------------------------------------------

Buffer softBoopDown(double from, double to, double dur) {
    Buffer out = oscillator(
        dur, [=](double t) { return from * std::pow(to / from, t / dur); }, Wave::Triangle);
    lowpass(out, 1400);
    adsr(out, 0.01, 0.05, 0.8, dur * 0.4);
    return out;
}

Buffer oopsWords(const Buffer* speech) {
    Buffer accent = softBoopDown(noteHz(G4), noteHz(G4), 0.12);
    mix(accent, softBoopDown(noteHz(D4), noteHz(D4), 0.2), 0.13);
    return afterWords(speech, accent);
}

Buffer softHorn(std::initializer_list<double> hz, double dur) {
    Buffer out;
    for (double f : hz) {
        Buffer v = oscillator(
            dur, [f, dur](double t) { return f * (1.0 - 0.03 * std::max(0.0, t - dur * 0.7)); }, Wave::Saw,
            1.3);
        mix(out, v, 0, 1.0 / hz.size());
    }
    lowpass(out, 900, 0.8);
    adsr(out, 0.04, 0.06, 0.85, 0.12);
    return out;
}

Buffer airHorn(const Buffer*) {
    Buffer out = softHorn({233.0, 294.0}, 0.5);
    reverb(out, 0.12, 0.15);
    return out;
}

Buffer truckHorn(const Buffer*) {
    Buffer out;
    mix(out, softHorn({185.0, 233.0}, 0.2), 0.0);
    mix(out, softHorn({185.0, 233.0}, 0.24), 0.28);
    reverb(out, 0.12, 0.15);
    return out;
}

Buffer doupWords(const Buffer* speech) {
    return afterWords(speech, softBoopDown(noteHz(G4), noteHz(C4), 0.28));
}

Buffer yuckWords(const Buffer* speech) {
    Buffer wob = oscillator(
        0.36, [](double t) { return 150.0 * (1.0 + 0.1 * std::sin(kTwoPi * 7.0 * t)); }, Wave::Triangle);
    lowpass(wob, 900);
    adsr(wob, 0.02, 0.05, 0.8, 0.12);
    return afterWords(speech, wob);
}

Buffer gentleGiggle(const Buffer*) {
    // "Hee-hee-hee", light and quick, drifting down: a giggle, not a jeer.
    Buffer out;
    for (int i = 0; i < 4; ++i) {
        const double p0 = 560.0 - i * 35.0;
        Buffer s = syllable(
            0.085, [p0](double t) { return p0 * (1.0 - 1.2 * t); }, 330, 2300, 0.55, std::uint32_t(300 + i));
        mix(out, s, i * 0.125);
    }
    reverb(out, 0.15, 0.2);
    return out;
}

Buffer cackle(const Buffer*) {
    // A hen's "buk-buk-buk ba-GAWK".
    Buffer out;
    for (int i = 0; i < 3; ++i) {
        Buffer buk = syllable(
            0.06, [](double t) { return 640.0 * (1.0 - 2.0 * t); }, 650, 1550, 0.3, std::uint32_t(400 + i));
        mix(out, buk, i * 0.12);
    }
    mix(out,
        syllable(
            0.07, [](double) { return 600.0; }, 700, 1500, 0.3, 410),
        0.40);
    Buffer gawk = syllable(
        0.3, [](double t) { return t < 0.08 ? 700.0 + 3000.0 * t : 940.0 - 900.0 * (t - 0.08); }, 820, 1400,
        0.25, 411);
    mix(out, gawk, 0.49);
    reverb(out, 0.12, 0.15);
    return out;
}

Buffer awManWords(const Buffer* speech) {
    // A small, sleepy "wah-wah-wah-waaah".
    Buffer accent;
    const int notes[] = {Bb3, A3, Ab3};
    for (int i = 0; i < 3; ++i)
        mix(accent, brass(noteHz(notes[i]), 0.15), i * 0.16, 0.7);
    mix(accent, brass(noteHz(G3), 0.42, 0.02), 0.48, 0.7);
    lowpass(accent, 1100);
    return afterWords(speech, accent, 0.0);
}

// ---- end of a round: short fanfares ------------------------------------------------------

Buffer taDa(const Buffer*) {
    Buffer out = chordOf({C4, G4, C5, E5}, 0.13);
    mix(out, chordOf({C4, G4, C5, E5, G5}, 0.95, 0.012), 0.17);
    mix(out, cymbal(81, 0.9), 0.17, 0.07);
    reverb(out, 0.22, 0.25);
    return out;
}

Buffer arpeggio(const Buffer*) {
    Buffer out;
    const int notes[] = {C5, E5, G5, C6, E6, G6, C7};
    for (int i = 0; i < 7; ++i)
        mix(out, marimba(noteHz(notes[i]), 0.4), i * 0.07, 0.8);
    for (int n : {C6, E6, G6})
        mix(out, bell(noteHz(n), 0.75, 0.7), 0.5, 0.35);
    reverb(out, 0.2, 0.2);
    return out;
}

Buffer drums(const Buffer*) {
    Buffer out;
    int k = 0;
    for (double t = 0; t < 0.8; t += 0.04, ++k)
        mix(out, snare(std::uint32_t(500 + k), 0.12), t, 0.15 + 0.45 * (t / 0.8));
    lowpass(out, 6500);
    mix(out, kick(0.3), 0.84, 1.0);
    mix(out, snare(599, 0.15), 0.84, 0.8);
    mix(out, cymbal(598, 0.6), 0.84, 0.55);
    return out;
}

Buffer applause(const Buffer*) {
    const double dur = 1.45;
    Buffer out = silence(dur);
    Noise rnd(90);
    for (int k = 0; k < 95; ++k) {
        const double at = rnd.uniform(0, dur - 0.12);
        // Claps swell in, then thin out at the end.
        const double density = std::min(1.0, at / 0.2) * std::min(1.0, (dur - at) / 0.55);
        if (rnd.uniform(0, 1) > density)
            continue;
        mix(out, clap(std::uint32_t(1000 + k)), at, rnd.uniform(0.35, 1.0));
    }
    Buffer bed = noiseBurst(dur, 91);
    lowpass(bed, 2200);
    adsr(bed, 0.2, 0.1, 0.8, 0.5);
    mix(out, bed, 0, 0.06);
    reverb(out, 0.2, 0.05);
    return out;
}

Buffer reveille(const Buffer*) {
    // The opening of the bugle call.
    Buffer out;
    const int notes[] = {G4, C5, E5, C5, G4, C5, E5, C5};
    double t = 0;
    for (int n : notes) {
        mix(out, brass(noteHz(n), 0.11), t, 0.8);
        t += 0.1;
    }
    mix(out, brass(noteHz(E5), 0.18), t, 0.8);
    t += 0.18;
    mix(out, brass(noteHz(G5), 0.33, 0.012), t, 0.8);
    reverb(out, 0.18, 0.12);
    return out;
}

Buffer fireworks(const Buffer*) {
    Buffer out;
    Buffer whistle = oscillator(
        0.45, [](double t) { return 900.0 * std::pow(2.4, t / 0.45); }, Wave::Sine);
    Buffer hiss = noiseBurst(0.45, 60);
    bandpass(hiss, 3000, 1.0);
    mix(whistle, hiss, 0, 0.15);
    adsr(whistle, 0.05, 0.05, 0.8, 0.08);
    mix(out, whistle, 0, 0.35);
    Buffer pop = noiseBurst(0.35, 61);
    lowpass(pop, 1000);
    percussive(pop, 0.001, 0.06);
    mix(out, pop, 0.48, 0.7);
    mix(out, kick(0.3), 0.48, 0.5);
    Noise rnd(62);
    for (int k = 0; k < 45; ++k) {
        const double at = 0.55 + 0.75 * std::pow(rnd.uniform(0, 1), 1.4);
        Buffer tick = noiseBurst(0.008, std::uint32_t(700 + k));
        bandpass(tick, rnd.uniform(2500, 6500), 2.0);
        percussive(tick, 0.0005, 0.002);
        mix(out, tick, at, rnd.uniform(0.2, 0.7));
    }
    for (int k = 0; k < 4; ++k)
        mix(out, bell(noteHz(C7 + (k % 2) * 7), 0.35, 0.6), 0.6 + k * 0.14, 0.12);
    reverb(out, 0.2, 0.1);
    return out;
}

Buffer goodbyeWords(const Buffer* speech) {
    Buffer accent = bell(noteHz(G5), 0.6, 0.8);
    mix(accent, bell(noteHz(C5), 0.7, 0.8), 0.16, 1.0);
    reverb(accent, 0.2, 0.1);
    return afterWords(speech, accent, 0.02);
}

Buffer hastaWords(const Buffer* speech) {
    Buffer accent = chordOf({C4, G4, C5, E5}, 0.26);
    reverb(accent, 0.18, 0.05);
    return afterWords(speech, accent, 0.05);
}

} // namespace

std::vector<Sound> allSounds() {
    const double praise = 0.89, oops = 0.70, click = 0.55;
    return {
        {"blip", "(click)", "", click, blip},
        {"right1", "Laugh", "", praise, happyLaugh},
        {"right2", "Cash Reg", "", praise, cashRegister},
        {"right3", "Bing", "", praise, bing},
        {"right4", "Yea!", "Yay!", praise, yayWords},
        {"right5", "Boing", "", praise, boing},
        {"right6", "Yes!", "Yes!", praise, yesWords},
        {"right7", "strike", "", praise, strike},
        {"right8", "Boing2", "", praise, boing2},
        {"wrong1", "Oops", "Oops!", oops, oopsWords},
        {"wrong2", "Air Horn", "", oops, airHorn},
        {"wrong3", "Truck Horn", "", oops, truckHorn},
        {"wrong4", "Doup!", "Doop!", oops, doupWords},
        {"Wrong5", "Yuck!", "Yuck!", oops, yuckWords},
        {"Wrong6", "Laugh", "", oops, gentleGiggle},
        {"wrong7", "Cackle", "", oops, cackle},
        {"wrong8", "Aw Man!", "Aw man!", oops, awManWords},
        {"round1", "TaDa", "", praise, taDa},
        {"round2", "Arpeggio", "", praise, arpeggio},
        {"round3", "Drums", "", praise, drums},
        {"round4", "Applause", "", praise, applause},
        {"round5", "Reveille", "", praise, reveille},
        {"round6", "Fireworks", "", praise, fireworks},
        {"round7", "Goodbye", "Goodbye!", praise, goodbyeWords},
        {"round8", "Hasta La Vista", "Hasta la vista!", praise, hastaWords},
    };
}
