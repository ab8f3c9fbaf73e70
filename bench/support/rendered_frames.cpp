#include "rendered_frames.h"

#include "core/vellumengine.h"

#include <chrono>

std::vector<double> timeRenderedFrames(irr::IrrlichtDevice* device, int warmUpFrames,
                                       int measuredFrames,
                                       const std::function<void(int frame)>& beforeFrame) {
    irr::video::IVideoDriver* driver = device->getVideoDriver();
    CRenderModule& renderer = getEngine().getRenderer();
    std::vector<double> times;
    for (int frame = 0; frame < warmUpFrames + measuredFrames; ++frame) {
        const auto start = std::chrono::steady_clock::now();
        beforeFrame(frame);
        device->run();
        renderer.resetFrameStatistics();
        driver->beginScene(true, true, irr::video::SColor(255, 0, 0, 0));
        renderer.renderAll();
        driver->endScene();
        const auto end = std::chrono::steady_clock::now();
        if (frame >= warmUpFrames) {
            times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        }
    }
    return times;
}
