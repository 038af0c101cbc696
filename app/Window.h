#pragma once

// The game's one window, in pixels, as it opens.
constexpr int WINDOW_WIDTH = 1024;
constexpr int WINDOW_HEIGHT = 768;
