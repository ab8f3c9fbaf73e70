#include "gameimplementation.h"

#include "core/vellumengine.h"
#include "scene/texture_cache.h"
#include "userstats.h"
#include "utils/system.h"
#include "utils/utils_fs.h"
#include "utils/utils_lang.h"

namespace {

// Cursor strips hold this many frames side by side.
constexpr int kCursorFrames = 8;

// A missing image leaves the cursor without a texture (nothing is drawn for it).
irr::video::ITexture* loadCursorTexture(const char* name) {
    std::string path = resolveDataPath(name);
    return fileExists(path) ? getTextureRegion(path).Texture : nullptr;
}

} // namespace

IProfileExtension* CGameImplementation::createProfileExtension() {
    return new CGameStatistics();
}

float CGameImplementation::getBaseTimerSpeed(int baseTimerKey) {
    // The level time runs only while a level is in play.
    if (baseTimerKey == 1 && isLevelLoaded()) {
        return 1.0f;
    }
    return 0.0f;
}

void CGameImplementation::onStart() {
    cursorUsual = loadCursorTexture("gui\\cursor_usual.png");
    cursorPoint = loadCursorTexture("gui\\cursor_point.png");
    if (cursorUsual) {
        irr::core::dimension2du size = cursorUsual->getOriginalSize();
        cursorSize =
            irr::core::dimension2di(static_cast<int>(size.Width), static_cast<int>(size.Height));
    }
}

void CGameImplementation::onExit() {}

std::wstring CGameImplementation::getWindowCaption() {
    static std::wstring* caption = new std::wstring();
    if (caption->empty()) {
        *caption = toWide(localize("GAME.TITLE"));
    }
    return *caption;
}

void CGameImplementation::getCursor(bool leftButtonDown, CursorRequest& cursor) {
    if (isLevelLoaded()) {
        cursor.texture = cursorPoint;
        cursor.hotspot = irr::core::position2di(-5, -3);
    } else {
        cursor.texture = cursorUsual;
        cursor.hotspot = irr::core::position2di(-3, -3);
    }
    cursor.animate = leftButtonDown;
    if (cursor.frameCount != 0) {
        return;
    }
    cursor.size = cursorSize;
    cursor.frameCount = kCursorFrames;
}
