#include "bench_device.h"

#include "core/vellumengine.h"
#include "platform/heap_reuse.h"
#include "scene/texture_cache.h"

#include <cstdio>

irr::IrrlichtDevice* openBenchDevice(irr::video::E_DRIVER_TYPE driverType) {
    // As the game does before its device opens.
    keepFreedHeapForReuse();
    irr::SIrrlichtCreationParameters parameters;
    parameters.DriverType = driverType;
    parameters.WindowSize = irr::core::dimension2du(800, 600);
    parameters.Bits = 32;
    parameters.Vsync = false;
    parameters.LoggingLevel = irr::ELL_WARNING;
    irr::IrrlichtDevice* device = irr::createDeviceEx(parameters);
    if (!device) {
        std::fprintf(stderr, "no device (an OpenGL one needs a display: run under xvfb-run)\n");
        return nullptr;
    }
    irr::video::IVideoDriver* driver = device->getVideoDriver();
    driver->setTextureCreationFlag(irr::video::ETCF_CREATE_MIP_MAPS, false);
    CVellumEngine& engine = getEngine();
    engine.setDeviceServices(device);
    engine.getRenderer().registerCustomMaterials(driver, false);
    irr::scene::ICameraSceneNode* camera = device->getSceneManager()->addCameraSceneNode(
        nullptr, irr::core::vector3df(0, 0, -20.65f), irr::core::vector3df(0, 0, 0));
    camera->setAspectRatio(4.0f / 3.0f);
    return device;
}

void closeBenchDevice(irr::IrrlichtDevice* device) {
    CVellumEngine& engine = getEngine();
    device->getSceneManager()->clear();
    engine.getRenderer().releaseLists();
    engine.getRenderer().releaseMaterials();
    engine.setDeviceServices(nullptr);
    device->closeDevice();
    device->run();
    device->drop();
    // The cached regions point at the dropped device's textures.
    forgetTextureCache();
}
