// Writes the monitor's alarm sound "buzzer.wav": one second of a two-tone
// alarm (high, low, high, low), 8 kHz mono 16-bit PCM, the only format the
// player sounds right. Run at build time; the result is installed beside
// the monitor.
//
//   make_buzzer OUTPUT

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 8000;
constexpr int kSegmentSamples = kRate / 4;
constexpr double kTones[] = {960.0, 770.0, 960.0, 770.0};
// Soft edges so that the tone changes do not click.
constexpr int kEdgeSamples = kRate / 125;
constexpr double kPeak = 0.8 * 32767;

std::vector<std::int16_t> samples() {
  std::vector<std::int16_t> out;
  for (double tone : kTones) {
    for (int i = 0; i < kSegmentSamples; ++i) {
      const double phase = 2 * std::numbers::pi * tone * i / kRate;
      // A third harmonic makes it buzz, which small speakers carry better
      // than a pure tone.
      const double wave = (std::sin(phase) + 0.3 * std::sin(3 * phase)) / 1.3;
      const int edge = std::min(i, kSegmentSamples - 1 - i);
      const double gain =
          edge >= kEdgeSamples ? 1.0 : 0.5 - 0.5 * std::cos(std::numbers::pi * edge / kEdgeSamples);
      out.push_back(std::int16_t(std::lround(kPeak * gain * wave)));
    }
  }
  return out;
}

void put16(std::string& b, unsigned v) {
  b += char(v & 0xff);
  b += char((v >> 8) & 0xff);
}

void put32(std::string& b, std::uint32_t v) {
  put16(b, v & 0xffff);
  put16(b, v >> 16);
}

std::string waveFile(const std::vector<std::int16_t>& pcm) {
  const std::uint32_t dataBytes = std::uint32_t(pcm.size() * 2);
  std::string b = "RIFF";
  put32(b, 4 + (8 + 16) + (8 + dataBytes));
  b += "WAVEfmt ";
  put32(b, 16);
  put16(b, 1);          // PCM
  put16(b, 1);          // mono
  put32(b, kRate);      // samples per second
  put32(b, kRate * 2);  // bytes per second
  put16(b, 2);          // block alignment
  put16(b, 16);         // bits per sample
  b += "data";
  put32(b, dataBytes);
  for (std::int16_t s : pcm) put16(b, std::uint16_t(s));
  return b;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_buzzer OUTPUT\n");
    return 2;
  }
  const std::string bytes = waveFile(samples());
  std::FILE* f = std::fopen(argv[1], "wb");
  if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fclose(f) != 0) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}
