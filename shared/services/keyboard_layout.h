#pragma once
// Switching the keyboard to the Russian layout when a name or search box is entered.
// X11 XKB where the desktop runs on X11; nothing elsewhere.

#include "api_export.h"

namespace api {

// Activates the Russian layout group if the keyboard has one and another is active.
API_EXPORT void switchToRussianLayout();

}  // namespace api
