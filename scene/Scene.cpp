#include "scene/Scene.h"

namespace kov {

bool CScene::Draw() {
    SetupLights();
    return RootNode.Draw();
}

}  // namespace kov
