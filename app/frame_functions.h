#pragma once
// The functions the engine's frame loop calls every frame: FrameFunc for logic and RenderFunc
// for drawing, with the per-frame input record and the screen-state dispatch that the screens
// plug their handlers into.

#include <initializer_list>

#include "app/window_drag.h"
#include "engine/engine.h"

class UIPanel;

// The pointer and button as the handlers see them this frame.
struct FrameInput {
  int mouseX = 0;  // window pixels, truncated; 0 while the pointer is outside the window
  int mouseY = 0;
  bool buttonDown = false;  // left button; false outside the window
  int wheel = 0;            // wheel notches of this frame; 0 outside the window
  int cursorX = 0;          // the system cursor in screen pixels
  int cursorY = 0;
  bool captured = false;        // a widget took the current press; set by the handlers
  bool previousButton = false;  // the button state the handlers saw on the previous frame
};
extern FrameInput CurrentFrameInput;

// A screen state's per-frame handler. It returns -1 to end the program, nonzero while a widget
// has the press, else 0.
using StateHandler = int (*)();
inline constexpr int kAppStateCount = 12;
// One slot per AppState value. Slot 0 holds NoReceiverInput; the screens fill theirs at
// start-up; an empty slot does nothing.
extern StateHandler StateHandlers[kAppStateCount];

// Set by the quit button; the next frame ends the program.
extern bool QuitRequested;

// The band by which the user drags the window: the whole top band until the main screen is
// built, moved by the program until the window system takes it (InstallDragBand).
extern DragBand WindowDragBand;

// Once per frame: the start-up prompts, Escape, the input record, the window drag and the
// state's handler, which does not see a press on the band. True ends the frame loop.
bool FrameFunc();
// Once per frame after FrameFunc: draws the main screen and the overlay of the state.
bool RenderFunc();

// FrameFunc's steps on a given engine.
bool RunFrame(Engine& engine);
// The two mandatory prompts (newer program, out-of-date firmware); true ends the program.
bool AskStartupQuestions();
// Escape was pressed this frame and may end the program now. It is ignored while the firmware
// upgrade runs, so that a key press cannot cut the transfer.
bool EscapeEndsProgram(Engine& engine);
// Fills CurrentFrameInput from the engine's polled input and the system cursor.
void SampleFrameInput(Engine& engine);
// Runs the handler of AppState; returns its result.
int DispatchState();
// State 0: only the window-buttons panel takes input.
int NoReceiverInput();
// Hands this frame's press, or its hover or release, to each panel in turn and keeps the
// captured and previous-button flags. Returns -1 when quit was requested, 1 while a widget
// holds the press, else 0.
int PanelsInput(std::initializer_list<UIPanel*> panels);
