#pragma once

#include "core/game_client.h"

#include <irrlicht/irrlicht.h>

#include <string>

// The game behind the engine's game interface: caption, cursors, profile statistics.
class CGameImplementation : public IGameClient {
public:
    IProfileExtension* createProfileExtension() override;
    float getBaseTimerSpeed(int baseTimerKey) override;
    void onStart() override;
    void onExit() override;
    std::wstring getWindowCaption() override;
    void getCursor(bool leftButtonDown, CursorRequest& cursor) override;

private:
    // Whether a level is loaded; levels arrive with the level module, until then none is.
    bool isLevelLoaded() const { return false; }

    irr::video::ITexture* cursorUsual = nullptr;
    irr::video::ITexture* cursorPoint = nullptr;
    irr::core::dimension2di cursorSize{0, 0};
};
