#pragma once
// One customiser per user: a second start does not open the receiver a second time; it asks the
// first run to raise its window and says on standard error that the program is already running.

inline constexpr const char* kAlreadyRunningText = "The Corsaro 270 Customiser is already running.";

// Claims this run under `name` ("corsaro270"; null claims nothing, as scripted runs do). False
// when another run holds the name: it was asked to raise its window, standard error says so, and
// this run must end without touching the first one's files. When the claim
// cannot be checked, standard error says why and the run goes on.
bool ClaimSingleRun(const char* name);
// Once per frame: raises the window when a later start asked for it.
void AnswerLaterStarts();
// Gives the claim up at the end of the run.
void EndSingleRun();
