// Creation and reference count, the states, and the error path.
#include "engine/engine_impl.h"

#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "engine/device_notifier.h"

namespace {

EngineImpl* instance = nullptr;
int referenceCount = 0;

// The program's folder with a trailing separator; the working folder when the system cannot tell.
void FindProgramFolder(const char* base, char* out) {
  if (*base != '\0' && std::strlen(base) < kMaxPath) {
    std::strcpy(out, base);
  } else if (getcwd(out, kMaxPath - 1) != nullptr) {
    std::strcat(out, "/");
  } else {
    std::strcpy(out, "./");
  }
}

void CopyText(char* out, std::size_t size, const char* text) {
  std::snprintf(out, size, "%s", text);
}

}  // namespace

Engine* Engine_Create(int version) {
  if (version != ENGINE_VERSION) return nullptr;
  if (instance == nullptr) instance = new EngineImpl;
  ++referenceCount;
  return instance;
}

EngineImpl::EngineImpl() {
  FindProgramFolder(os.ProgramFolder(), programFolder);
}

EngineImpl::~EngineImpl() {
  if (window != nullptr) System_Shutdown();
  Resource_RemoveAllPacks();
  os.SetLog(nullptr);
}

void EngineImpl::Release() {
  if (this != instance || referenceCount <= 0) return;
  if (--referenceCount > 0) return;
  instance = nullptr;
  delete this;
}

void EngineImpl::PostError(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::vsnprintf(errorText, sizeof errorText, format, args);
  va_end(args);
  System_Log("%s", errorText);
}

const char* EngineImpl::System_LastError() {
  return errorText;
}

void EngineImpl::System_SetState(BoolState state, bool value) {
  switch (state) {
    case STATE_WINDOWED:
      if (parentWindow != nullptr || value == windowed) return;
      windowed = value;
      if (window != nullptr && graphics.HasDevice()) {
        os.SetFullscreen(window, !windowed);
      }
      return;
    case STATE_DEPTH_BUFFER:
      if (!graphics.HasDevice()) depthBuffer = value;
      return;
    case STATE_TEXTURE_FILTER:
      textureFilter = value;
      return;
    case STATE_SOUND:
      if (value == soundOn) return;
      soundOn = value;
      if (window == nullptr) return;
      if (soundOn) {
        StartSound();
      } else {
        StopSound();
      }
      return;
    case STATE_RUN_INACTIVE:
      runInactive = value;
      return;
    case STATE_HIDE_CURSOR:
      hideCursor = value;
      return;
    case STATE_SPLASH:
      splash = value;
      return;
    case STATE_SKIP_UNCHANGED_FRAMES:
      skipUnchangedFrames = value;
      return;
  }
}

void EngineImpl::System_SetState(FuncState state, EngineCallback value) {
  switch (state) {
    case STATE_FRAME_FUNC:
      frameFunc = value;
      return;
    case STATE_RENDER_FUNC:
      renderFunc = value;
      return;
    case STATE_FOCUS_LOST_FUNC:
      focusLostFunc = value;
      return;
    case STATE_FOCUS_GAINED_FUNC:
      focusGainedFunc = value;
      return;
    case STATE_RESTORE_FUNC:
      restoreFunc = value;
      return;
    case STATE_EXIT_FUNC:
      exitFunc = value;
      return;
  }
}

void EngineImpl::System_SetState(DeviceChangeState state, DeviceChangeCallback value) {
  if (state == STATE_DEVICE_CHANGE_FUNC) deviceChangeFunc = value;
}

void EngineImpl::System_SetState(WindowState state, WindowHandle value) {
  if (state == STATE_PARENT_WINDOW && window == nullptr) parentWindow = value;
}

void EngineImpl::System_SetState(IntState state, int value) {
  const bool deviceExists = graphics.HasDevice();
  switch (state) {
    case STATE_SCREEN_WIDTH:
      if (!deviceExists) screenWidth = value;
      return;
    case STATE_SCREEN_HEIGHT:
      if (!deviceExists) screenHeight = value;
      return;
    case STATE_SCREEN_BPP:
      if (!deviceExists) screenBpp = value;
      return;
    case STATE_WINDOW_SCALE:
      if (window == nullptr) requestedScale = value;
      return;
    case STATE_SAMPLE_RATE:
      if (soundLibrary == nullptr) sampleRate = value;
      return;
    case STATE_EFFECT_VOLUME:
      effectVolume = value;
      ApplySoundVolumes();
      return;
    case STATE_MUSIC_VOLUME:
      musicVolume = value;
      ApplySoundVolumes();
      return;
    case STATE_STREAM_VOLUME:
      streamVolume = value;
      ApplySoundVolumes();
      return;
    case STATE_FPS: {
      const bool syncChanges = (value < 0) != (fps < 0);
      fps = value;
      timer.SetFps(fps);
      // Vertical synchronisation follows a negative cap.
      if (deviceExists && syncChanges) os.SetSwapInterval(fps < 0 ? 1 : 0);
      return;
    }
    case STATE_POWER:
      return;
  }
}

void EngineImpl::System_SetState(TextState state, const char* value) {
  switch (state) {
    case STATE_ICON:
      // A resource number is kept as it is; a name is copied, the caller's text may not last.
      if (value == nullptr || IsResourceId(value)) {
        icon = value;
      } else {
        CopyText(iconName, sizeof iconName, value);
        icon = iconName;
      }
      ApplyWindowIcon();
      return;
    case STATE_TITLE:
      if (value == nullptr) return;
      CopyText(title, sizeof title, value);
      os.SetTitle(window, title);
      return;
    case STATE_INI_FILE:
      if (value == nullptr) {
        iniFile[0] = '\0';
      } else {
        CopyText(iniFile, sizeof iniFile, Resource_FullPath(value));
      }
      return;
    case STATE_LOG_FILE:
      logFile.SetPath(value != nullptr ? Resource_FullPath(value) : nullptr);
      return;
  }
}

bool EngineImpl::System_GetState(BoolState state) {
  switch (state) {
    case STATE_WINDOWED:
      return windowed;
    case STATE_DEPTH_BUFFER:
      return depthBuffer;
    case STATE_TEXTURE_FILTER:
      return textureFilter;
    case STATE_SOUND:
      return soundOn;
    case STATE_RUN_INACTIVE:
      return runInactive;
    case STATE_HIDE_CURSOR:
      return hideCursor;
    case STATE_SPLASH:
      return splash;
    case STATE_SKIP_UNCHANGED_FRAMES:
      return skipUnchangedFrames;
  }
  return false;
}

EngineCallback EngineImpl::System_GetState(FuncState state) {
  switch (state) {
    case STATE_FRAME_FUNC:
      return frameFunc;
    case STATE_RENDER_FUNC:
      return renderFunc;
    case STATE_FOCUS_LOST_FUNC:
      return focusLostFunc;
    case STATE_FOCUS_GAINED_FUNC:
      return focusGainedFunc;
    case STATE_RESTORE_FUNC:
      return restoreFunc;
    case STATE_EXIT_FUNC:
      return exitFunc;
  }
  return nullptr;
}

WindowHandle EngineImpl::System_GetState(WindowState state) {
  switch (state) {
    case STATE_WINDOW:
      return window;
    case STATE_PARENT_WINDOW:
      return parentWindow;
  }
  return nullptr;
}

int EngineImpl::System_GetState(IntState state) {
  switch (state) {
    case STATE_SCREEN_WIDTH:
      return screenWidth;
    case STATE_SCREEN_HEIGHT:
      return screenHeight;
    case STATE_SCREEN_BPP:
      return screenBpp;
    case STATE_WINDOW_SCALE:
      return window != nullptr ? pixelScale : requestedScale;
    case STATE_SAMPLE_RATE:
      return sampleRate;
    case STATE_EFFECT_VOLUME:
      return effectVolume;
    case STATE_MUSIC_VOLUME:
      return musicVolume;
    case STATE_STREAM_VOLUME:
      return streamVolume;
    case STATE_FPS:
      return fps;
    case STATE_POWER:
      return powerStatus;
  }
  return 0;
}

const char* EngineImpl::System_GetState(TextState state) {
  switch (state) {
    case STATE_ICON:
      return icon;
    case STATE_TITLE:
      return title;
    case STATE_INI_FILE:
      return iniFile[0] != '\0' ? iniFile : nullptr;
    case STATE_LOG_FILE:
      return logFile.Path();
  }
  return nullptr;
}
