#pragma once

// A 1024 x 768 double-buffered RGB window with a depth buffer, as the game
// opens it, made current and shown once per process. The toolkit is
// initialised with it.
void EnsureGlWindow();

// Pumps the toolkit's events so the window is mapped and its reshape delivered.
void PumpGlEvents();
