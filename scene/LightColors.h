#pragma once

// The colour of each light: the spot's diffuse and specular colour, and the
// one colour of lights 1 to 3 for ambient, diffuse and specular alike.
constexpr float LIGHT_COLORS[4][3] = {
    {1.0f, 1.0f, 1.0f},  // white spot
    {0.5f, 0.0f, 0.0f},  // red
    {0.0f, 0.5f, 0.0f},  // green
    {0.5f, 0.5f, 0.5f},  // grey, directional
};
