#pragma once
// What the main screen's widgets do when they are clicked.

#include "ui/base.h"

// The window buttons, acting on the widget's id when the user value is 0: close (1) asks the
// frame function to end the program, minimise (2) minimises the window, support (3) opens the
// support page and about (4) shows the about box. Other ids do nothing.
void WindowButtonsCallback(UIBase* widget, int event, int userValue);

// The profile bar, acting on the widget's id when the user value is 0: Clear Map (11), Assign
// Setting (12), Reset to default (13), Load (101), Save (102) and Presets (103), which opens the
// preset dialog. Other ids do nothing.
void ProfileBarCallback(UIBase* widget, int event, int userValue);

// A profile disc: once it is checked and names another profile than the current one (its id
// minus 21), the animated switch to that profile starts.
void ProfileRadioCallback(UIBase* widget, int event, int userValue);
