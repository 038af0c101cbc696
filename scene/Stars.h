#pragma once

#include "math/Vector.h"
#include "scene/SceneNode.h"

constexpr int STAR_COUNT = 1000;

namespace kov {

// The sky: a thousand points on a unit sphere around the eye. Drawn first; it
// clears the depth buffer after itself so that it never hides the scene.
class CStars : public ISceneNode {
public:
    CStars();

    bool Draw() override;

    CVector3 vStars[STAR_COUNT];
};

}  // namespace kov
