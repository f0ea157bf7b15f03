#include "wavio.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <vector>

namespace wavio {

namespace {

void put16(std::vector<char>& v, std::uint16_t x) {
    v.push_back(char(x & 0xff));
    v.push_back(char(x >> 8));
}

void put32(std::vector<char>& v, std::uint32_t x) {
    for (int i = 0; i < 4; ++i)
        v.push_back(char((x >> (8 * i)) & 0xff));
}

std::uint32_t get32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24);
}
std::uint16_t get16(const unsigned char* p) {
    return std::uint16_t(p[0] | (p[1] << 8));
}

} // namespace

bool write(const std::string& path, const synth::Buffer& b) {
    const std::uint32_t dataBytes = std::uint32_t(b.size() * 2);
    std::vector<char> out;
    out.reserve(44 + dataBytes);
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    put32(out, 36 + dataBytes);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 1); // mono
    put32(out, synth::kRate);
    put32(out, synth::kRate * 2);
    put16(out, 2);
    put16(out, 16);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put32(out, dataBytes);
    for (float s : b) {
        const long v = std::lround(std::clamp(double(s), -1.0, 1.0) * 32767.0);
        put16(out, std::uint16_t(std::int16_t(v)));
    }
    std::ofstream f(path, std::ios::binary);
    f.write(out.data(), std::streamsize(out.size()));
    return bool(f);
}

std::optional<synth::Buffer> read(const std::string& path, std::string* why) {
    auto fail = [why](const char* msg) -> std::optional<synth::Buffer> {
        if (why)
            *why = msg;
        return std::nullopt;
    };
    std::ifstream f(path, std::ios::binary);
    if (!f)
        return fail("cannot open");
    std::vector<unsigned char> d((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    if (d.size() < 12 || std::memcmp(d.data(), "RIFF", 4) || std::memcmp(d.data() + 8, "WAVE", 4))
        return fail("not a RIFF WAVE file");
    size_t pos = 12;
    bool haveFmt = false;
    while (pos + 8 <= d.size()) {
        const std::uint32_t len = get32(&d[pos + 4]);
        const unsigned char* body = &d[pos + 8];
        if (pos + 8 + len > d.size())
            return fail("truncated chunk");
        if (!std::memcmp(&d[pos], "fmt ", 4)) {
            if (len < 16 || get16(body) != 1 || get16(body + 2) != 1 ||
                get32(body + 4) != std::uint32_t(synth::kRate) || get16(body + 14) != 16)
                return fail("not 16-bit PCM mono at 22050 Hz");
            haveFmt = true;
        } else if (!std::memcmp(&d[pos], "data", 4)) {
            if (!haveFmt)
                return fail("data before format");
            synth::Buffer b(len / 2);
            for (size_t i = 0; i < b.size(); ++i)
                b[i] = float(std::int16_t(get16(body + 2 * i)) / 32768.0);
            return b;
        }
        pos += 8 + len + (len & 1);
    }
    return fail("no data chunk");
}

} // namespace wavio
