// The text of a text node with its markup lines, drawn for a few frames on the NULL device.
#include "core/vellumengine.h"
#include "fuzz/fuzz_host.h"
#include "scene/node_text.h"
#include "scene/node_utilities.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    irr::IrrlichtDevice* device = fuzz::scene();
    CVellumEngine& engine = getEngine();
    try {
        makeTextNode(std::string(reinterpret_cast<const char*>(data), size),
                     irr::core::vector3df(0, 0, 0), engine.rootNode(), kNoNodeId);
        for (irr::u32 time : {1000u, 1040u, 6000u}) {
            device->getTimer()->setTime(time);
            engine.getRenderer().renderAll();
        }
    } catch (const fuzz::InputRefused&) {
    }
    fuzz::clearScene();
    return 0;
}
