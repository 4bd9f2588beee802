#pragma once
// The drawing half of the engine on OpenGL 3.3 core: the device, the batch of one streaming vertex
// buffer, textures and render targets. EngineImpl forwards its Gfx_, Target_ and Texture_
// operations here (engine_graphics.cpp).

#include "engine/engine.h"

class EngineImpl;

class Graphics {
 public:
  explicit Graphics(EngineImpl& engine) : engine_(engine) {}

  // Sets the GL attributes the window must be created with; returns the SDL window flags to add.
  static unsigned PrepareWindow();
  // Creates the context and the device resources for the engine's window. False with the
  // engine's error set on failure.
  bool Initiate();
  // Frees textures, targets, buffers and the context. Safe to call more than once.
  void Shutdown();
  // The device exists (stands for "the Direct3D interface object exists").
  bool HasDevice() const;
  // Writes the current back buffer to a Windows bitmap file.
  bool SaveBackBuffer(const char* path);

 private:
  EngineImpl& engine_;
};
