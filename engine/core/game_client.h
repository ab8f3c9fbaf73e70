#pragma once

#include <irrlicht/irrlicht.h>

#include <string>
#include <vector>

class CDialogFactory;
class CGUIFont3D;
class IProfileExtension;
class SpriteDescription;
class TextEffect;
struct SpriteCreationParams;

// Everything game-specific reaches the engine through this interface; the process entry creates
// one implementation and hands it to the engine, which holds one reference.
class IGameClient : public irr::IReferenceCounted {
public:
    // Cursor picture the game wants drawn this frame (filled by getCursor).
    struct CursorRequest {
        irr::video::ITexture* texture = nullptr;
        irr::core::dimension2di size{0, 0};
        irr::core::position2di hotspot{0, 0};
        bool animate = false;
        // Frames side by side in the texture; 0 until the game sets it, then kept by the caller.
        int frameCount = 0;
    };

    ~IGameClient() override = default;

    // The game's own per-profile data, or null; the profile owns the returned object.
    virtual IProfileExtension* createProfileExtension() { return nullptr; }
    // Events the input module did not consume itself; true when the game consumed it.
    virtual bool onEvent(const irr::SEvent&) { return false; }
    virtual void onFrame() {}
    virtual void registerScriptFunctions() {}
    // Lets the game add lines to the debug overlay.
    virtual void appendDebugText(std::string&) {}
    // A new description record for the node factory; the game returns its own subclass.
    virtual SpriteDescription* createSpriteDescription();
    // A new dialog object for each dialog opened; the game returns its own subclass.
    virtual CDialogFactory* createDialogFactory();
    // The game's own description macros, after the engine's parameter macros.
    virtual void expandMacros(std::string&, const std::vector<std::string>*,
                              const SpriteCreationParams*) {}
    // Node effects named in descriptions and markup; atCreation is false for on-destroy texts.
    virtual void nodeEffectHook(irr::scene::ISceneNode*, const std::string&, bool) {}
    // Speed of animators on a base timer (key 1 is the level time).
    virtual float getBaseTimerSpeed(int) { return 1.0f; }

    virtual void onStart() = 0;
    virtual void onExit() = 0;
    virtual std::wstring getWindowCaption() = 0;
    virtual void getCursor(bool leftButtonDown, CursorRequest& cursor) = 0;

    // Factor of a "<font-size:" value: "-1".."-4" shrink, "0".."4" (optionally after "+") grow.
    virtual float getFontSizeFactor(const std::string& sizeText);
    // The font for a "<font-face:" value ("" for the default font); null before onStart.
    virtual CGUIFont3D* getFont(const std::string& face) = 0;
    // The text effect a "<font-effect:" tag names, or null for a name the game does not know;
    // the caller owns the effect.
    virtual TextEffect* createTextEffect(const std::string&) { return nullptr; }
};
