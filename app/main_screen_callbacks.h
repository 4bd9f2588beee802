#pragma once
// What the main screen's widgets do when they are clicked.

#include "ui/base.h"

// The window buttons, acting on the widget's id when the user value is 0: close (1) asks the
// frame function to end the program, minimise (2) minimises the window, support (3) opens the
// support page and about (4) shows the about box. Other ids do nothing.
void WindowButtonsCallback(UIBase* widget, int event, int userValue);
