#include "material_custom.h"

#include "utils/debug.h"

#include <GL/gl.h>

#include <cstring>

using namespace irr;

static_assert(video::EMT_TRANSPARENT_VERTEX_ALPHA == 15,
              "software rendering maps the custom materials to material type 15");

namespace {

// What distinguishes the three modes: the first colour argument of texture unit 0 (the
// texture or the vertex colour), the colour scale ("modulate" or "modulate 2x") and the blend
// factor for what is already drawn. Everything else is common to all three.
struct BlendSetup {
    GLint colorArgument;
    GLfloat colorScale;
    GLenum destinationBlend;
};

// The material as handed to the driver on a software rasteriser: every layer with the
// anisotropic filter gets trilinear filtering instead.
video::SMaterial anisotropicAsTrilinear(const video::SMaterial& material) {
    video::SMaterial result = material;
    for (video::SMaterialLayer& layer : result.TextureLayer) {
        if (layer.AnisotropicFilter) {
            layer.AnisotropicFilter = 0;
            layer.TrilinearFilter = true;
        }
    }
    return result;
}

// Programs OpenGL's fixed-function pipeline for one blend mode:
//   colour = colorArgument x vertex colour x colorScale, clamped to 1
//   alpha  = texture alpha x vertex alpha
//   result = colour x alpha + destination x destinationBlend
// Irrlicht's own renderers expect texture units at their default environment and blending off
// when they take over, so OnUnsetMaterial puts back what OnSetMaterial changed. The interface's
// defaults already give OnRender true, isTransparent false and render capability 0.
// On a software rasteriser the anisotropic filter (which sprites have by default and the font
// always) is sampled about five times slower per pixel than trilinear filtering, while on the
// flat quads facing the view that the engine draws the two give nearly the same picture: there
// the driver is handed trilinear filtering instead. The materials themselves keep their flags.
class CCustomMaterialRenderer : public video::IMaterialRenderer {
public:
    CCustomMaterialRenderer(video::IVideoDriver* driver, const BlendSetup& setup)
        : Driver(driver), Setup(setup) {
        if (driver->getDriverType() == video::EDT_OPENGL) {
            GLContext = driver->getExposedVideoData().OpenGLLinux.X11Context;
            SoftwareRasterizer =
                isSoftwareRasterizer(reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
        }
    }

    void OnSetMaterial(const video::SMaterial& material, const video::SMaterial& lastMaterial,
                       bool resetAllRenderstates,
                       video::IMaterialRendererServices* services) override {
        if (SoftwareRasterizer) {
            services->setBasicRenderStates(anisotropicAsTrilinear(material),
                                           anisotropicAsTrilinear(lastMaterial),
                                           resetAllRenderstates);
        } else {
            services->setBasicRenderStates(material, lastMaterial, resetAllRenderstates);
        }
        // The basic states switch blending off when the blend operation changes, so an equal
        // blend operation is part of "nothing to do".
        const bool unchanged = material.MaterialType == lastMaterial.MaterialType &&
                               material.MaterialTypeParam == lastMaterial.MaterialTypeParam &&
                               material.BlendOperation == lastMaterial.BlendOperation;
        if ((unchanged && !resetAllRenderstates) || !GLContext) {
            return;
        }

        if (Driver->queryFeature(video::EVDF_MULTITEXTURE)) {
            glActiveTexture(GL_TEXTURE1);
            passPreviousThrough();
            glActiveTexture(GL_TEXTURE0);
        }
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
        glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_MODULATE);
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB, Setup.colorArgument);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB, GL_SRC_COLOR);
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB, GL_PRIMARY_COLOR);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB, GL_SRC_COLOR);
        glTexEnvf(GL_TEXTURE_ENV, GL_RGB_SCALE, Setup.colorScale);
        glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA, GL_MODULATE);
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_ALPHA, GL_TEXTURE);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_ALPHA, GL_SRC_ALPHA);
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_ALPHA, GL_PRIMARY_COLOR);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_ALPHA, GL_SRC_ALPHA);
        glTexEnvf(GL_TEXTURE_ENV, GL_ALPHA_SCALE, 1.0f);

        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, Setup.destinationBlend);
        // A blend operation on the material is the driver's to set; without one, the modes add.
        if (material.BlendOperation == video::EBO_NONE) {
            glBlendEquation(GL_FUNC_ADD);
        }
    }

    void OnUnsetMaterial() override {
        if (!GLContext) {
            return;
        }
        if (Driver->queryFeature(video::EVDF_MULTITEXTURE)) {
            glActiveTexture(GL_TEXTURE1);
            restoreDefaultEnvironment();
            glActiveTexture(GL_TEXTURE0);
        }
        restoreDefaultEnvironment();
        glDisable(GL_BLEND);
    }

private:
    // A second texture unit leaves the first unit's result as it is, so a second texture on
    // the material has no effect.
    static void passPreviousThrough() {
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
        glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_REPLACE);
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB, GL_PREVIOUS);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB, GL_SRC_COLOR);
        glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA, GL_REPLACE);
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_ALPHA, GL_PREVIOUS);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_ALPHA, GL_SRC_ALPHA);
    }

    // OpenGL's initial texture environment of the active unit.
    static void restoreDefaultEnvironment() {
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_MODULATE);
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB, GL_TEXTURE);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB, GL_SRC_COLOR);
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB, GL_PREVIOUS);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB, GL_SRC_COLOR);
        glTexEnvf(GL_TEXTURE_ENV, GL_RGB_SCALE, 1.0f);
        glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA, GL_MODULATE);
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_ALPHA, GL_TEXTURE);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_ALPHA, GL_SRC_ALPHA);
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_ALPHA, GL_PREVIOUS);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_ALPHA, GL_SRC_ALPHA);
        glTexEnvf(GL_TEXTURE_ENV, GL_ALPHA_SCALE, 1.0f);
    }

    // Not grabbed: the driver owns its renderers, and a reference back would keep both alive.
    video::IVideoDriver* Driver;
    // The OpenGL context from the driver's exposed data; null on every other driver, where the
    // renderer leaves the pipeline alone.
    void* GLContext = nullptr;
    bool SoftwareRasterizer = false;
    BlendSetup Setup;
};

class BlendAlpha : public CCustomMaterialRenderer {
public:
    explicit BlendAlpha(video::IVideoDriver* driver)
        : CCustomMaterialRenderer(driver, {GL_TEXTURE, 1.0f, GL_ONE_MINUS_SRC_ALPHA}) {}
};

class BlendAdd2x : public CCustomMaterialRenderer {
public:
    explicit BlendAdd2x(video::IVideoDriver* driver)
        : CCustomMaterialRenderer(driver, {GL_TEXTURE, 2.0f, GL_ONE}) {}
};

class BlendColorAdd : public CCustomMaterialRenderer {
public:
    explicit BlendColorAdd(video::IVideoDriver* driver)
        : CCustomMaterialRenderer(driver, {GL_PRIMARY_COLOR, 1.0f, GL_ONE}) {}
};

} // namespace

void CustomMaterials::registerCustomMaterials(video::IVideoDriver* driver, bool softwareRendering) {
    releaseCustomMaterials();
    if (softwareRendering) {
        for (video::E_MATERIAL_TYPE& type : MaterialTypes) {
            type = video::EMT_TRANSPARENT_VERTEX_ALPHA;
        }
        return;
    }
    if (!driver) {
        logDebug("Custom materials: no video driver to register with", __FILE__, __LINE__);
        return;
    }
    video::IMaterialRenderer* renderers[Count] = {new BlendAlpha(driver), new BlendAdd2x(driver),
                                                  new BlendColorAdd(driver)};
    const char* names[Count] = {"BlendAlpha", "BlendAdd2x", "BlendColorAdd"};
    for (int i = 0; i < Count; ++i) {
        MaterialTypes[i] = static_cast<video::E_MATERIAL_TYPE>(
            driver->addMaterialRenderer(renderers[i], names[i]));
        MaterialRenderers[i] = renderers[i];
    }
}

void CustomMaterials::releaseCustomMaterials() {
    for (video::IMaterialRenderer*& renderer : MaterialRenderers) {
        if (renderer) {
            renderer->drop();
            renderer = nullptr;
        }
    }
}

bool isSoftwareRasterizer(const char* renderer) {
    if (!renderer) {
        return false;
    }
    for (const char* name : {"llvmpipe", "softpipe", "Software Rasterizer"}) {
        if (std::strstr(renderer, name)) {
            return true;
        }
    }
    return false;
}

core::dimension2du getMaxTextureSize(video::IVideoDriver* driver) {
    if (!driver) {
        return core::dimension2du(0, 0);
    }
    const video::E_DRIVER_TYPE type = driver->getDriverType();
    if (type == video::EDT_SOFTWARE || type == video::EDT_BURNINGSVIDEO) {
        return core::dimension2du(0, 0);
    }
    return driver->getMaxTextureSize();
}
