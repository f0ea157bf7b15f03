#include "synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace synth {

namespace {
constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kNyquist = kRate / 2.0;
} // namespace

int samples(double sec) {
    return std::max(0, int(std::lround(sec * kRate)));
}
double seconds(const Buffer& b) {
    return double(b.size()) / kRate;
}
double noteHz(int midi) {
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

Buffer silence(double sec) {
    return Buffer(size_t(samples(sec)), 0.0f);
}

void mix(Buffer& dst, const Buffer& src, double atSec, double gain) {
    const size_t at = size_t(samples(atSec));
    if (dst.size() < at + src.size())
        dst.resize(at + src.size(), 0.0f);
    for (size_t i = 0; i < src.size(); ++i)
        dst[at + i] += float(src[i] * gain);
}

float Noise::next() {
    std::uint32_t x = m_state;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    m_state = x;
    return float(x / 2147483648.0 - 1.0);
}

double Noise::uniform(double lo, double hi) {
    return lo + (hi - lo) * (next() * 0.5 + 0.5);
}

Buffer oscillator(double dur, const std::function<double(double)>& freq, Wave w, double rolloff) {
    Buffer out(size_t(samples(dur)));
    double phase = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / kRate;
        const double f = std::max(1.0, freq(t));
        double v = 0;
        if (w == Wave::Sine) {
            v = std::sin(phase);
        } else {
            const int harmonics = std::max(1, int(kNyquist * 0.9 / f));
            for (int k = 1; k <= harmonics; ++k) {
                const double amp = 1.0 / std::pow(k, rolloff);
                switch (w) {
                case Wave::Saw:
                    v += amp * std::sin(k * phase);
                    break;
                case Wave::Square:
                    if (k % 2)
                        v += amp * std::sin(k * phase);
                    break;
                case Wave::Triangle:
                    if (k % 2)
                        v += ((k / 2) % 2 ? -1.0 : 1.0) * std::sin(k * phase) / double(k) * amp;
                    break;
                case Wave::Sine:
                    break;
                }
            }
            v *= (w == Wave::Triangle) ? 0.8 : 0.55;
        }
        out[i] = float(v);
        phase = std::fmod(phase + kTwoPi * f / kRate, kTwoPi * 1024.0);
    }
    return out;
}

Buffer tone(double dur, double hz, Wave w, double rolloff) {
    return oscillator(
        dur, [hz](double) { return hz; }, w, rolloff);
}

void adsr(Buffer& b, double a, double d, double s, double r) {
    const double total = seconds(b);
    for (size_t i = 0; i < b.size(); ++i) {
        const double t = double(i) / kRate;
        double g;
        if (t < a)
            g = t / a;
        else if (t < a + d)
            g = 1.0 - (1.0 - s) * (t - a) / d;
        else
            g = s;
        const double untilEnd = total - t;
        if (untilEnd < r)
            g *= std::max(0.0, untilEnd / r);
        b[i] = float(b[i] * g);
    }
}

void percussive(Buffer& b, double attack, double tau) {
    for (size_t i = 0; i < b.size(); ++i) {
        const double t = double(i) / kRate;
        const double g = (t < attack ? t / attack : 1.0) * std::exp(-std::max(0.0, t - attack) / tau);
        b[i] = float(b[i] * g);
    }
}

void fade(Buffer& b, double inSec, double outSec) {
    const size_t in = size_t(samples(inSec)), out = size_t(samples(outSec));
    for (size_t i = 0; i < in && i < b.size(); ++i)
        b[i] = float(b[i] * double(i) / in);
    for (size_t i = 0; i < out && i < b.size(); ++i)
        b[b.size() - 1 - i] = float(b[b.size() - 1 - i] * double(i) / out);
}

void scale(Buffer& b, double g) {
    for (float& s : b)
        s = float(s * g);
}

namespace {

struct Biquad {
    double b0, b1, b2, a1, a2;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    void run(Buffer& buf) {
        for (float& s : buf) {
            const double x = s;
            const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
            x2 = x1;
            x1 = x;
            y2 = y1;
            y1 = y;
            s = float(y);
        }
    }
};

Biquad design(int kind, double f, double q) {
    f = std::clamp(f, 10.0, kNyquist * 0.95);
    const double w0 = kTwoPi * f / kRate;
    const double c = std::cos(w0), sn = std::sin(w0);
    const double alpha = sn / (2 * q);
    double b0, b1, b2;
    const double a0 = 1 + alpha, a1 = -2 * c, a2 = 1 - alpha;
    switch (kind) {
    case 0: // low pass
        b0 = (1 - c) / 2;
        b1 = 1 - c;
        b2 = (1 - c) / 2;
        break;
    case 1: // high pass
        b0 = (1 + c) / 2;
        b1 = -(1 + c);
        b2 = (1 + c) / 2;
        break;
    default: // band pass, 0 dB at the centre
        b0 = alpha;
        b1 = 0;
        b2 = -alpha;
        break;
    }
    return Biquad{b0 / a0, b1 / a0, b2 / a0, a1 / a0, a2 / a0};
}

} // namespace

void lowpass(Buffer& b, double cutoff, double q) {
    design(0, cutoff, q).run(b);
}
void highpass(Buffer& b, double cutoff, double q) {
    design(1, cutoff, q).run(b);
}
void bandpass(Buffer& b, double centre, double q) {
    design(2, centre, q).run(b);
}

Buffer bell(double hz, double dur, double brightness) {
    // Partials of a small struck bell; the high ones die first.
    struct P {
        double ratio, amp, tau;
    };
    const P parts[] = {{1.0, 1.0, 0.55},
                       {2.0, 0.55, 0.35},
                       {2.76, 0.35 * brightness, 0.22},
                       {4.07, 0.22 * brightness, 0.14},
                       {5.4, 0.12 * brightness, 0.09}};
    Buffer out = silence(dur);
    for (const P& p : parts) {
        if (hz * p.ratio > kNyquist * 0.9)
            continue;
        Buffer t = tone(dur, hz * p.ratio, Wave::Sine);
        percussive(t, 0.002, p.tau * (dur / 0.8));
        mix(out, t, 0, p.amp);
    }
    // Let the ring die away instead of stopping where the buffer ends.
    fade(out, 0.0, dur * 0.3);
    return out;
}

Buffer marimba(double hz, double dur) {
    Buffer out = tone(dur, hz, Wave::Sine);
    percussive(out, 0.003, 0.16);
    if (hz * 3.93 < kNyquist * 0.9) {
        Buffer over = tone(dur, hz * 3.93, Wave::Sine);
        percussive(over, 0.001, 0.03);
        mix(out, over, 0, 0.35);
    }
    fade(out, 0.0, dur * 0.3);
    return out;
}

Buffer pluck(double hz, double dur, std::uint32_t seed) {
    // Karplus-Strong: a burst of noise circulating in a delay line that is slowly smoothed.
    Noise n(seed);
    const int period = std::max(2, int(std::lround(kRate / hz)));
    std::vector<float> line(static_cast<size_t>(period));
    for (float& s : line)
        s = n.next();
    Buffer out(size_t(samples(dur)));
    size_t idx = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        const size_t nextIdx = (idx + 1) % line.size();
        const float v = line[idx];
        out[i] = v;
        line[idx] = 0.498f * (v + line[nextIdx]);
        idx = nextIdx;
    }
    lowpass(out, std::min(6000.0, hz * 8));
    return out;
}

Buffer brass(double hz, double dur, double vibrato) {
    Buffer out = oscillator(
        dur,
        [hz, vibrato](double t) {
            const double v = vibrato * std::min(1.0, t / 0.25) * std::sin(kTwoPi * 5.5 * t);
            return hz * (1.0 + v);
        },
        Wave::Saw, 1.15);
    // The brass "bite": the tone brightens as the note speaks.
    Buffer bright = out;
    lowpass(out, hz * 2.5);
    lowpass(bright, hz * 6.0);
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / kRate;
        const double k = std::min(1.0, t / 0.06);
        out[i] = float(out[i] * (1 - k) + bright[i] * k);
    }
    adsr(out, 0.025, 0.08, 0.75, std::min(0.12, dur * 0.4));
    return out;
}

Buffer noiseBurst(double dur, std::uint32_t seed) {
    Noise n(seed);
    Buffer out(size_t(samples(dur)));
    for (float& s : out)
        s = n.next();
    return out;
}

Buffer kick(double dur) {
    Buffer out = oscillator(
        dur, [](double t) { return 50.0 + 110.0 * std::exp(-t * 28.0); }, Wave::Sine);
    percussive(out, 0.002, 0.09);
    return out;
}

Buffer snare(std::uint32_t seed, double dur) {
    Buffer n = noiseBurst(dur, seed);
    bandpass(n, 2600, 0.7);
    percussive(n, 0.001, 0.05);
    Buffer body = oscillator(
        dur, [](double t) { return 190.0 + 60.0 * std::exp(-t * 40.0); }, Wave::Sine);
    percussive(body, 0.001, 0.04);
    mix(n, body, 0, 0.6);
    return n;
}

Buffer clap(std::uint32_t seed) {
    // A hand clap is a few very fast noise bursts, then a short ring.
    Noise rnd(seed);
    const double centre = rnd.uniform(1000, 2400);
    Buffer out = silence(0.12);
    for (int k = 0; k < 3; ++k) {
        Buffer b = noiseBurst(0.012, seed * 7u + std::uint32_t(k));
        percussive(b, 0.0005, 0.003);
        mix(out, b, k * 0.009, 1.0);
    }
    Buffer tail = noiseBurst(0.1, seed * 13u + 5u);
    percussive(tail, 0.001, 0.022);
    mix(out, tail, 0.027, 0.8);
    bandpass(out, centre, 1.2);
    return out;
}

Buffer cymbal(std::uint32_t seed, double dur) {
    Buffer n = noiseBurst(dur, seed);
    highpass(n, 5000, 0.6);
    Buffer shimmer = noiseBurst(dur, seed + 99u);
    bandpass(shimmer, 7500, 2.0);
    mix(n, shimmer, 0, 0.8);
    percussive(n, 0.002, dur * 0.35);
    return n;
}

Buffer syllable(double dur, const std::function<double(double)>& pitch, double f1, double f2, double breath,
                std::uint32_t seed) {
    Buffer src = oscillator(dur, pitch, Wave::Saw, 1.0);
    Buffer air = noiseBurst(dur, seed);
    // The breathy "h" at the start turns into voice.
    for (size_t i = 0; i < src.size(); ++i) {
        const double t = double(i) / kRate;
        const double voiced = std::min(1.0, t / (dur * 0.25));
        src[i] = float(src[i] * voiced + air[i] * breath * (1.0 - voiced * 0.8));
    }
    Buffer a = src, b = src;
    bandpass(a, f1, 5.0);
    bandpass(b, f2, 7.0);
    Buffer out = a;
    mix(out, b, 0, 0.7);
    adsr(out, 0.012, 0.04, 0.8, dur * 0.35);
    return out;
}

void reverb(Buffer& b, double wet, double tailSec) {
    // Schroeder room: four damped combs in parallel, two all-passes in series.
    const size_t tail = size_t(samples(tailSec));
    Buffer dry = b;
    dry.resize(b.size() + tail, 0.0f);
    Buffer out(dry.size(), 0.0f);
    const int combLen[4] = {558, 594, 638, 678};
    for (int c = 0; c < 4; ++c) {
        std::vector<float> line(static_cast<size_t>(combLen[c]), 0.0f);
        size_t idx = 0;
        float store = 0;
        for (size_t i = 0; i < dry.size(); ++i) {
            const float y = line[idx];
            store = y * 0.75f + store * 0.25f;
            line[idx] = dry[i] + store * 0.78f;
            out[i] += y * 0.25f;
            idx = (idx + 1) % line.size();
        }
    }
    const int apLen[2] = {278, 220};
    for (int a = 0; a < 2; ++a) {
        std::vector<float> line(static_cast<size_t>(apLen[a]), 0.0f);
        size_t idx = 0;
        for (float& s : out) {
            const float buf = line[idx];
            const float y = -s + buf;
            line[idx] = s + buf * 0.5f;
            s = y;
            idx = (idx + 1) % line.size();
        }
    }
    for (size_t i = 0; i < dry.size(); ++i)
        dry[i] = float(dry[i] + out[i] * wet);
    b.swap(dry);
}

double peak(const Buffer& b) {
    double p = 0;
    for (float s : b)
        p = std::max(p, double(std::fabs(s)));
    return p;
}

double rms(const Buffer& b) {
    if (b.empty())
        return 0;
    double sum = 0;
    for (float s : b)
        sum += double(s) * s;
    return std::sqrt(sum / b.size());
}

void normalise(Buffer& b, double target) {
    const double p = peak(b);
    if (p > 0)
        scale(b, target / p);
}

} // namespace synth
