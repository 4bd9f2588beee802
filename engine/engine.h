#pragma once
// The engine's public interface: one object that owns the window, runs the paced frame loop,
// reads input, draws, loads files and logs. Reached through Engine_Create(ENGINE_VERSION) with a
// reference count; every holder gives its reference back with Release.
//
// The operations keep a fixed order, grouped as: system, states, resources, ini, random, timer,
// sound, channels, input, graphics, render targets, textures; later additions follow them.

#include <cstdint>

constexpr int ENGINE_VERSION = 0x180;

// Window handle of the engine's window (an SDL_Window* on this platform), or null.
using WindowHandle = void*;

// Opaque handles of the graphics part.
struct GfxTexture;
struct GfxTarget;
using TextureHandle = GfxTexture*;
using TargetHandle = GfxTarget*;

// Handles of the sound part, passed through from the sound library.
using SampleHandle = std::uint32_t;
using MusicHandle = std::uint32_t;
using StreamHandle = std::uint32_t;
using ChannelHandle = std::uint32_t;

using EngineCallback = bool (*)();
// Receives the window procedure's four arguments for every device-change message.
using DeviceChangeCallback = bool (*)(WindowHandle window, std::uint32_t message,
                                      std::uintptr_t wParam, std::intptr_t lParam);

// Device-change messages, as the window procedure delivers them.
constexpr std::uint32_t WM_DEVICECHANGE = 0x0219;
constexpr std::uintptr_t DBT_DEVICEARRIVAL = 0x8000;
constexpr std::uintptr_t DBT_DEVICEREMOVECOMPLETE = 0x8004;
constexpr std::uint32_t DBT_DEVTYP_DEVICEINTERFACE = 5;

// The record that lParam points at for arrival and removal of a device interface.
struct DeviceInterfaceRecord {
  std::uint32_t deviceType;  // DBT_DEVTYP_DEVICEINTERFACE
  const char* path;          // device node, e.g. "/dev/hidraw3"
};

// States, numbered; each number belongs to exactly one kind.
enum BoolState : int {
  STATE_WINDOWED = 1,
  STATE_DEPTH_BUFFER = 2,
  STATE_TEXTURE_FILTER = 3,
  STATE_SOUND = 4,
  STATE_RUN_INACTIVE = 5,
  STATE_HIDE_CURSOR = 6,
  STATE_SPLASH = 7,
  // On by default: a frame that would draw the picture already on the screen is not drawn or
  // presented again. Off draws every frame.
  STATE_SKIP_UNCHANGED_FRAMES = 101,
};

enum FuncState : int {
  STATE_FRAME_FUNC = 8,
  STATE_RENDER_FUNC = 9,
  STATE_FOCUS_LOST_FUNC = 10,
  STATE_FOCUS_GAINED_FUNC = 11,
  STATE_RESTORE_FUNC = 12,
  STATE_EXIT_FUNC = 13,
};

enum WindowState : int {
  STATE_WINDOW = 15,
  STATE_PARENT_WINDOW = 16,
};

enum IntState : int {
  STATE_SCREEN_WIDTH = 17,
  STATE_SCREEN_HEIGHT = 18,
  STATE_SCREEN_BPP = 19,
  STATE_SAMPLE_RATE = 20,
  STATE_EFFECT_VOLUME = 21,
  STATE_MUSIC_VOLUME = 22,
  STATE_STREAM_VOLUME = 23,
  STATE_FPS = 24,
  STATE_POWER = 25,
  // Physical pixels per pixel of the screen's size, a whole number. Set before System_Initiate:
  // 1 to 3 forces it, 0 (the default) takes CORSARO_SCALE or else the desktop's scale. Read
  // after it: the scale in use. Everything above the engine keeps to the screen's size; only
  // the drawing and the back buffer (screenshots) have the physical pixels.
  STATE_WINDOW_SCALE = 102,
};

enum TextState : int {
  STATE_ICON = 26,
  STATE_TITLE = 27,
  STATE_INI_FILE = 28,
  STATE_LOG_FILE = 29,
};

enum DeviceChangeState : int {
  STATE_DEVICE_CHANGE_FUNC = 100,
};

// A text state may carry a resource number instead of text (the icon is set that way).
inline const char* MakeResourceId(int id) {
  return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(id));
}
inline bool IsResourceId(const char* text) {
  return reinterpret_cast<std::uintptr_t>(text) < 0x10000;
}

// Input events.
enum InputEventType : int {
  EVENT_KEY_DOWN = 1,
  EVENT_KEY_UP = 2,
  EVENT_BUTTON_DOWN = 3,
  EVENT_BUTTON_UP = 4,
  EVENT_MOUSE_MOVE = 5,
  EVENT_WHEEL = 6,
};

enum InputModifier : int {
  MOD_SHIFT = 1,
  MOD_CTRL = 2,
  MOD_ALT = 4,
  MOD_CAPS_LOCK = 8,
  MOD_SCROLL_LOCK = 16,
  MOD_NUM_LOCK = 32,
  MOD_REPEAT = 64,
};

// Virtual-key codes the program names (the numbering of Windows keyboards).
constexpr int VK_LBUTTON = 1;
constexpr int VK_RBUTTON = 2;
constexpr int VK_MBUTTON = 4;
constexpr int VK_RETURN = 13;
constexpr int VK_ESCAPE = 27;
constexpr int VK_F4 = 115;

struct InputEvent {
  std::int32_t type;   // InputEventType
  std::int32_t key;    // virtual-key code; 1, 2 or 4 for buttons; 0 for wheel and mouse moves
  std::int32_t flags;  // InputModifier bits
  std::int32_t chr;    // character of a key event, else 0
  std::int32_t wheel;  // notches of a wheel event, positive away from the user
  float x, y;          // client position
};

// Drawing records.
struct Vertex {
  float x, y;            // screen position
  float z;               // depth, 0.5 by default
  std::uint32_t colour;  // ARGB, alpha in the top byte
  float u, v;            // texture coordinates, 0 to 1 over the whole texture
};
static_assert(sizeof(Vertex) == 24);

struct Triangle {
  Vertex v[3];
  TextureHandle texture;
  std::int32_t blend;
};

// Corners in the order top-left, top-right, bottom-right, bottom-left.
struct Quad {
  Vertex v[4];
  TextureHandle texture;
  std::int32_t blend;
};

enum BlendBits : int {
  BLEND_COLOR_ADD = 1,    // texture colour plus vertex colour (else times)
  BLEND_ALPHA_BLEND = 2,  // destination weighted by one minus source alpha (else additive)
  BLEND_DEPTH_WRITE = 4,  // depth writes on
  BLEND_DEFAULT = BLEND_ALPHA_BLEND,
};

enum PrimitiveKind : int {
  PRIM_LINES = 2,
  PRIM_TRIANGLES = 3,
  PRIM_QUADS = 4,
};

// A rectangle of the window in its logical pixels (the screen width and height states) by which
// the user may drag the window, or a hole in the rectangles listed before it.
struct DragArea {
  int x, y, width, height;
  bool draggable;
};
constexpr int kMaxDragAreas = 32;

class EngineImpl;

// Something that learns of device arrivals and removals: the system's udev monitor, or a model
// receiver. The message pump polls it once per loop iteration when no window event is waiting;
// Poll must not block, and reports each change with EngineImpl::DeliverDeviceChange.
class DeviceNotificationSource {
 public:
  virtual void Poll(EngineImpl& engine) = 0;

 protected:
  ~DeviceNotificationSource() = default;
};

class Engine {
 public:
  // Gives back one reference; the last one shuts the engine down and destroys it.
  virtual void Release() = 0;

  // Opens the window and the graphics device, shows the splash. False with an error on failure.
  virtual bool System_Initiate(bool withCaption) = 0;
  virtual void System_Shutdown() = 0;
  // Runs the message pump and the frame loop until the frame function returns true.
  virtual bool System_Start() = 0;
  virtual const char* System_LastError() = 0;
  // Appends one formatted line to the log file, if one is set.
  virtual void System_Log(const char* format, ...) __attribute__((format(printf, 2, 3))) = 0;
  virtual bool System_ShellOpen(const char* pathOrUrl) = 0;
  // Saves the back buffer as a bitmap; a null name picks the next "shot%03d.bmp".
  virtual void System_Screenshot(const char* fileName) = 0;

  virtual void System_SetState(BoolState state, bool value) = 0;
  virtual void System_SetState(FuncState state, EngineCallback value) = 0;
  virtual void System_SetState(DeviceChangeState state, DeviceChangeCallback value) = 0;
  virtual void System_SetState(WindowState state, WindowHandle value) = 0;
  virtual void System_SetState(IntState state, int value) = 0;
  virtual void System_SetState(TextState state, const char* value) = 0;

  virtual bool System_GetState(BoolState state) = 0;
  virtual EngineCallback System_GetState(FuncState state) = 0;
  virtual WindowHandle System_GetState(WindowState state) = 0;
  virtual int System_GetState(IntState state) = 0;
  virtual const char* System_GetState(TextState state) = 0;

  // A whole file, from the resource packs or from disk; the caller frees it with Resource_Free.
  virtual void* Resource_Load(const char* name, std::uint32_t* size = nullptr) = 0;
  virtual void Resource_Free(void* data) = 0;
  virtual bool Resource_AddPack(const char* fileName, const char* password = nullptr) = 0;
  virtual void Resource_RemovePack(const char* fileName) = 0;
  virtual void Resource_RemoveAllPacks() = 0;
  // The name made absolute against the program's folder; the buffer is reused by the next call.
  virtual const char* Resource_FullPath(const char* name) = 0;
  virtual const char* Resource_FindFile(const char* pattern = nullptr) = 0;
  virtual const char* Resource_FindFolder(const char* pattern = nullptr) = 0;

  virtual void Ini_WriteInt(const char* section, const char* key, int value) = 0;
  virtual int Ini_ReadInt(const char* section, const char* key, int defaultValue) = 0;
  virtual void Ini_WriteFloat(const char* section, const char* key, float value) = 0;
  virtual float Ini_ReadFloat(const char* section, const char* key, float defaultValue) = 0;
  virtual void Ini_WriteString(const char* section, const char* key, const char* value) = 0;
  virtual const char* Ini_ReadString(const char* section, const char* key,
                                     const char* defaultValue) = 0;

  virtual void Random_Seed(std::uint32_t seed = 0) = 0;
  virtual int Random_Integer(int min, int max) = 0;
  virtual float Random_Real(float min, float max) = 0;

  virtual float Timer_Seconds() = 0;
  virtual float Timer_Delta() = 0;
  virtual int Timer_FramesPerSecond() = 0;

  // Sound works only while STATE_SOUND is on and SDL2_mixer could be loaded; otherwise every
  // operation does nothing and answers 0, false, -1 or -1.0. Without an output device, loads
  // answer the dummy handle 1. Volumes are 0 to 100, pans -100 (left) to 100 (right), pitch a
  // factor of the natural speed (which the mixer cannot change: it is ignored). Loads read a file
  // through Resource_Load when size is 0, else size bytes in memory.

  // Decodes a whole sample; one sample plays at most four times at once.
  virtual SampleHandle Sound_LoadSample(const char* dataOrName, std::uint32_t size = 0) = 0;
  virtual void Sound_FreeSample(SampleHandle sample) = 0;
  // Plays the sample on a new channel; a fifth play takes over the quietest of the four.
  virtual ChannelHandle Sound_PlaySample(SampleHandle sample) = 0;
  virtual ChannelHandle Sound_PlaySampleEx(SampleHandle sample, int volume = 100, int pan = 0,
                                           float pitch = 1.0f, bool loop = false) = 0;
  // Music keeps a copy of the bytes; it shares one player with streams.
  virtual MusicHandle Sound_LoadMusic(const char* dataOrName, std::uint32_t size = 0) = 0;
  virtual void Sound_FreeMusic(MusicHandle music) = 0;
  // Plays the music unless it plays already; an order of 0 or more jumps there (tracker music).
  // The music handle is its channel.
  virtual ChannelHandle Sound_PlayMusic(MusicHandle music, bool loop = true, int order = -1,
                                        int row = -1) = 0;
  // Tracker-only controls the mixer does not offer: ignored, queries answer -1 or false.
  virtual void Sound_SetMusicAmplify(MusicHandle music, int amplify) = 0;
  virtual int Sound_GetMusicAmplify(MusicHandle music) = 0;
  virtual int Sound_GetMusicLength(MusicHandle music) = 0;
  virtual void Sound_SetMusicPosition(MusicHandle music, int order, int row) = 0;
  virtual bool Sound_GetMusicPosition(MusicHandle music, int* order, int* row) = 0;
  virtual void Sound_SetInstrumentVolume(MusicHandle music, int instrument, int volume) = 0;
  virtual int Sound_GetInstrumentVolume(MusicHandle music, int instrument) = 0;
  virtual void Sound_SetMusicChannelVolume(MusicHandle music, int channel, int volume) = 0;
  virtual int Sound_GetMusicChannelVolume(MusicHandle music, int channel) = 0;
  // A stream decodes as it plays: from the caller's bytes, which must live until
  // Sound_FreeStream, or from a file's bytes, which it keeps until then.
  virtual StreamHandle Sound_LoadStream(const char* dataOrName, std::uint32_t size = 0) = 0;
  virtual void Sound_FreeStream(StreamHandle stream) = 0;
  // Plays the stream from its start, stopping any music; the stream handle is its channel.
  virtual ChannelHandle Sound_PlayStream(StreamHandle stream, bool loop = false) = 0;

  // Channels: plays of samples, and music and streams. A value of -1 (-101 for a pan) leaves an
  // attribute as it is.
  virtual void Channel_SetPanning(ChannelHandle channel, int pan) = 0;
  virtual void Channel_SetVolume(ChannelHandle channel, int volume) = 0;
  virtual void Channel_SetPitch(ChannelHandle channel, float pitch) = 0;
  virtual void Channel_Pause(ChannelHandle channel) = 0;
  virtual void Channel_Resume(ChannelHandle channel) = 0;
  virtual void Channel_Stop(ChannelHandle channel) = 0;
  // Pauses everything until Channel_ResumeAll; channels paused one by one stay paused then.
  virtual void Channel_PauseAll() = 0;
  virtual void Channel_ResumeAll() = 0;
  virtual void Channel_StopAll() = 0;
  // Playing and not paused.
  virtual bool Channel_IsPlaying(ChannelHandle channel) = 0;
  // Length and position in seconds. Only music and streams can be moved.
  virtual float Channel_GetLength(ChannelHandle channel) = 0;
  virtual float Channel_GetPosition(ChannelHandle channel) = 0;
  virtual void Channel_SetPosition(ChannelHandle channel, float seconds) = 0;
  // Moves the attributes in a straight line to the targets over seconds, frame by frame: a slide
  // advances only while System_Start runs frames.
  virtual void Channel_SlideTo(ChannelHandle channel, float seconds, int volume, int pan = -101,
                               float pitch = -1) = 0;
  virtual bool Channel_IsSliding(ChannelHandle channel) = 0;

  virtual void Input_MousePosition(float* x, float* y) = 0;
  virtual void Input_SetMousePosition(float x, float y) = 0;
  virtual int Input_WheelDelta() = 0;
  virtual bool Input_MouseInside() = 0;
  virtual bool Input_KeyPressed(int key) = 0;
  virtual bool Input_KeyReleased(int key) = 0;
  virtual bool Input_KeyHeld(int key) = 0;
  virtual const char* Input_KeyName(int key) = 0;
  virtual int Input_LastKey() = 0;
  virtual int Input_LastChar() = 0;
  virtual bool Input_NextEvent(InputEvent* event) = 0;

  virtual bool Gfx_BeginScene(TargetHandle target = nullptr) = 0;
  virtual void Gfx_EndScene() = 0;
  virtual void Gfx_Clear(std::uint32_t colour) = 0;
  virtual void Gfx_DrawLine(float x1, float y1, float x2, float y2,
                            std::uint32_t colour = 0xFFFFFFFF, float z = 0.5f) = 0;
  virtual void Gfx_DrawTriangle(const Triangle* triangle) = 0;
  virtual void Gfx_DrawQuad(const Quad* quad) = 0;
  virtual Vertex* Gfx_BeginBatch(int primitiveKind, TextureHandle texture, int blend,
                                 int* maximum) = 0;
  virtual void Gfx_EndBatch(int primitiveCount) = 0;
  virtual void Gfx_SetClipRect(int x = 0, int y = 0, int width = 0, int height = 0) = 0;
  virtual void Gfx_SetTransform(float x = 0, float y = 0, float dx = 0, float dy = 0,
                                float rotation = 0, float hscale = 0, float vscale = 0) = 0;

  virtual TargetHandle Target_Create(int width, int height, bool withDepth) = 0;
  virtual void Target_Free(TargetHandle target) = 0;
  virtual TextureHandle Target_Texture(TargetHandle target) = 0;

  virtual TextureHandle Texture_Create(int width, int height) = 0;
  // With size 0, dataOrName is a file name read through Resource_Load; else size bytes in memory.
  virtual TextureHandle Texture_Load(const void* dataOrName, std::uint32_t size = 0,
                                     bool mipmaps = false) = 0;
  virtual void Texture_Free(TextureHandle texture) = 0;
  virtual int Texture_Width(TextureHandle texture, bool fromImage = false) = 0;
  virtual int Texture_Height(TextureHandle texture, bool fromImage = false) = 0;
  virtual std::uint32_t* Texture_Lock(TextureHandle texture, bool readOnly = true, int left = 0,
                                      int top = 0, int width = 0, int height = 0) = 0;
  virtual void Texture_Unlock(TextureHandle texture) = 0;

  // Added after the fixed operations above: what a desktop shell needs from the platform.

  // The system cursor's position in screen (desktop) pixels.
  virtual void Input_CursorOnScreen(int* x, int* y) = 0;
  // Starts watching for HID devices arriving and leaving: from then on the message pump hands each
  // arrival and removal to the device-change function. `source` reports them (it must outlive the
  // frame loop); null watches the system's own notices (udev). False when they cannot be had.
  virtual bool System_WatchDeviceChanges(DeviceNotificationSource* source = nullptr) = 0;
  // Lets the window system move the window when the user presses on it where the areas say so
  // (of the areas holding the point, the last one listed decides; none means not draggable): it
  // runs its own move (on X11, Wayland and Windows alike) and the press never reaches the
  // program. The areas are copied and stay fixed until the next call or the window's end; null
  // or 0 areas take the move away. False when the video driver cannot do it, there is no window
  // or there are more than kMaxDragAreas areas: the program must then move the window itself.
  virtual bool System_SetDragAreas(const DragArea* areas, int count) = 0;

 protected:
  ~Engine() = default;
};

// The one engine object, or null when the version is not ENGINE_VERSION. Each successful call
// takes a reference that Release gives back.
Engine* Engine_Create(int version);
