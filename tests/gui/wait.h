#pragma once
// How long a GUI test waits for something to happen (a window exposed, a first paint, a timer's
// tick). The waits end as soon as the condition holds, so the limit only matters when it never
// does; QtTest's default of 5 s is too short on a loaded machine with software rendering.
inline constexpr int kGuiWaitMs = 60000;
