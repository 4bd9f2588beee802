#pragma once
// The start-up splash: the carried 256 by 256 logo centred on black, faded in over 0.25 s, held
// until 1 s and faded out by 1.25 s. EngineImpl::RunSplash (splash.cpp) runs it as a frame
// function inside System_Initiate; the pieces below are what it is made of.

#include "engine/engine.h"

constexpr int kSplashSize = 256;

// The logo's alpha after `elapsed` seconds, or -1 once the splash is over.
int SplashAlpha(float elapsed);
// The quad of the logo centred on a screen of the size, white, BLEND_DEFAULT.
Quad MakeSplashQuad(int screenWidth, int screenHeight, TextureHandle logo);
// Draws one splash frame: black, then the logo with the alpha.
void DrawSplashFrame(Engine* engine, Quad* quad, int alpha);
