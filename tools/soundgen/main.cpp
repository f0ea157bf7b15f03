// soundgen: makes the program's sounds as 16-bit PCM mono WAV files at 22050 Hz.
//
//   soundgen --words            print "name<TAB>words" for every sound that speaks
//   soundgen OUTDIR [SPEECHDIR] write all sounds into OUTDIR; spoken words are read from
//                               SPEECHDIR/<name>.wav (made by tools/generate-media.sh with
//                               espeak-ng and sox). Without them those sounds keep only
//                               their music.

#include "sounds.h"
#include "synth.h"
#include "wavio.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

constexpr double kShortest = 0.2;
constexpr double kLongest = 1.5;

int usage() {
    std::fputs("usage: soundgen --words | soundgen OUTDIR [SPEECHDIR]\n", stderr);
    return 2;
}

// Keeps every sound between the shortest and longest length the program expects.
void fitLength(synth::Buffer& b, const std::string& name) {
    const size_t longest = size_t(synth::samples(kLongest));
    if (b.size() > longest) {
        const double over = synth::seconds(b) - kLongest;
        if (over > 0.2)
            std::fprintf(stderr, "soundgen: %s was %.2f s long, cut to %.1f s\n", name.c_str(),
                         synth::seconds(b), kLongest);
        b.resize(longest);
        synth::fade(b, 0.0, 0.08);
    }
    if (b.size() < size_t(synth::samples(kShortest)))
        b.resize(size_t(synth::samples(kShortest)), 0.0f);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return usage();
    const std::string first = argv[1];
    const auto sounds = allSounds();

    if (first == "--words") {
        for (const Sound& s : sounds)
            if (!s.words.empty())
                std::printf("%s\t%s\n", s.name.c_str(), s.words.c_str());
        return 0;
    }
    if (first.starts_with("-") || argc > 3)
        return usage();

    const std::filesystem::path outDir = first;
    const std::filesystem::path speechDir = argc == 3 ? argv[2] : "";
    std::error_code ec;
    std::filesystem::create_directories(outDir, ec);
    if (ec) {
        std::fprintf(stderr, "soundgen: cannot make %s\n", outDir.c_str());
        return 1;
    }

    int failures = 0;
    for (const Sound& s : sounds) {
        std::optional<synth::Buffer> speech;
        if (!s.words.empty()) {
            std::string why = "no speech folder given";
            if (!speechDir.empty())
                speech = wavio::read((speechDir / (s.name + ".wav")).string(), &why);
            if (!speech)
                std::fprintf(stderr, "soundgen: %s without its words \"%s\" (%s)\n", s.name.c_str(),
                             s.words.c_str(), why.c_str());
        }
        synth::Buffer b = s.make(speech ? &*speech : nullptr);
        fitLength(b, s.name);
        synth::fade(b, 0.002, 0.015);
        if (synth::peak(b) < 1e-4) {
            std::fprintf(stderr, "soundgen: %s came out silent\n", s.name.c_str());
            ++failures;
            continue;
        }
        synth::normalise(b, s.peak);
        // Peaks alone do not make sounds equally loud: a held tone would still stand out
        // against a quick chime, so long loud sounds are brought down to a common level.
        const double loudest = s.peak * 0.26;
        if (synth::rms(b) > loudest)
            synth::scale(b, loudest / synth::rms(b));
        const std::filesystem::path file = outDir / (s.name + ".wav");
        if (!wavio::write(file.string(), b)) {
            std::fprintf(stderr, "soundgen: cannot write %s\n", file.c_str());
            ++failures;
        }
    }
    std::printf("soundgen: %d sounds written to %s\n", int(sounds.size()) - failures, outDir.c_str());
    return failures ? 1 : 0;
}
