#include "image_placement.h"

#include "core/vellumengine.h"
#include "platform/native_path.h"
#include "scene/texture_files.h"
#include "utils/debug.h"
#include "utils/utils_str.h"

#include <algorithm>
#include <cstring>

using namespace irr;

namespace {

bool blockIsFree(const std::vector<uint8_t>& grid, int columns, int column, int row, int width,
                 int height) {
    for (int y = row; y < row + height; ++y) {
        for (int x = column; x < column + width; ++x) {
            if (grid[size_t(y) * size_t(columns) + size_t(x)]) {
                return false;
            }
        }
    }
    return true;
}

// The first free block of cells, rows from the top and columns from the left; marks it used.
bool takeFreeBlock(std::vector<uint8_t>& grid, int columns, int rows, int width, int height,
                   int& column, int& row) {
    // A grid shorter than its stated size offers only the rows it has.
    rows = columns > 0 ? std::min(rows, int(grid.size() / size_t(columns))) : 0;
    for (int y = 0; y + height <= rows; ++y) {
        for (int x = 0; x + width <= columns; ++x) {
            if (!blockIsFree(grid, columns, x, y, width, height)) {
                continue;
            }
            for (int cy = y; cy < y + height; ++cy) {
                std::fill_n(grid.begin() + cy * columns + x, width, uint8_t(1));
            }
            column = x;
            row = y;
            return true;
        }
    }
    return false;
}

// Copies the image into the target with its top-left corner at (left, top), clipped to the
// target. Rows are copied whole when no pixel needs changing.
void copyPixels(video::IImage* image, video::IImage* target, u32 left, u32 top,
                bool redIsTransparent) {
    const core::dimension2du size = image->getDimension();
    const core::dimension2du targetSize = target->getDimension();
    const u32 width = left < targetSize.Width ? std::min(size.Width, targetSize.Width - left) : 0;
    const u32 height = top < targetSize.Height ? std::min(size.Height, targetSize.Height - top) : 0;
    if (image->getColorFormat() == video::ECF_A8R8G8B8 && !redIsTransparent) {
        const u8* source = static_cast<const u8*>(image->lock());
        u8* destination = static_cast<u8*>(target->lock());
        for (u32 y = 0; y < height; ++y) {
            std::memcpy(destination + (top + y) * target->getPitch() + left * 4,
                        source + y * image->getPitch(), width * 4);
        }
        target->unlock();
        image->unlock();
        return;
    }
    for (u32 y = 0; y < height; ++y) {
        for (u32 x = 0; x < width; ++x) {
            video::SColor colour = image->getPixel(x, y);
            if (redIsTransparent && colour.getRed() == 255 && colour.getGreen() == 0 &&
                colour.getBlue() == 0) {
                colour.setAlpha(0);
            }
            target->setPixel(left + x, top + y, colour);
        }
    }
}

} // namespace

int placeImage(const std::string& path, TextureRegion& region, video::IImage* page,
               std::vector<uint8_t>* grid, int columns, int rows) {
    region = TextureRegion();
    region.RegionName = path;
    const std::string file = imageFilePart(path);
    const bool redIsTransparent = path.find("red_is_transparent") != std::string::npos;

    video::IVideoDriver* driver = getEngine().getDriver();
    video::IImage* image =
        driver ? driver->createImageFromFile(toNativePath(imageFilePath(path)).c_str()) : nullptr;
    if (!image) {
        reportError(format("Image %s can not be loaded at all!!!", file.c_str()), false);
        return -1;
    }
    const core::dimension2du size = image->getDimension();
    if (size.Width < u32(kAtlasCellSize) || size.Height < u32(kAtlasCellSize)) {
        image->drop();
        reportError(format("Image %s too small to be used in combiner!!!", file.c_str()), false);
        return -1;
    }

    video::IImage* target = page;
    if (!grid) {
        if (page) {
            image->drop();
            reportError("WTF??? target???", false);
            return -1;
        }
        target = driver->createImage(video::ECF_A8R8G8B8, size);
    }
    if (!target || target->getColorFormat() != video::ECF_A8R8G8B8) {
        image->drop();
        reportError(
            format("Image target %s BPP Error! Only 32b images allowed this time!!!", path.c_str()),
            false);
        return -1;
    }

    int column = 0;
    int row = 0;
    if (grid) {
        const int cellsWide = int((size.Width + kAtlasCellSize - 1) / kAtlasCellSize);
        const int cellsHigh = int((size.Height + kAtlasCellSize - 1) / kAtlasCellSize);
        if (!takeFreeBlock(*grid, columns, rows, cellsWide, cellsHigh, column, row)) {
            image->drop();
            return 1;
        }
    }
    const s32 left = column * kAtlasCellSize;
    const s32 top = row * kAtlasCellSize;
    copyPixels(image, target, u32(left), u32(top), redIsTransparent);
    image->drop();

    const core::dimension2du targetSize = target->getDimension();
    if (!grid) {
        region.setFromTexture(driver->addTexture(path.c_str(), target), path);
        target->drop();
    }
    region.PixelRect =
        core::recti(left + 1, top + 1, left + s32(size.Width) - 1, top + s32(size.Height) - 1);
    region.UV = core::rectf(f32(region.PixelRect.UpperLeftCorner.X) / f32(targetSize.Width),
                            f32(region.PixelRect.UpperLeftCorner.Y) / f32(targetSize.Height),
                            f32(region.PixelRect.LowerRightCorner.X) / f32(targetSize.Width),
                            f32(region.PixelRect.LowerRightCorner.Y) / f32(targetSize.Height));
    return 0;
}
