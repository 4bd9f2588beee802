#pragma once
// The sound part of the engine, on SDL2_mixer (engine/mixer_library.h). EngineImpl forwards its
// Sound_ and Channel_ operations here (engine_sound.cpp). While the output is not open every
// operation does nothing and answers its empty value: 0, -1 or -1.0.
//
// Samples are decoded whole when loaded and play on the mixer's channels; one sample plays at
// most four times at once, and a fifth play takes over the quietest of the four. Music and
// streams play on the mixer's one music player, so starting one stops the one before; music keeps
// a copy of its bytes, a stream plays from the caller's bytes or from the file bytes it keeps.
//
// Handles are 32-bit with their kind in the top four bits, so they are never 0 or 1 (1 is the
// dummy handle of silent mode). A channel handle names one play of a sample; a music or stream
// handle is also the channel it plays on. Handles of things that are gone answer empty values.
//
// What SDL2_mixer cannot do is logged once and otherwise ignored: pitch (the mixer plays every
// sample at the output rate), panning music and streams, setting the position of a sample's
// channel, and the tracker-only controls (orders and rows, amplification, instrument and
// channel volumes).

#include <atomic>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "engine/channel_slide.h"
#include "engine/engine.h"

class EngineImpl;
struct Mix_Chunk;
struct _Mix_Music;

// The library the sound part runs on.
constexpr const char* kMixerLibraryFile = "libSDL2_mixer-2.0.so.0";

class Sound {
 public:
  explicit Sound(EngineImpl& engine) : engine_(engine) {}
  ~Sound() { Close(); }
  Sound(const Sound&) = delete;
  Sound& operator=(const Sound&) = delete;

  // Opens the default output at the rate, 16-bit stereo, and logs the device. False, with a log
  // line, when there is no output to open: the engine then runs silent.
  bool Open(int sampleRate);
  // Stops everything, frees every sample, music and stream (and the bytes streams keep) and
  // closes the output.
  void Close();
  bool IsOpen() const { return open_; }

  // The three volume states (0 to 100): they scale sample channels, music and streams.
  void SetVolumes(int effectVolume, int musicVolume, int streamVolume);
  // Moves the channel slides on by the frame's time.
  void AdvanceSlides(float seconds);

  // With size 0, dataOrName names a file read through the engine's resources; else it points at
  // size bytes. 0 with the engine's error on failure.
  SampleHandle LoadSample(const char* dataOrName, std::uint32_t size);
  // Stops the sample's plays and frees it.
  void FreeSample(SampleHandle sample);
  // Plays the sample from its start with these attributes; 0 when it cannot.
  ChannelHandle PlaySample(SampleHandle sample, const ChannelAttributes& attributes, bool loop);

  MusicHandle LoadMusic(const char* dataOrName, std::uint32_t size);
  void FreeMusic(MusicHandle music);
  // Plays the music unless it plays already (a paused one resumes); an order of 0 or more jumps
  // there. Answers the music's channel, 0 when it cannot play.
  ChannelHandle PlayMusic(MusicHandle music, bool loop, int order, int row);
  // Jumps the playing music to the order; -1 keeps it.
  void SetMusicPosition(MusicHandle music, int order, int row);
  // The tracker-only controls: ignored, and -1 or false for every query.
  void SetMusicAmplify(MusicHandle music, int amplify);
  int MusicAmplify(MusicHandle music);
  int MusicOrders(MusicHandle music);
  bool MusicPosition(MusicHandle music, int* order, int* row);
  void SetInstrumentVolume(MusicHandle music, int instrument, int volume);
  int InstrumentVolume(MusicHandle music, int instrument);
  void SetMusicChannelVolume(MusicHandle music, int channel, int volume);
  int MusicChannelVolume(MusicHandle music, int channel);

  // With a size the stream plays from the caller's bytes, which must live until FreeStream;
  // from a file it keeps the file's bytes until then.
  StreamHandle LoadStream(const char* dataOrName, std::uint32_t size);
  void FreeStream(StreamHandle stream);
  // Plays the stream from its start; answers its channel, 0 when it cannot play.
  ChannelHandle PlayStream(StreamHandle stream, bool loop);

  // Sets a channel's attributes; kKeepVolume, kKeepPan and kKeepPitch leave one as it is. An
  // attribute set here stops sliding.
  void SetAttributes(ChannelHandle channel, int volume, int pan, float pitch);
  void Pause(ChannelHandle channel);
  // Resumes a paused channel.
  void Resume(ChannelHandle channel);
  void Stop(ChannelHandle channel);
  // Pauses every channel and the music; channels started meanwhile start paused.
  void PauseAll();
  // Resumes what PauseAll paused; channels paused one by one stay paused.
  void ResumeAll();
  void StopAll();
  // Playing and not paused.
  bool IsPlaying(ChannelHandle channel);
  // Length and position in seconds; -1 for an unknown channel.
  float Length(ChannelHandle channel);
  float Position(ChannelHandle channel);
  void SetPosition(ChannelHandle channel, float seconds);
  // Slides the attributes to the targets over seconds (at once when seconds is 0 or less).
  void SlideTo(ChannelHandle channel, float seconds, int volume, int pan, float pitch);
  bool IsSliding(ChannelHandle channel) const;

 private:
  enum Kind : std::uint32_t { kSampleKind = 1, kMusicKind = 2, kStreamKind = 3, kChannelKind = 4 };

  // What SDL2_mixer cannot do, each logged the first time it is asked for.
  enum Limitation : unsigned {
    kNoPitch = 1,
    kNoMusicPan = 2,
    kNoSampleSeek = 4,
    kNoTrackerPosition = 8,
    kNoAmplify = 16,
    kNoInstrumentVolume = 32,
    kNoMusicChannelVolume = 64,
  };

  struct Sample {
    Mix_Chunk* chunk;
  };

  // Music and streams alike.
  struct Music {
    _Mix_Music* music;
    void* ownedBytes;  // what the decoder reads from, freed with the music; null for the caller's
    ChannelAttributes attributes;
    bool paused = false;  // paused on its own (not by PauseAll)
  };

  // One mixer channel and the play it carries.
  struct Channel {
    ChannelHandle handle = 0;  // 0 while no play of a loaded sample is on it
    SampleHandle sample = 0;
    ChannelAttributes attributes;
    bool loop = false;
    bool paused = false;  // paused on its own (not by PauseAll)
    // Bytes of the sample mixed so far, counted on the audio thread.
    std::atomic<std::uint64_t> mixedBytes{0};
  };

  static Kind KindOf(std::uint32_t handle) { return static_cast<Kind>(handle >> 28); }
  std::uint32_t NewHandle(Kind kind);
  static const char* Describe(Limitation limitation);
  void Note(Limitation limitation);

  void* LoadBytes(const char* dataOrName, std::uint32_t* size, bool copy, const char* failure);
  std::uint32_t AddMusic(Kind kind, const char* dataOrName, std::uint32_t size);
  void FreeMusicOfKind(std::uint32_t handle, Kind kind);
  Music* FindMusic(std::uint32_t handle, Kind kind);
  Music* FindMusic(std::uint32_t handle);
  bool StartMusic(std::uint32_t handle, Music& music, bool loop);
  bool IsCurrentMusic(std::uint32_t handle) const { return handle != 0 && current_ == handle; }
  void ApplyMusicVolume();

  // The mixer channel that carries this play, or -1.
  int ChannelIndex(ChannelHandle handle) const;
  const Mix_Chunk* ChunkOf(const Channel& channel) const;
  int ChannelFor(SampleHandle sample);
  int AddChannels();
  void ApplyChannel(int index);
  bool StartChannel(int index, Mix_Chunk* chunk, bool loop);
  bool ApplySlide(std::uint32_t handle, const ChannelAttributes& reached, unsigned moving);
  void ApplyAttributes(std::uint32_t handle, ChannelAttributes& to, const ChannelAttributes& from,
                       unsigned which);

  EngineImpl& engine_;
  bool open_ = false;
  int bytesPerSecond_ = 0;
  int effectVolume_ = 100;
  int musicVolume_ = 100;
  int streamVolume_ = 100;
  bool pausedAll_ = false;
  std::uint32_t serial_ = 0;
  unsigned notedLimitations_ = 0;
  std::unordered_map<SampleHandle, Sample> samples_;
  std::unordered_map<std::uint32_t, Music> music_;  // music and streams
  std::uint32_t current_ = 0;                       // the music or stream on the music player
  std::vector<std::unique_ptr<Channel>> channels_;  // by mixer channel; the audio thread counts
                                                    // into them, so they never move
  ChannelSlides slides_;
};
