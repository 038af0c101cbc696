#pragma once

#include "scene/SceneNode.h"

namespace kov {

// The top of the scene graph: sets up the four lights, then draws the tree
// below the root. Not a node itself.
class CScene {
public:
    virtual bool Draw();

    ISceneNode RootNode;  // its own transform and material are never applied

private:
    // Hands the four lights to OpenGL in the coordinates of the current
    // modelview matrix, the camera's view: the lights stay put in the world.
    void SetupLights();
};

}  // namespace kov
