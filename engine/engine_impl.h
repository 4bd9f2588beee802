#pragma once
// The one implementation of Engine. Its operations live in one file per part:
//   engine_impl.cpp      creation, reference count, states, the error path
//   engine_system.cpp    System_Initiate/Start/Shutdown, the window procedure, timer, screenshot
//   engine_resources.cpp log, files, packs, search, ini, random, power status
//   engine_sound.cpp     sound and channels (data in Sound)
//   engine_input.cpp     Input_ operations (data in Input)
//   engine_graphics.cpp  Gfx_, Target_, Texture_ operations (data in Graphics)
//   splash.cpp           the start-up splash
//   window_icon.cpp      the window's icon
//   window_hit_test.cpp  the areas by which the window system drags the window

#include <cmath>
#include <cstdint>
#include <memory>

#include "engine/drag_areas.h"
#include "engine/engine.h"
#include "engine/file_search.h"
#include "engine/frame_timer.h"
#include "engine/full_path.h"
#include "engine/graphics.h"
#include "engine/input.h"
#include "engine/log_file.h"
#include "engine/millisecond_clock.h"
#include "engine/platform/platform.h"
#include "engine/power_status.h"
#include "engine/sound.h"

struct DisplayScale;

class EngineImpl;
class DeviceNotifier;
struct ImageArgb;

class EngineImpl final : public Engine {
 public:
  EngineImpl();
  // Shuts down a window that is still open and forgets the packs.
  ~EngineImpl();

  void Release() override;

  bool System_Initiate(bool withCaption) override;
  void System_Shutdown() override;
  bool System_Start() override;
  const char* System_LastError() override;
  void System_Log(const char* format, ...) override __attribute__((format(printf, 2, 3)));
  bool System_ShellOpen(const char* pathOrUrl) override;
  void System_Screenshot(const char* fileName) override;

  void System_SetState(BoolState state, bool value) override;
  void System_SetState(FuncState state, EngineCallback value) override;
  void System_SetState(DeviceChangeState state, DeviceChangeCallback value) override;
  void System_SetState(WindowState state, WindowHandle value) override;
  void System_SetState(IntState state, int value) override;
  void System_SetState(TextState state, const char* value) override;

  bool System_GetState(BoolState state) override;
  EngineCallback System_GetState(FuncState state) override;
  WindowHandle System_GetState(WindowState state) override;
  int System_GetState(IntState state) override;
  const char* System_GetState(TextState state) override;

  void* Resource_Load(const char* name, std::uint32_t* size) override;
  void Resource_Free(void* data) override;
  bool Resource_AddPack(const char* fileName, const char* password) override;
  void Resource_RemovePack(const char* fileName) override;
  void Resource_RemoveAllPacks() override;
  const char* Resource_FullPath(const char* name) override;
  const char* Resource_FindFile(const char* pattern) override;
  const char* Resource_FindFolder(const char* pattern) override;

  void Ini_WriteInt(const char* section, const char* key, int value) override;
  int Ini_ReadInt(const char* section, const char* key, int defaultValue) override;
  void Ini_WriteFloat(const char* section, const char* key, float value) override;
  float Ini_ReadFloat(const char* section, const char* key, float defaultValue) override;
  void Ini_WriteString(const char* section, const char* key, const char* value) override;
  const char* Ini_ReadString(const char* section, const char* key,
                             const char* defaultValue) override;

  void Random_Seed(std::uint32_t seed) override;
  int Random_Integer(int min, int max) override;
  float Random_Real(float min, float max) override;

  float Timer_Seconds() override;
  float Timer_Delta() override;
  int Timer_FramesPerSecond() override;

  SampleHandle Sound_LoadSample(const char* dataOrName, std::uint32_t size) override;
  void Sound_FreeSample(SampleHandle sample) override;
  ChannelHandle Sound_PlaySample(SampleHandle sample) override;
  ChannelHandle Sound_PlaySampleEx(SampleHandle sample, int volume, int pan, float pitch,
                                   bool loop) override;
  MusicHandle Sound_LoadMusic(const char* dataOrName, std::uint32_t size) override;
  void Sound_FreeMusic(MusicHandle music) override;
  ChannelHandle Sound_PlayMusic(MusicHandle music, bool loop, int order, int row) override;
  void Sound_SetMusicAmplify(MusicHandle music, int amplify) override;
  int Sound_GetMusicAmplify(MusicHandle music) override;
  int Sound_GetMusicLength(MusicHandle music) override;
  void Sound_SetMusicPosition(MusicHandle music, int order, int row) override;
  bool Sound_GetMusicPosition(MusicHandle music, int* order, int* row) override;
  void Sound_SetInstrumentVolume(MusicHandle music, int instrument, int volume) override;
  int Sound_GetInstrumentVolume(MusicHandle music, int instrument) override;
  void Sound_SetMusicChannelVolume(MusicHandle music, int channel, int volume) override;
  int Sound_GetMusicChannelVolume(MusicHandle music, int channel) override;
  StreamHandle Sound_LoadStream(const char* dataOrName, std::uint32_t size) override;
  void Sound_FreeStream(StreamHandle stream) override;
  ChannelHandle Sound_PlayStream(StreamHandle stream, bool loop) override;

  void Channel_SetPanning(ChannelHandle channel, int pan) override;
  void Channel_SetVolume(ChannelHandle channel, int volume) override;
  void Channel_SetPitch(ChannelHandle channel, float pitch) override;
  void Channel_Pause(ChannelHandle channel) override;
  void Channel_Resume(ChannelHandle channel) override;
  void Channel_Stop(ChannelHandle channel) override;
  void Channel_PauseAll() override;
  void Channel_ResumeAll() override;
  void Channel_StopAll() override;
  bool Channel_IsPlaying(ChannelHandle channel) override;
  float Channel_GetLength(ChannelHandle channel) override;
  float Channel_GetPosition(ChannelHandle channel) override;
  void Channel_SetPosition(ChannelHandle channel, float seconds) override;
  void Channel_SlideTo(ChannelHandle channel, float seconds, int volume, int pan,
                       float pitch) override;
  bool Channel_IsSliding(ChannelHandle channel) override;

  void Input_MousePosition(float* x, float* y) override;
  void Input_SetMousePosition(float x, float y) override;
  int Input_WheelDelta() override;
  bool Input_MouseInside() override;
  bool Input_KeyPressed(int key) override;
  bool Input_KeyReleased(int key) override;
  bool Input_KeyHeld(int key) override;
  const char* Input_KeyName(int key) override;
  int Input_LastKey() override;
  int Input_LastChar() override;
  bool Input_NextEvent(InputEvent* event) override;

  bool Gfx_BeginScene(TargetHandle target) override;
  void Gfx_EndScene() override;
  void Gfx_Clear(std::uint32_t colour) override;
  void Gfx_DrawLine(float x1, float y1, float x2, float y2, std::uint32_t colour, float z) override;
  void Gfx_DrawTriangle(const Triangle* triangle) override;
  void Gfx_DrawQuad(const Quad* quad) override;
  Vertex* Gfx_BeginBatch(int primitiveKind, TextureHandle texture, int blend,
                         int* maximum) override;
  void Gfx_EndBatch(int primitiveCount) override;
  void Gfx_SetClipRect(int x, int y, int width, int height) override;
  void Gfx_SetTransform(float x, float y, float dx, float dy, float rotation, float hscale,
                        float vscale) override;

  TargetHandle Target_Create(int width, int height, bool withDepth) override;
  void Target_Free(TargetHandle target) override;
  TextureHandle Target_Texture(TargetHandle target) override;

  TextureHandle Texture_Create(int width, int height) override;
  TextureHandle Texture_Load(const void* dataOrName, std::uint32_t size, bool mipmaps) override;
  void Texture_Free(TextureHandle texture) override;
  int Texture_Width(TextureHandle texture, bool fromImage) override;
  int Texture_Height(TextureHandle texture, bool fromImage) override;
  std::uint32_t* Texture_Lock(TextureHandle texture, bool readOnly, int left, int top, int width,
                              int height) override;
  void Texture_Unlock(TextureHandle texture) override;

  void Input_CursorOnScreen(int* x, int* y) override;
  bool System_WatchDeviceChanges(DeviceNotificationSource* source) override;
  bool System_SetDragAreas(const DragArea* areas, int count) override;

  // The one error path of every part: the message goes to the log as its own line and becomes
  // the text System_LastError returns.
  void PostError(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // Runs the start-up splash (step 14 of System_Initiate).
  void RunSplash();

  // The window procedure: one event of the platform turned into the engine's handling of the
  // matching window message. Public so that tests can drive the engine with synthetic events.
  void WindowProcedure(const platform::Event& event);

  // Hands a device arrival (DBT_DEVICEARRIVAL) or removal (DBT_DEVICEREMOVECOMPLETE) of the device
  // node at path to the device-change function, as a WM_DEVICECHANGE message whose lParam points
  // at a DeviceInterfaceRecord. False when no function is set or it returned false.
  bool DeliverDeviceChange(std::uintptr_t event, const char* path);

  // Registers the source the message pump polls (null for none); the source must outlive the
  // frame loop. System_WatchDeviceChanges registers the engine's own udev monitor this way.
  void SetDeviceNotificationSource(DeviceNotificationSource* source);

  // The first steps of System_Initiate, before the graphics device: the start-up log lines, the
  // window, the random seed, the power reader and input. Public so that the frame loop can run in
  // tests without a device (start the timer with timer.Start then).
  bool OpenWindow(bool withCaption);

  // The full path System_Screenshot writes to for this name (null picks "shot%03d.bmp" after the
  // count of existing shots). The text lives in the path buffer.
  const char* ScreenshotPath(const char* fileName);

  // The system under the engine, chosen when the engine is made.
  platform::Platform& os = platform::Current();

  // The parts' data.
  Graphics graphics{*this};
  Input input{*this};
  Sound sound{*this};

  // System.
  WindowHandle window = nullptr;
  bool active = false;
  char errorText[256] = {};
  char programFolder[kMaxPath] = {};  // with a trailing '/'
  EngineCallback frameFunc = nullptr;
  EngineCallback renderFunc = nullptr;
  EngineCallback focusLostFunc = nullptr;
  EngineCallback focusGainedFunc = nullptr;
  EngineCallback restoreFunc = nullptr;
  EngineCallback exitFunc = nullptr;
  DeviceChangeCallback deviceChangeFunc = nullptr;
  const char* icon = nullptr;  // a resource number kept as given, or iconName
  char iconName[256] = {};
  char title[256] = "Engine";
  int screenWidth = 800;
  int screenHeight = 600;
  int screenBpp = 32;
  int requestedScale = 0;  // STATE_WINDOW_SCALE as set: 0 follows the desktop
  int pixelScale = 1;      // physical pixels per screen pixel, chosen when the window opens
  int windowUnits = 1;     // window-system units per screen pixel (the pointer's positions)
  bool windowed = false;
  bool depthBuffer = false;
  bool textureFilter = true;
  char iniFile[kMaxPath] = {};
  LogFile logFile;
  bool soundOn = true;
  int sampleRate = 44100;
  int effectVolume = 100;
  int musicVolume = 100;
  int streamVolume = 100;
  int fps = 0;
  bool hideCursor = true;
  bool runInactive = false;
  WindowHandle parentWindow = nullptr;
  bool splash = true;
  bool skipUnchangedFrames = true;
  int powerStatus = kPowerUnknown;
  struct WindowRect {
    int left, top, right, bottom;
  };
  WindowRect windowedRect{};
  bool windowedBorderless = false;  // a window without caption when windowed
  WindowRect fullscreenRect{};
  FrameTimer timer;
  MillisecondClock* clock = &SystemClock();  // tests drive the frame loop through their own

  // Resources.
  char iniReadBuffer[256] = {};
  PowerStatus power;
  char pathBuffer[kMaxPath] = {};
  struct Pack {
    char path[kMaxPath];  // full path; compared without regard to case
    char password[64];    // empty for none
    Pack* next;
  };
  Pack* packs = nullptr;  // newest first
  FileSearch search;

  // Sound.
  const char* soundLibraryFile = kMixerLibraryFile;  // tests name missing or wrong libraries
  void* soundLibrary = nullptr;  // the mixer library's module while sound runs, else null
  bool soundSilent = false;      // loaded, but no output device could be opened

 private:
  void LogStartupFacts();
  // The window cannot be had: the error as every engine error, the platform's reason in the
  // log, and both on standard error.
  void FailWindow(const char* error, const char* reason);
  // The windowed and full-screen places on the desktop, and the window to open at the one in use.
  platform::WindowSpec PlaceWindow(bool withCaption);
  void ApplyScale(const DisplayScale& scale);
  // A pointer position in window units, in screen pixels: the pixel whose units hold it.
  float ToPixels(int units) const {
    return std::floor(static_cast<float>(units) / static_cast<float>(windowUnits));
  }
  bool StartSound();
  void StopSound();
  void ApplySoundVolumes();
  // Gives the window the icon of STATE_ICON (window_icon.cpp); a failure is logged.
  void ApplyWindowIcon();
  bool DecodeIcon(ImageArgb* image);
  void FocusChange(bool nowActive);
  void AskToClose();
  void UpdateCursor();
  void HandleWindowEvent(const platform::Event& event);
  void HandleKey(const platform::Event& event);
  void HandleButton(const platform::Event& event);
  void HandleWheel(const platform::Event& event);
  bool PumpOneMessage();

  bool quitRequested_ = false;  // a close was granted: every frame loop ends until shutdown
  bool cursorHidden_ = false;
  bool videoStarted_ = false;
  // The platform's own log lines go to the engine's log.
  class PlatformLog final : public platform::LogSink {
   public:
    explicit PlatformLog(EngineImpl& engine) : engine_(engine) {}
    void Line(const char* text) override { engine_.System_Log("%s", text); }

   private:
    EngineImpl& engine_;
  };
  PlatformLog platformLog_{*this};
  DeviceNotificationSource* deviceNotifications_ = nullptr;
  std::unique_ptr<DeviceNotifier> deviceWatcher_;  // made by System_WatchDeviceChanges
  // What the window system's drag test reads; replaced only while no test is installed.
  std::unique_ptr<const DragRegion> dragRegion_;
  void ForgetDragAreas();
};
