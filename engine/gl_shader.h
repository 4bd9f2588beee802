#pragma once
// The one shader program of the 2D batch: texture times (or plus) vertex colour, and the alpha
// test that drops texels with alpha below 1/255.

// Compiles and links the program; 0 on failure (the driver's message goes to the log buffer).
unsigned BuildShaderProgram(char* log, int logSize);

// Attribute slots and uniform names the program uses.
constexpr unsigned kAttribPosition = 0;
constexpr unsigned kAttribColour = 1;
constexpr unsigned kAttribTexCoord = 2;
constexpr const char* kUniformTransform = "uTransform";
constexpr const char* kUniformColourAdd = "uColourAdd";
constexpr const char* kUniformTexture = "uTexture";
