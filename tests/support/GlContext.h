#pragma once

// A 1024 x 768 double-buffered RGB window with a depth buffer, as the game
// opens it, made current and shown once per process. The toolkit is
// initialised with it.
void EnsureGlWindow();

// Pumps a few rounds of the toolkit's pending events, such as a reshape.
void PumpGlEvents();
