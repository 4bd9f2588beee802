#pragma once
// The program's own short name ("corsaro270"), as lines on the terminal begin.
const char* ProgramShortName();
