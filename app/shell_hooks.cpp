#include "app/shell_hooks.h"

ReceiverHooks receiverHooks;
SettingsHooks settingsHooks;
ScreenHooks screenHooks;
