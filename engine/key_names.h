#pragma once
// Names of the virtual keys, for showing a key to the user.

// The key's name: "A" to "Z", "0" to "9", "F1" to "F12", "NumPad 0" to "NumPad 9" and the named
// keys of the table; "?" for every other code, including codes outside 0 to 255.
const char* KeyName(int virtualKey);
