// A very small synthesiser: oscillators, envelopes, filters and a few instruments, all working
// on mono float buffers at the program's sound rate. Everything is deterministic.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace synth {

constexpr int kRate = 22050;
using Buffer = std::vector<float>;

int samples(double seconds);
double seconds(const Buffer& b);
double noteHz(int midi); // 69 = A4 = 440 Hz

Buffer silence(double sec);
// Adds `src` into `dst` starting at `atSec`, growing `dst` as needed.
void mix(Buffer& dst, const Buffer& src, double atSec, double gain = 1.0);

// Deterministic noise source.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : m_state(seed ? seed : 1u) {}
    float next(); // uniform in [-1, 1)
    double uniform(double lo, double hi);

private:
    std::uint32_t m_state;
};

enum class Wave { Sine, Triangle, Square, Saw };

// Band-limited oscillator (harmonics stop below the Nyquist frequency, so nothing aliases into
// harsh whistles). `freq` gives the pitch at time t; `rolloff` > 1 darkens the upper harmonics.
Buffer oscillator(double dur, const std::function<double(double)>& freq, Wave w, double rolloff = 1.0);
Buffer tone(double dur, double hz, Wave w, double rolloff = 1.0);

// Envelopes multiply the buffer in place.
void adsr(Buffer& b, double attack, double decay, double sustain, double release);
void percussive(Buffer& b, double attack, double decayTau);
void fade(Buffer& b, double inSec, double outSec);
void scale(Buffer& b, double g);

// Filters (RBJ biquads), in place.
void lowpass(Buffer& b, double cutoff, double q = 0.707);
void highpass(Buffer& b, double cutoff, double q = 0.707);
void bandpass(Buffer& b, double centre, double q);

// Instruments.
Buffer bell(double hz, double dur, double brightness = 1.0);
Buffer marimba(double hz, double dur);
Buffer pluck(double hz, double dur, std::uint32_t seed);
Buffer brass(double hz, double dur, double vibratoDepth = 0.0);
Buffer noiseBurst(double dur, std::uint32_t seed);
Buffer kick(double dur = 0.25);
Buffer snare(std::uint32_t seed, double dur = 0.18);
Buffer clap(std::uint32_t seed);
Buffer cymbal(std::uint32_t seed, double dur);
// One vowel-like syllable: a pulse through two formant filters; `pitch` may glide.
Buffer syllable(double dur, const std::function<double(double)>& pitch, double f1, double f2, double breath,
                std::uint32_t seed);

// A light room so short sounds do not end dry.
void reverb(Buffer& b, double wet, double tailSec);
void normalise(Buffer& b, double peak);
double peak(const Buffer& b);
double rms(const Buffer& b);

} // namespace synth
