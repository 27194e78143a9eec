// Sound levels: the generated effects' peak and RMS, the busiest overlaps of play and the
// whole long play mixed offline with SDL2_mixer's own arithmetic, a burst played through
// the real mixer on SDL's disk driver, and any disk-driver capture read back.
//
//   mix_bench [--volume V]       every figure (V: the mixer volume 0..128; default the game's)
//   mix_bench FILE.raw           peak, clipped samples and where they fall in a capture
//                                (SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=FILE: S16 stereo, 44100
//                                Hz)
//   mix_bench --busy-demo FILE   writes a busy play to replay at the normal pace:
//     SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=busy.raw nova-gunner --replay FILE --headless
#include <SDL.h>
#include <SDL_mixer.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "console/Terminal.h"
#include "game/Options.h"
#include "game/Program.h"
#include "game/World.h"
#include "support/SdlMixerPlayer.h"
#include "support/StandardSound.h"

namespace {

using Samples = std::vector<std::int16_t>;  // interleaved stereo, 44100 Hz
constexpr int kRate = 44100;
constexpr double kTick = 0.060;  // the loop's delay; a tick's work adds well under 1 ms
constexpr int kBufferFrames = 1024;

const char* const kNames[] = {"missile", "boom", "fire", "outro", "intro", "powerup", "start"};
enum Effect { kMissile, kBoom, kFire, kOutro, kIntro, kPowerup, kStart, kEffects };

double Db(double ratio) {
  return ratio > 0 ? 20 * std::log10(ratio) : -999;
}

struct Levels {
  double peakDb = -999, rmsDb = -999;
  long clipped = 0;                 // samples at either end of the 16-bit range
  std::vector<double> clipMoments;  // seconds, one per group of clipped samples
};

Levels Measure(const std::vector<int>& s) {
  Levels l;
  double sum = 0, peak = 0;
  double last = -1;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double v = s[i];
    sum += v * v;
    peak = std::max(peak, std::abs(v));
    if (s[i] >= 32767 || s[i] <= -32768) {
      ++l.clipped;
      const double at = static_cast<double>(i / 2) / kRate;
      if (at - last > 0.25) l.clipMoments.push_back(at);
      last = at;
    }
  }
  l.peakDb = Db(peak / 32768);
  l.rmsDb = s.empty() ? -999 : Db(std::sqrt(sum / static_cast<double>(s.size())) / 32768);
  return l;
}

void Print(const char* what, const Levels& l) {
  std::printf("  %-44s peak %+6.2f dBFS  clipped %6ld", what, l.peakDb, l.clipped);
  if (!l.clipMoments.empty()) {
    std::printf("  at");
    for (std::size_t i = 0; i < l.clipMoments.size() && i < 8; ++i)
      std::printf(" %.1f", l.clipMoments[i]);
    std::printf(l.clipMoments.size() > 8 ? " ... s" : " s");
  }
  std::printf("\n");
}

std::vector<int> ReadRaw(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::vector<int> s(bytes.size() / 2);
  for (std::size_t i = 0; i < s.size(); ++i)
    s[i] = static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[2 * i]) |
                                     static_cast<std::uint8_t>(bytes[2 * i + 1]) << 8);
  return s;
}

// The effects as the mixer holds them after loading: converted to the device's format.
std::array<Samples, kEffects> LoadEffects() {
  std::array<Samples, kEffects> out;
  ::setenv("SDL_AUDIODRIVER", "disk", 1);
  ::setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0 ||
      Mix_OpenAudioDevice(kRate, AUDIO_S16SYS, 2, kBufferFrames, nullptr, 0) != 0) {
    std::fprintf(stderr, "mix_bench: no mixer: %s\n", SDL_GetError());
    std::exit(1);
  }
  for (int e = 0; e < kEffects; ++e) {
    const std::string path = std::string(NOVA_SOUND_DIR) + "/" + kNames[e] + ".wav";
    Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
    if (chunk == nullptr) {
      std::fprintf(stderr, "mix_bench: %s: %s\n", path.c_str(), Mix_GetError());
      std::exit(1);
    }
    const auto* begin = reinterpret_cast<const std::int16_t*>(chunk->abuf);
    out[e].assign(begin, begin + chunk->alen / 2);
    Mix_FreeChunk(chunk);
  }
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  return out;
}

struct Start {
  double at;  // seconds
  Effect effect;
};

// SDL2_mixer's arithmetic: a sound starts with the device buffer after the call, on the
// lowest free of 16 channels (all busy: the oldest is halted); each sample is scaled by
// volume / 128, truncated, and added. The sum is kept unclamped, so that its peak tells
// how far past full scale it went; a sum past the 16-bit range is a clipped sample.
bool gMerge = true;  // the player's rule: one start of a sound stands for those in one tick

std::vector<int> Mix(std::vector<Start> starts, const std::array<Samples, kEffects>& fx, int volume,
                     int* mostAtOnce = nullptr) {
  std::stable_sort(starts.begin(), starts.end(),
                   [](const Start& a, const Start& b) { return a.at < b.at; });
  if (gMerge) {
    std::array<double, kEffects> last;
    last.fill(-1);
    std::erase_if(starts, [&](const Start& s) {
      const bool again =
          last[s.effect] >= 0 &&
          s.at - last[s.effect] <
              std::chrono::duration<double>(StandardSound::SdlMixerPlayer::kSameMoment).count();
      if (!again) last[s.effect] = s.at;
      return again;
    });
  }
  struct Channel {
    std::size_t from = 0, to = 0;  // sample positions in the output
    Effect effect = kFire;
  };
  std::vector<Channel> all;
  std::vector<std::size_t> playing;
  int most = 0;
  for (const Start& s : starts) {
    const auto buffer = static_cast<std::size_t>(std::ceil(s.at * kRate / kBufferFrames));
    const std::size_t from = buffer * kBufferFrames * 2;
    std::erase_if(playing, [&](std::size_t c) { return all[c].to <= from; });
    if (playing.size() == StandardSound::SdlMixerPlayer::kChannels) {
      const auto oldest = std::min_element(playing.begin(), playing.end(), [&](auto a, auto b) {
        return all[a].from < all[b].from;
      });
      all[*oldest].to = from;
      playing.erase(oldest);
    }
    playing.push_back(all.size());
    all.push_back({from, from + fx[s.effect].size(), s.effect});
    most = std::max(most, static_cast<int>(playing.size()));
  }
  if (mostAtOnce != nullptr) *mostAtOnce = most;
  std::size_t length = 0;
  for (const Channel& c : all) length = std::max(length, c.to);
  std::vector<int> out(length);
  for (const Channel& c : all) {
    const Samples& pcm = fx[c.effect];
    for (std::size_t i = c.from; i < c.to; ++i) out[i] += pcm[i - c.from] * volume / 128;
  }
  return out;
}

void Effects(const std::array<Samples, kEffects>& fx, int volume) {
  std::printf("effects as loaded (44100 Hz stereo), at volume %d/128:\n", volume);
  for (int e = 0; e < kEffects; ++e) {
    const Levels l = Measure(Mix({{0, static_cast<Effect>(e)}}, fx, volume));
    std::printf("  %-8s %.2f s  peak %+6.2f dBFS  RMS %+6.2f dBFS\n", kNames[e],
                static_cast<double>(fx[e].size() / 2) / kRate, l.peakDb, l.rmsDb);
  }
}

// The busy moments the rules allow. A shot every tick (fire.wav lasts 0.22 s: four at
// once), a bomb every 16 ticks (missile.wav, 0.8 s: one at a time), an explosion
// (boom.wav, 1.1 s) per kill: a stream of bullets kills every second tick at most (two
// hits each), every tick only through enemies that overlap. Explosions also start in
// one tick (a crash blows up the ship and the enemy, a bomb through overlapping enemies
// destroys them all); the player starts those once. With 16 channels the oldest sound
// gives way. Each burst is mixed for ticks of 60 to 66 ms and six phases of the bomb,
// and the worst is shown.
std::vector<Start> Burst(int ticks, double tick, int killEvery, int together, int bombPhase) {
  std::vector<Start> s;
  for (int t = 0; t < ticks; ++t) {
    const double at = t * tick;
    s.push_back({at, kFire});
    if (t % 16 == bombPhase) s.push_back({at, kMissile});
    if (killEvery > 0 && t % killEvery == 0) s.push_back({at, kBoom});
    if (t == ticks * 3 / 5) s.insert(s.end(), together - (killEvery > 0), {at, kBoom});
  }
  return s;
}

void Overlaps(const std::array<Samples, kEffects>& fx, int volume) {
  std::printf("busiest moments, mixed offline (worst of ticks of 60..66 ms, bomb phases):\n");
  auto worst = [&](const char* what, int killEvery, int together) {
    Levels most;
    int sounds = 0;
    for (int ms = 60; ms <= 66; ++ms) {
      for (int phase = 0; phase < 16; phase += 3) {
        int n = 0;
        const Levels l =
            Measure(Mix(Burst(40, ms / 1000.0, killEvery, together, phase), fx, volume, &n));
        sounds = std::max(sounds, n);
        if (l.peakDb > most.peakDb) most = l;
      }
    }
    char text[96];
    std::snprintf(text, sizeof text, "%s (%d at once)", what, sounds);
    Print(text, most);
  };
  worst("shots and bombs", 0, 0);
  worst("  and a kill every 2nd tick", 2, 1);
  worst("  and a kill every tick", 1, 1);
  worst("  and 6 explosions in one tick", 1, 6);
  gMerge = false;
  worst("  the same, each explosion started", 1, 6);
  gMerge = true;
  Levels most;
  for (double at = 1.5; at < 3.1; at += 0.01) {  // Esc skips the story, Enter plays
    const Levels l = Measure(Mix({{0, kIntro}, {at, kStart}}, fx, volume));
    if (l.peakDb > most.peakDb) most = l;
  }
  Print("story music, then the play's start", most);
}

// The busiest burst through the game's own player and the real mixer, on the disk driver
// at the real pace: a shot and an explosion every tick, bombs, 6 explosions in one tick.
void RealBurst() {
  char path[] = "/tmp/nova-mix-XXXXXX";
  ::close(::mkstemp(path));
  ::setenv("SDL_AUDIODRIVER", "disk", 1);
  ::setenv("SDL_DISKAUDIOFILE", path, 1);
  StandardSound::SdlMixerPlayer player({NOVA_SOUND_DIR});
  const char* const names[] = {"missile.wav", "boom.wav", "fire.wav"};
  std::vector<Start> burst = Burst(40, kTick, 1, 6, 0);
  const auto begin = std::chrono::steady_clock::now();
  for (const Start& s : burst) {
    std::this_thread::sleep_until(begin + std::chrono::duration<double>(s.at));
    player.Play(names[s.effect], StandardSound::SND_FILENAME | StandardSound::SND_ASYNC);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(1300));
  player.Close();
  std::printf("the same burst through the player, disk driver, real pace (volume %d):\n",
              StandardSound::SdlMixerPlayer::kVolume);
  Print("capture", Measure(ReadRaw(path)));
  ::unlink(path);
}

// The long play, its sounds stamped with the tick that made them.
class StampingPlayer final : public StandardSound::SoundPlayer {
 public:
  bool Play(const char* fileName, std::uint32_t) override {
    for (int e = 0; e < kEffects; ++e)
      if (std::string(fileName) == std::string(kNames[e]) + ".wav")
        starts.push_back(
            {static_cast<double>(NovaGunner::World::State().tick) * kTick, static_cast<Effect>(e)});
    return true;
  }
  std::vector<Start> starts;
};

void LongPlay(const std::array<Samples, kEffects>& fx, int volume) {
  static StampingPlayer player;
  NovaGunner::Options options;
  options.demo = NovaGunner::Options::Demo::Timedemo;
  options.demoPath = std::string(NOVA_DEMO_DIR) + "/long-play.demo";
  std::fflush(stdout);
  NovaGunner::Program::Main(
      options, {&IO::TerminalKeys(), &IO::TerminalClock(), &player, Graph::WindowSystemKind::None});
  int most = 0;
  const std::vector<int> mixed = Mix(player.starts, fx, volume, &most);
  std::printf("long play (%zu sounds, at most %d at once), mixed offline at 60 ms a tick:\n",
              player.starts.size(), most);
  Print("whole play", Measure(mixed));
}

// A busy play of 370 ticks (27 s at the normal pace, its pause included): from tick 50
// a shot every tick (a bomb every 16th), the ship stepping aside every 5th tick,
// sweeping the field; four kills, Esc at the end.
std::string BusyDemo() {
  std::string text = "# nova-gunner demo 1\n# busy: shots, bombs and kills\n";
  for (int t = 1; t <= 12; ++t) text += std::to_string(t) + " 0 80\n";
  int x = 637, step = 20, shots = 0;
  for (int t = 50; t < 350; ++t) {
    if ((t - 50) % 5 == 4) {
      step = x < 300 ? 20 : x > 950 ? -20 : step;
      x += step;
      text += std::to_string(t) + (step > 0 ? " 0 77\n" : " 0 75\n");
    } else {
      text += std::to_string(t) + (++shots % 16 == 0 ? " 48\n" : " 32\n");
    }
  }
  return text + "370 27\n";
}

}  // namespace

int main(int argc, char** argv) {
  int volume = StandardSound::SdlMixerPlayer::kVolume;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--volume" && i + 1 < argc) {
      volume = std::clamp(std::atoi(argv[++i]), 0, 128);
    } else if (arg == "--busy-demo" && i + 1 < argc) {
      std::ofstream(argv[++i]) << BusyDemo();
      return 0;
    } else {
      const std::vector<int> s = ReadRaw(arg);
      std::printf("%s: %.1f s\n", arg.c_str(), static_cast<double>(s.size() / 2) / kRate);
      Print("capture", Measure(s));
      return 0;
    }
  }
  const auto fx = LoadEffects();
  Effects(fx, volume);
  Overlaps(fx, volume);
  RealBurst();
  LongPlay(fx, volume);
  return 0;
}
