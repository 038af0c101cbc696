#include "board/Texture.h"

// PLACEHOLDER: texture loading is being written.
void LoadTexture(int, const char*, int) {}
