#pragma once

// Whether the keyboard's Scroll Lock is on, as the X server's indicator says.
// False where there is no X display (another platform, a headless run).
bool scrollLockOn();
