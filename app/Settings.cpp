#include "app/Settings.h"

CSettings& GetSettings() {
    // Value-initialised: every field is 0 / false until the defaults are assigned.
    static CSettings s_Settings{};
    return s_Settings;
}

bool IsNearestShown(const CSettings& settings) {
    return settings.bDepthTest && settings.fNear < settings.fFar;
}
