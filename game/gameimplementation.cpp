#include "gameimplementation.h"

#include "core/vellumengine.h"
#include "game_data_files.h"
#include "level.h"
#include "node_effects.h"
#include "object_collisions.h"
#include "physics_world.h"
#include "scene/rendering_font.h"
#include "scene/texture_cache.h"
#include "script_api.h"
#include "spriting.h"
#include "text_effects.h"
#include "userstats.h"
#include "utils/debug.h"
#include "utils/system.h"
#include "utils/utils_fs.h"
#include "utils/utils_lang.h"
#include "utils/utils_str.h"

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

CDialogFactory* CGameImplementation::createDialogFactory() {
    return new CGameDialogFactory();
}

void CGameImplementation::nodeEffectHook(irr::scene::ISceneNode* node, const std::string& effects,
                                         bool atCreation) {
    applyNodeEffects(node, effects, atCreation);
}

void CGameImplementation::registerScriptFunctions() {
    registerGameScriptFunctions(getEngine().getScripting().vm());
}

bool CGameImplementation::isLevelLoaded() const {
    return isLevelInPlay();
}

float CGameImplementation::getBaseTimerSpeed(int baseTimerKey) {
    // The level time runs only while a level is in play.
    if (baseTimerKey == 1 && isLevelLoaded()) {
        return 1.0f;
    }
    return 0.0f;
}

void CGameImplementation::onStart() {
    CPhysicsWorld::get().setContactHandler(&objectCollisions());
    mainFont = createFont(resolveDataPath(gamefiles::kMainFont), 5.0f);
    altFont = createFont(resolveDataPath(gamefiles::kAlternativeFont), 9.69f);
    if (mainFont->glyphCount() < gamefiles::kMinimumFontCharacters ||
        altFont->glyphCount() < gamefiles::kMinimumFontCharacters) {
        reportError("Fonts are not initialized well!", false);
    }
    cursorUsual = loadCursorTexture(gamefiles::kUsualCursor);
    cursorPoint = loadCursorTexture(gamefiles::kPointCursor);
    if (cursorUsual) {
        irr::core::dimension2du size = cursorUsual->getOriginalSize();
        cursorSize =
            irr::core::dimension2di(static_cast<int>(size.Width), static_cast<int>(size.Height));
    }
}

void CGameImplementation::onExit() {
    if (CPhysicsWorld::exists()) {
        CPhysicsWorld::get().setContactHandler(nullptr);
    }
    // Cleared as well, so that nothing reaches a dropped font.
    if (mainFont) {
        mainFont->drop();
        mainFont = nullptr;
    }
    if (altFont) {
        altFont->drop();
        altFont = nullptr;
    }
}

std::wstring CGameImplementation::getWindowCaption() {
    static std::wstring* caption = new std::wstring();
    if (caption->empty()) {
        *caption = toWide(localize("GAME.TITLE"));
    }
    return *caption;
}

CGUIFont3D* CGameImplementation::getFont(const std::string& face) {
    return startsWith(face, "a") ? altFont : mainFont;
}

TextEffect* CGameImplementation::createTextEffect(const std::string& name) {
    return createGameTextEffect(name);
}

SpriteDescription* CGameImplementation::createSpriteDescription() {
    return new CGameSpriteDescription();
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
