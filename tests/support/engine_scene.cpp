#include "support/engine_scene.h"

#include "core/vellumengine.h"
#include "scene/node_sprite.h"
#include "scene/picture_area.h"
#include "scene/texture_cache.h"
#include "scene/texture_region.h"

using namespace irr;

EngineScene::EngineScene(IrrlichtDevice* device, bool softwareRendering)
    : sceneManager(device->getSceneManager()), videoDriver(device->getVideoDriver()) {
    CVellumEngine& engine = getEngine();
    engine.setDeviceServices(device);
    engine.getRenderer().registerCustomMaterials(videoDriver, softwareRendering);
    cameraNode = sceneManager->addCameraSceneNode(nullptr, core::vector3df(0, 0, -20.65f),
                                                  core::vector3df(0, 0, 0), 1000);
    cameraNode->setAspectRatio(4.0f / 3.0f);
    sceneManager->setActiveCamera(cameraNode);
}

EngineScene::~EngineScene() {
    CVellumEngine& engine = getEngine();
    engine.getRenderer().drainDeletionQueue();
    sceneManager->clear();
    engine.getRenderer().releaseMaterials();
    engine.getRenderer().resetFrameStatistics();
    // Cached regions point at textures that die with the caller's device.
    forgetTextureCache();
    engine.setDeviceServices(nullptr);
}

CSpriteNode* EngineScene::addSprite(const std::string& imagePath, const core::vector3df& position,
                                    const core::dimension2df& size, scene::ISceneNode* parent) {
    CSpriteNode* sprite =
        new CSpriteNode(parent ? parent : root(), sceneManager, 8001, position, size);
    sprite->drop();
    TextureRegion region;
    region.setFromTexture(videoDriver->getTexture(imagePath.c_str()), imagePath);
    sprite->setTextureRegion(region);
    sprite->setSpriteMaterial(getEngine().getRenderer().getMaterialType(0), 0);
    return sprite;
}

core::position2di EngineScene::screenPoint(const core::vector3df& point) const {
    // The projection the scene library makes over the whole screen, made over the picture.
    const core::recti picture = fitPictureArea(videoDriver->getScreenSize());
    core::matrix4 transformation = cameraNode->getProjectionMatrix();
    transformation *= cameraNode->getViewMatrix();
    f32 projected[4] = {point.X, point.Y, point.Z, 1.0f};
    transformation.multiplyWith1x4Matrix(projected);
    if (projected[3] < 0) {
        return core::position2di(-10000, -10000);
    }
    const f32 zDiv = projected[3] == 0.0f ? 1.0f : core::reciprocal(projected[3]);
    const s32 halfWidth = picture.getWidth() / 2;
    const s32 halfHeight = picture.getHeight() / 2;
    return core::position2di(
        picture.UpperLeftCorner.X + halfWidth +
            core::round32(static_cast<f32>(halfWidth) * (projected[0] * zDiv)),
        picture.UpperLeftCorner.Y + halfHeight -
            core::round32(static_cast<f32>(halfHeight) * (projected[1] * zDiv)));
}
