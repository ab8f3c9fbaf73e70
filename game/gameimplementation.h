#pragma once

#include "core/game_client.h"

#include <irrlicht/irrlicht.h>

#include <string>

class CGUIFont3D;

// The game behind the engine's game interface: caption, fonts, cursors, profile statistics.
class CGameImplementation : public IGameClient {
public:
    IProfileExtension* createProfileExtension() override;
    float getBaseTimerSpeed(int baseTimerKey) override;
    void onStart() override;
    void onExit() override;
    std::wstring getWindowCaption() override;
    void getCursor(bool leftButtonDown, CursorRequest& cursor) override;
    // The alternative font for a face starting with "a", the main font otherwise.
    CGUIFont3D* getFont(const std::string& face) override;
    // "brake", "mistiqueIn", "typer" or "jumper" (text_effects.h).
    TextEffect* createTextEffect(const std::string& name) override;
    // A CGameSpriteDescription, so the game's description keys are read and applied.
    SpriteDescription* createSpriteDescription() override;
    // A CGameDialogFactory, so dialogs marked "-Game-" become levels.
    CDialogFactory* createDialogFactory() override;
    // The game's native script functions (script_api.h).
    void registerScriptFunctions() override;
    // The node effects "delay", "fadeout" and "sizeout" (node_effects.h).
    void nodeEffectHook(irr::scene::ISceneNode* node, const std::string& effects,
                        bool atCreation) override;

private:
    // Whether a level is loaded and in play.
    bool isLevelLoaded() const;

    CGUIFont3D* mainFont = nullptr;
    CGUIFont3D* altFont = nullptr;
    irr::video::ITexture* cursorUsual = nullptr;
    irr::video::ITexture* cursorPoint = nullptr;
    irr::core::dimension2di cursorSize{0, 0};
};
