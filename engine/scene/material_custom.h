#pragma once

#include <irrlicht/irrlicht.h>

// The engine's three blend modes, selected by a sprite description's "-MaterialType:" index:
//   0 BlendAlpha     the texture tinted by the vertex colour, alpha-blended over what is below;
//   1 BlendAdd2x     texture times vertex colour, twice as bright, added onto what is below;
//   2 BlendColorAdd  the vertex colour times itself, added in the shape of the texture's alpha.
// In every mode the source alpha is texture alpha times vertex alpha.
// The render module embeds this table; the main loop registers it once the device exists and
// releases it at shutdown.
struct CustomMaterials {
    static constexpr int Count = 3;

    // The driver's material type numbers for the indices 0, 1, 2.
    irr::video::E_MATERIAL_TYPE MaterialTypes[Count] = {
        irr::video::EMT_SOLID, irr::video::EMT_SOLID, irr::video::EMT_SOLID};
    // The renderers behind them (one reference each); null under software rendering.
    irr::video::IMaterialRenderer* MaterialRenderers[Count] = {nullptr, nullptr, nullptr};

    CustomMaterials() = default;
    ~CustomMaterials() { releaseCustomMaterials(); }
    CustomMaterials(const CustomMaterials&) = delete;
    CustomMaterials& operator=(const CustomMaterials&) = delete;

    // Under software rendering all three indices become the driver's transparent-vertex-alpha
    // material and no renderer is made. Otherwise the three renderers are added to the driver
    // in index order. Renderers from an earlier registration are released first.
    void registerCustomMaterials(irr::video::IVideoDriver* driver, bool softwareRendering);
    // Drops the renderers and clears their pointers; the driver keeps its own references.
    void releaseCustomMaterials();
};

// Whether OpenGL's renderer string names one of Mesa's software rasterisers (llvmpipe, softpipe,
// swrast), on which the custom renderers draw the anisotropic filter as trilinear filtering.
bool isSoftwareRasterizer(const char* renderer);

// The driver's largest texture size; (0, 0) on a software driver.
irr::core::dimension2du getMaxTextureSize(irr::video::IVideoDriver* driver);
