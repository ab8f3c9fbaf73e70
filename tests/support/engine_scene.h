#pragma once

#include <irrlicht/irrlicht.h>

#include <string>

class CSpriteNode;

// Points the engine at a device for one test: the engine's driver and scene manager become the
// device's, the scene gets the engine's camera (at (0, 0, -20.65) looking along +Z, aspect 4:3)
// and the render module registers the custom materials. Everything is undone at the end: the
// deletion queue is drained, the scene cleared, the materials released and the engine let go of
// the device (which the caller still owns).
class EngineScene {
public:
    EngineScene(irr::IrrlichtDevice* device, bool softwareRendering = false);
    ~EngineScene();
    EngineScene(const EngineScene&) = delete;
    EngineScene& operator=(const EngineScene&) = delete;

    irr::scene::ISceneManager* scene() const { return sceneManager; }
    irr::video::IVideoDriver* driver() const { return videoDriver; }
    irr::scene::ICameraSceneNode* camera() const { return cameraNode; }
    irr::scene::ISceneNode* root() const { return sceneManager->getRootSceneNode(); }

    // A sprite showing the image (a native path), set up as the node factory sets up sprites:
    // blend material 0, no lighting, no depth test or writes, no culling, no filtering.
    CSpriteNode* addSprite(const std::string& imagePath, const irr::core::vector3df& position,
                           const irr::core::dimension2df& size,
                           irr::scene::ISceneNode* parent = nullptr);

    // The window pixel the camera shows a scene point at, in the picture fitted into the window.
    irr::core::position2di screenPoint(const irr::core::vector3df& point) const;

private:
    irr::scene::ISceneManager* sceneManager;
    irr::video::IVideoDriver* videoDriver;
    irr::scene::ICameraSceneNode* cameraNode;
};
