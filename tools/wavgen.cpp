// Synthesises the game's seven sound effects as 16-bit mono PCM WAV files.
// Usage: nova-wavgen OUTPUT_DIR
// Every sample is computed here (oscillators, filtered noise, envelopes) from a fixed
// seed, so each build writes the same bytes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
// The RMS every effect is written at (-19 dBFS): as loud as the effect with the largest
// peak-to-RMS ratio (the credits' chord and its echo, 18 dB) can be without clipping.
constexpr double kRms = 0.1122;
constexpr double kPi = 3.14159265358979323846;

using Buffer = std::vector<double>;

double Seconds(std::size_t i) {
  return static_cast<double>(i) / kRate;
}
std::size_t Samples(double seconds) {
  return static_cast<std::size_t>(seconds * kRate);
}
double NoteHz(int midi) {
  return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

// xorshift32: a fixed noise sequence, independent of the platform's rand().
class Noise {
 public:
  double Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<double>(state_) / 2147483648.0 - 1.0;
  }

 private:
  std::uint32_t state_ = 0x2545F491u;
};

enum class Wave { Sine, Square, Pulse, Triangle, Saw };

double Osc(Wave wave, double phase) {  // phase in cycles
  const double p = phase - std::floor(phase);
  switch (wave) {
    case Wave::Sine:
      return std::sin(2 * kPi * p);
    case Wave::Square:
      return p < 0.5 ? 1.0 : -1.0;
    case Wave::Pulse:
      return p < 0.25 ? 1.0 : -1.0;
    case Wave::Triangle:
      return p < 0.5 ? 4 * p - 1 : 3 - 4 * p;
    case Wave::Saw:
      return 2 * p - 1;
  }
  return 0;
}

// Adds a tone whose pitch follows hz(t) and whose level follows env(t), t from its start.
void AddTone(Buffer& out, double start, double length, Wave wave,
             const std::function<double(double)>& hz, const std::function<double(double)>& env) {
  const std::size_t first = Samples(start);
  const std::size_t count = Samples(length);
  if (out.size() < first + count) out.resize(first + count);
  double phase = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const double t = Seconds(i);
    out[first + i] += Osc(wave, phase) * env(t);
    phase += hz(t) / kRate;
  }
}

// A plucked note: quick attack, exponential fall.
void AddNote(Buffer& out, double start, double length, Wave wave, int midi, double level,
             double fall = 6.0) {
  const double hz = NoteHz(midi);
  AddTone(
      out, start, length, wave,
      [hz](double t) { return hz * (1 + 0.004 * std::sin(2 * kPi * 6 * t)); },
      [level, fall](double t) { return level * std::min(1.0, t / 0.004) * std::exp(-fall * t); });
}

// Adds noise through a one-pole low-pass whose cut-off follows cutoff(t).
void AddNoise(Buffer& out, double start, double length, const std::function<double(double)>& cutoff,
              const std::function<double(double)>& env, Noise& noise) {
  const std::size_t first = Samples(start);
  const std::size_t count = Samples(length);
  if (out.size() < first + count) out.resize(first + count);
  double low = 0, lower = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const double t = Seconds(i);
    const double a = 1 - std::exp(-2 * kPi * cutoff(t) / kRate);
    low += a * (noise.Next() - low);
    lower += a * (low - lower);  // two poles: a softer, rounder hiss
    out[first + i] += lower * env(t);
  }
}

void Echo(Buffer& out, double delay, double feedback, int repeats) {
  const std::size_t d = Samples(delay);
  out.resize(out.size() + d * repeats);
  for (std::size_t i = d; i < out.size(); ++i) out[i] += out[i - d] * feedback;
}

Buffer Fire() {
  Buffer b;
  AddTone(
      b, 0, 0.22, Wave::Square, [](double t) { return 1700 * std::exp(-13 * t) + 170; },
      [](double t) { return 0.6 * std::min(1.0, t / 0.002) * std::exp(-12 * t); });
  AddTone(
      b, 0, 0.22, Wave::Saw, [](double t) { return 1710 * std::exp(-13 * t) + 172; },
      [](double t) { return 0.35 * std::exp(-16 * t); });
  return b;
}

Buffer Missile(Noise& noise) {
  Buffer b;
  // Rises and falls in pitch and level as it passes.
  AddNoise(
      b, 0, 0.8, [](double t) { return 300 + 3500 * std::sin(kPi * std::min(t / 0.8, 1.0)); },
      [](double t) { return 3.0 * std::sin(kPi * std::min(t / 0.8, 1.0)); }, noise);
  AddTone(
      b, 0, 0.8, Wave::Triangle, [](double t) { return 90 + 80 * t; },
      [](double t) { return 0.25 * std::sin(kPi * t / 0.8); });
  return b;
}

Buffer Boom(Noise& noise) {
  Buffer b;
  AddNoise(
      b, 0, 1.1, [](double t) { return 150 + 3000 * std::exp(-5 * t); },
      [](double t) { return 3.5 * std::min(1.0, t / 0.003) * std::exp(-3.5 * t); }, noise);
  AddTone(
      b, 0, 0.6, Wave::Sine, [](double t) { return 35 + 45 * std::exp(-8 * t); },
      [](double t) { return 0.9 * std::exp(-6 * t); });
  for (double& s : b) s = std::tanh(1.5 * s);  // a little grit
  return b;
}

Buffer Powerup() {
  Buffer b;
  const int notes[] = {72, 76, 79, 84, 88};  // C major, rising
  for (int i = 0; i < 5; ++i)
    AddNote(b, 0.06 * i, i < 4 ? 0.08 : 0.3, Wave::Pulse, notes[i], 0.5, 9);
  return b;
}

Buffer Start() {
  Buffer b;
  const int notes[] = {67, 72, 76};
  for (int i = 0; i < 3; ++i) AddNote(b, 0.1 * i, 0.12, Wave::Square, notes[i], 0.4, 10);
  AddNote(b, 0.3, 0.5, Wave::Square, 79, 0.4, 4);
  AddNote(b, 0.3, 0.5, Wave::Triangle, 67, 0.5, 3);
  return b;
}

Buffer Intro() {
  Buffer b;
  // A minor, then F major, climbing: a slow call from deep space.
  const int arpeggios[2][6] = {{57, 60, 64, 69, 72, 76}, {53, 57, 60, 65, 69, 72}};
  for (int bar = 0; bar < 2; ++bar) {
    const double at = 0.9 * bar;
    for (int i = 0; i < 6; ++i)
      AddNote(b, at + 0.13 * i, 0.4, Wave::Triangle, arpeggios[bar][i], 0.45, 5);
    AddNote(b, at, 0.9, Wave::Sine, arpeggios[bar][0] - 12, 0.5, 1.5);
  }
  AddNote(b, 1.8, 0.8, Wave::Triangle, 69, 0.5, 3);
  AddNote(b, 1.8, 0.8, Wave::Sine, 45, 0.5, 2);
  Echo(b, 0.15, 0.35, 3);
  return b;
}

Buffer Outro() {
  Buffer b;
  const int notes[] = {72, 67, 64, 67};
  for (int i = 0; i < 4; ++i) AddNote(b, 0.16 * i, 0.2, Wave::Square, notes[i], 0.3, 8);
  for (int note : {60, 64, 67, 72}) AddNote(b, 0.64, 1.3, Wave::Triangle, note, 0.3, 2.5);
  Echo(b, 0.18, 0.3, 2);
  return b;
}

void Write(const std::filesystem::path& file, Buffer b) {
  // Short fades so that no effect starts or ends with a click.
  const std::size_t in = Samples(0.003), out = Samples(0.02);
  for (std::size_t i = 0; i < in && i < b.size(); ++i) b[i] *= static_cast<double>(i) / in;
  for (std::size_t i = 0; i < out && i < b.size(); ++i)
    b[b.size() - 1 - i] *= static_cast<double>(i) / out;
  // Every effect at one loudness, the RMS of the whole sound; the game's player keeps the
  // headroom that overlapping effects need (SdlMixerPlayer::kVolume).
  double energy = 0, peak = 0;
  for (double s : b) energy += s * s, peak = std::max(peak, std::abs(s));
  const double rms = std::sqrt(energy / static_cast<double>(std::max<std::size_t>(b.size(), 1)));
  const double gain = rms > 0 ? kRms * 32768 / rms : 0;
  if (peak * gain > 32767) {
    throw std::runtime_error(file.filename().string() + " would clip at the common loudness");
  }

  std::vector<unsigned char> bytes;
  auto put = [&bytes](std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) bytes.push_back(static_cast<unsigned char>(v >> (8 * i)));
  };
  auto tag = [&bytes](const char* t) { bytes.insert(bytes.end(), t, t + 4); };
  const auto dataBytes = static_cast<std::uint32_t>(b.size() * 2);
  tag("RIFF");
  put(36 + dataBytes, 4);
  tag("WAVE");
  tag("fmt ");
  put(16, 4);
  put(1, 2);  // PCM
  put(1, 2);  // mono
  put(kRate, 4);
  put(kRate * 2, 4);
  put(2, 2);
  put(16, 2);
  tag("data");
  put(dataBytes, 4);
  for (double s : b)
    put(static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(s * gain))), 2);

  // Written aside and renamed, so that an interrupted run never leaves half a file.
  const std::filesystem::path temp = file.string() + ".tmp";
  std::ofstream stream(temp, std::ios::binary);
  stream.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  stream.close();
  if (!stream) throw std::runtime_error("cannot write " + temp.string());
  std::filesystem::rename(temp, file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
    return 2;
  }
  try {
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    Noise noise;
    Write(dir / "missile.wav", Missile(noise));
    Write(dir / "boom.wav", Boom(noise));
    Write(dir / "fire.wav", Fire());
    Write(dir / "outro.wav", Outro());
    Write(dir / "intro.wav", Intro());
    Write(dir / "powerup.wav", Powerup());
    Write(dir / "start.wav", Start());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "nova-wavgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
