// SDL2_mixer behind the game's sound events.
#include "support/SdlMixerPlayer.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <utility>

namespace StandardSound {

namespace {

// Sound libraries (ALSA above all) write their complaints straight to standard error,
// which shares the terminal with the game's console text. The reason is kept in
// LastError instead.
class QuietStderr {
 public:
  QuietStderr() {
    std::fflush(stderr);
    saved_ = dup(STDERR_FILENO);
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved_ >= 0 && null >= 0) dup2(null, STDERR_FILENO);
    if (null >= 0) close(null);
  }
  ~QuietStderr() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    dup2(saved_, STDERR_FILENO);
    close(saved_);
  }
  QuietStderr(const QuietStderr&) = delete;
  QuietStderr& operator=(const QuietStderr&) = delete;

 private:
  int saved_ = -1;
};

// SDL2_mixer and the score of codec libraries it pulls in are loaded at the first sound
// (on the opening thread, see Prepare), not when the program starts: loading them took
// some 10 ms of every start-up.
struct Mixer {
  decltype(&::Mix_OpenAudioDevice) OpenAudioDevice = nullptr;
  decltype(&::Mix_QuerySpec) QuerySpec = nullptr;
  decltype(&::Mix_AllocateChannels) AllocateChannels = nullptr;
  decltype(&::Mix_Volume) Volume = nullptr;
  decltype(&::Mix_LoadWAV_RW) LoadWAV_RW = nullptr;
  decltype(&::Mix_PlayChannelTimed) PlayChannelTimed = nullptr;
  decltype(&::Mix_GroupOldest) GroupOldest = nullptr;
  decltype(&::Mix_HaltChannel) HaltChannel = nullptr;
  decltype(&::Mix_Playing) Playing = nullptr;
  decltype(&::Mix_FreeChunk) FreeChunk = nullptr;
  decltype(&::Mix_CloseAudio) CloseAudio = nullptr;
  decltype(&::Mix_SetPostMix) SetPostMix = nullptr;
};
Mixer mix;

template <typename F>
bool Resolve(void* library, const char* name, F& into) {
  into = reinterpret_cast<F>(::dlsym(library, name));
  return into != nullptr;
}

// FALSE, with the reason, when the library or one of its functions is missing.
bool LoadMixer(std::string& error) {
  static bool loaded = false;
  if (loaded) return true;
  void* library = ::dlopen("libSDL2_mixer-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    const char* why = ::dlerror();
    error = why != nullptr ? why : "cannot load libSDL2_mixer-2.0.so.0";
    return false;
  }
  loaded = Resolve(library, "Mix_OpenAudioDevice", mix.OpenAudioDevice) &&
           Resolve(library, "Mix_QuerySpec", mix.QuerySpec) &&
           Resolve(library, "Mix_AllocateChannels", mix.AllocateChannels) &&
           Resolve(library, "Mix_Volume", mix.Volume) &&
           Resolve(library, "Mix_LoadWAV_RW", mix.LoadWAV_RW) &&
           Resolve(library, "Mix_PlayChannelTimed", mix.PlayChannelTimed) &&
           Resolve(library, "Mix_GroupOldest", mix.GroupOldest) &&
           Resolve(library, "Mix_HaltChannel", mix.HaltChannel) &&
           Resolve(library, "Mix_Playing", mix.Playing) &&
           Resolve(library, "Mix_FreeChunk", mix.FreeChunk) &&
           Resolve(library, "Mix_CloseAudio", mix.CloseAudio) &&
           Resolve(library, "Mix_SetPostMix", mix.SetPostMix);
  if (!loaded) error = "libSDL2_mixer-2.0.so.0 lacks a function this program needs";
  return loaded;
}

}  // namespace

SdlMixerPlayer::SdlMixerPlayer(std::vector<std::string> searchDirs)
    : searchDirs_(std::move(searchDirs)) {}

SdlMixerPlayer::~SdlMixerPlayer() {
  Close();
}

void SdlMixerPlayer::Prepare(const std::vector<std::string>& fileNames) {
  if (device_ != Device::Unopened || opener_.joinable()) return;
  ++openAttempts_;
  // Nothing else touches the player until OpenDevice joins this thread.
  opener_ = std::thread([this, fileNames] {
    openedInBackground_ = TryOpen();
    if (openedInBackground_) {
      const std::string error = lastError_;
      for (const std::string& name : fileNames) Chunk(name.c_str());
      lastError_ = error;  // a file missing now is reported when it is played
    }
    SDL_TLSCleanup();  // SDL frees its per-thread data only for threads it made itself
  });
}

bool SdlMixerPlayer::OpenDevice() {
  if (opener_.joinable()) {
    opener_.join();
    device_ = openedInBackground_ ? Device::Open : Device::Failed;
  } else if (device_ == Device::Unopened) {
    ++openAttempts_;
    device_ = TryOpen() ? Device::Open : Device::Failed;
  } else {
    return device_ == Device::Open;
  }
  // Every play then writes the game's own three lines; the reason is said once.
  if (device_ == Device::Failed) {
    std::fprintf(stderr, "nova-gunner: no sound: the audio device cannot be opened: %s\n",
                 lastError_.c_str());
  }
  return device_ == Device::Open;
}

bool SdlMixerPlayer::TryOpen() {
  QuietStderr quiet;
  if (!LoadMixer(lastError_)) return false;
  // Audio only: the graphics service owns SDL video on its own thread.
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    lastError_ = SDL_GetError();
    return false;
  }
  audioSubsystem_ = true;
  if (mix.OpenAudioDevice(44100, AUDIO_S16SYS, 2, 1024, nullptr,
                          SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE) !=
      0) {
    lastError_ = Mix_GetError();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    audioSubsystem_ = false;
    return false;
  }
  Uint16 format = 0;
  mix.QuerySpec(&frequency_, &format, &outChannels_);
  bytesPerSample_ = SDL_AUDIO_BITSIZE(format) / 8;
  mix.AllocateChannels(kChannels);
  mix.Volume(-1, MixerVolume(volume_));
  // Muted, the mix goes out as silence: at once, whatever plays, whichever thread mutes.
  mix.SetPostMix(
      [](void* player, Uint8* stream, int length) {
        if (static_cast<SdlMixerPlayer*>(player)->muted_) std::memset(stream, 0, length);
      },
      this);
  return true;
}

void SdlMixerPlayer::SetVolume(int percent) {
  volume_ = std::clamp(percent, 0, 100);
  if (device_ == Device::Open) mix.Volume(-1, MixerVolume(volume_));
}

SdlMixerPlayer::Stamp SdlMixerPlayer::Locate(const Entry& entry, std::string& path) const {
  for (const std::string& candidate : entry.candidates) {
    struct stat st {};
    if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
      path = candidate;
      return {true, st.st_dev, st.st_ino, st.st_size,
              static_cast<long long>(st.st_ctim.tv_sec) * 1000000000LL + st.st_ctim.tv_nsec};
    }
  }
  return {};
}

Mix_Chunk* SdlMixerPlayer::Chunk(const char* fileName) {
  auto [it, added] = cache_.try_emplace(fileName);
  Entry& entry = it->second;
  if (entry.chunk != nullptr) return entry.chunk;
  if (added) {
    entry.candidates.emplace_back(fileName);
    if (std::string_view(fileName).find('/') == std::string_view::npos) {
      for (const std::string& dir : searchDirs_) entry.candidates.push_back(dir + "/" + fileName);
    }
  }
  std::string path;
  const Stamp now = Locate(entry, path);
  // Unchanged since it last failed (still missing, or the same unreadable file).
  if (!added && now == entry.failedAs) return nullptr;
  entry.failedAs = now;
  if (!now.exists) {
    lastError_ = std::string("no such file: ") + fileName;
    return nullptr;
  }
  // The file is closed here rather than by the mixer, which forgets to on some errors.
  SDL_RWops* file = SDL_RWFromFile(path.c_str(), "rb");
  entry.chunk = file != nullptr ? mix.LoadWAV_RW(file, 0) : nullptr;
  if (file != nullptr) SDL_RWclose(file);
  if (entry.chunk == nullptr) lastError_ = Mix_GetError();
  return entry.chunk;
}

void SdlMixerPlayer::WaitUntilDone(int channel, const Mix_Chunk* chunk) const {
  // Bounded by the sound's own length, in case the device stalls.
  const Uint32 bytesPerSecond = static_cast<Uint32>(frequency_ * outChannels_ * bytesPerSample_);
  const Uint64 lengthMs = bytesPerSecond ? Uint64{chunk->alen} * 1000 / bytesPerSecond : 0;
  const Uint64 deadline = SDL_GetTicks64() + lengthMs + 1000;
  while (mix.Playing(channel) != 0 && SDL_GetTicks64() < deadline) SDL_Delay(2);
}

bool SdlMixerPlayer::Play(const char* fileName, std::uint32_t flags) {
  if (fileName == nullptr || *fileName == '\0' || !OpenDevice()) return false;
  Mix_Chunk* chunk = Chunk(fileName);
  if (chunk == nullptr) return false;
  const auto now = std::chrono::steady_clock::now();
  auto& started = started_[chunk];
  if ((flags & SND_ASYNC) != 0 && now - started < kSameMoment) return true;
  int channel = mix.PlayChannelTimed(-1, chunk, 0, -1);
  if (channel < 0) {
    // Every channel busy: the oldest sound gives way, as a new shot matters more.
    const int oldest = mix.GroupOldest(-1);
    if (oldest >= 0) {
      mix.HaltChannel(oldest);
      channel = mix.PlayChannelTimed(oldest, chunk, 0, -1);
    }
    if (channel < 0) {
      lastError_ = Mix_GetError();
      return false;
    }
  }
  started = now;
  if ((flags & SND_ASYNC) == 0) WaitUntilDone(channel, chunk);
  return true;
}

void SdlMixerPlayer::Close() {
  if (opener_.joinable()) OpenDevice();  // an opening under way ends first
  if (device_ == Device::Open) mix.HaltChannel(-1);
  for (auto& [name, entry] : cache_) {
    if (entry.chunk != nullptr) mix.FreeChunk(entry.chunk);
  }
  cache_.clear();
  started_.clear();
  if (device_ == Device::Open) mix.CloseAudio();
  if (audioSubsystem_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  audioSubsystem_ = false;
  device_ = Device::Unopened;
}

SoundPlayer& ProgramSoundPlayer() {
  static SdlMixerPlayer* player = [] {
    std::vector<std::string> dirs;
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    // Beside the program itself (the build folder), then the data folder of a program
    // installed in bin/, then of one in games/ (where Debian puts games).
    if (!ec) {
      dirs.push_back(exe.parent_path().string());
      const auto share = exe.parent_path() / ".." / "share";
      dirs.push_back((share / "nova-gunner").string());
      dirs.push_back((share / "games" / "nova-gunner").string());
    }
    return new SdlMixerPlayer(std::move(dirs));
  }();
  return *player;
}

}  // namespace StandardSound
