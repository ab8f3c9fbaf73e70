#include "support/child_process.h"

#include <irrlicht/irrlicht.h>

#include <sys/wait.h>

#include <cstdlib>

int runShellCommand(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

float litShare(const std::string& pngPath) {
    irr::IrrlichtDevice* device = irr::createDevice(irr::video::EDT_NULL);
    irr::video::IImage* image = device->getVideoDriver()->createImageFromFile(pngPath.c_str());
    float share = -1;
    if (image != nullptr) {
        const irr::core::dimension2du size = image->getDimension();
        int lit = 0;
        int sampled = 0;
        for (irr::u32 y = 0; y < size.Height; y += 4) {
            for (irr::u32 x = 0; x < size.Width; x += 4, ++sampled) {
                irr::video::SColor pixel = image->getPixel(x, y);
                lit += pixel.getRed() + pixel.getGreen() + pixel.getBlue() > 30 ? 1 : 0;
            }
        }
        share = static_cast<float>(lit) / static_cast<float>(sampled);
        image->drop();
    }
    device->drop();
    return share;
}
