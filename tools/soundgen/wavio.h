// Reading and writing the one WAV flavour the program uses: 16-bit PCM, mono, 22050 Hz.
#pragma once

#include "synth.h"

#include <optional>
#include <string>

namespace wavio {

// Writes `b` (samples in -1..1, clamped) as 16-bit PCM mono at synth::kRate.
bool write(const std::string& path, const synth::Buffer& b);

// Reads a 16-bit PCM mono file at synth::kRate; anything else gives nothing and a reason.
std::optional<synth::Buffer> read(const std::string& path, std::string* why = nullptr);

} // namespace wavio
