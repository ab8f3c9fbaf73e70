#include "rendering_font.h"

#include "core/vellumengine.h"
#include "scene/text_effect.h"
#include "scene/texture_cache.h"
#include "utils/debug.h"
#include "utils/math_fastmath.h"
#include "utils/math_misc.h"
#include "utils/number_text.h"
#include "utils/utils_fs.h"
#include "utils/utils_str.h"
#include "utils/windows_1252.h"

#include <algorithm>
#include <cstdint>

using namespace irr;

namespace {

// Scene units per pixel of the font image at size 1.
const float kPixelToScene = 0.005f;
const float kAbcAFactor = 0.003f;
const float kAbcBFactor = 0.0018f;
const float kAbcCFactor = 0.003f;
const float kHorizontalGapFactor = kPixelToScene * 1.1f;
const float kVerticalGapFactor = kPixelToScene * 0.3f;
const float kGlyphHeightFactor = 0.002f;
// Texture coordinates are pulled inwards by this much (of the font image) on every side.
const float kTextureInset = 0.002f;
// The four dark copies behind an outlined glyph.
const core::vector3df kOutlineOffsets[4] = {{0.004f, 0.004f, 0.00001f},
                                            {-0.004f, 0.004f, 0.00001f},
                                            {0.004f, -0.004f, 0.00001f},
                                            {-0.004f, -0.004f, 0.00001f}};
const video::SColor kOutlineColour(155, 0, 0, 0);
// Character codes below this have no glyph; glyph index = code - charOffset - 32.
const int kFirstCode = 32;
const int kHighestGlyphIndex = 300;
const float kDefaultLineHeight = 7;

// Pixel counts of a font file are as big as its numbers allow, within what an int holds: the
// largest float below 2^31.
constexpr float kPixelLimit = 2147483520.0f;

// The text between `open` and the next `close` (both markers excluded), "" when `open` is absent;
// without `close` the rest of the text.
std::string elementText(const std::string& text, const std::string& open,
                        const std::string& close) {
    const int start = find(text, open);
    if (start < 0) {
        return std::string();
    }
    const int from = start + static_cast<int>(open.size());
    const int end = find(text, close, from);
    return mid(text, from, end < 0 ? -1 : end - from);
}

// An attribute written as name='value': the value, "" when the attribute is absent.
std::string attribute(const std::string& element, const char* name) {
    return elementText(element, std::string(name) + "='", "'");
}

int intAttribute(const std::string& element, const char* name) {
    return parseInt(attribute(element, name));
}

float floatAttribute(const std::string& element, const char* name) {
    return parseFloat(attribute(element, name));
}

// Scale values below 0.01 (an absent one included) mean "unscaled".
float scaleAttribute(const std::string& element, const char* name) {
    const float value = floatAttribute(element, name);
    return value < 0.01f ? 1.0f : value;
}

} // namespace

CGUIFont3D::CGUIFont3D(video::IVideoDriver* videoDriver) : driver(videoDriver) {
    setDebugName("CGUIFont3D");
}

CGUIFont3D::~CGUIFont3D() {
    if (texture) {
        texture->drop();
    }
}

void CGUIFont3D::draw(const core::stringw&, const core::rect<s32>&, video::SColor, bool, bool,
                      const core::rect<s32>*) {}

core::dimension2d<u32> CGUIFont3D::getDimension(const wchar_t* text) const {
    const core::dimension2di pixels = getPixelDimension(wideToWindows1252(text ? text : L""));
    return core::dimension2d<u32>(static_cast<u32>(std::max(0, pixels.Width)),
                                  static_cast<u32>(std::max(0, pixels.Height)));
}

s32 CGUIFont3D::getCharacterFromPos(const wchar_t*, s32) const {
    return -1;
}

gui::EGUI_FONT_TYPE CGUIFont3D::getType() const {
    return gui::EGFT_CUSTOM;
}

void CGUIFont3D::setKerningWidth(s32) {}

void CGUIFont3D::setKerningHeight(s32) {}

s32 CGUIFont3D::getKerningWidth(const wchar_t*, const wchar_t*) const {
    return 0;
}

s32 CGUIFont3D::getKerningHeight() const {
    return 0;
}

void CGUIFont3D::setInvisibleCharacters(const wchar_t*) {}

void CGUIFont3D::setScaleAndSize(float scaleX, float scaleY, float fontSize) {
    pixelScaleX = scaleX;
    pixelScaleY = scaleY;
    size = fontSize;
    ++layoutVersion;
}

bool CGUIFont3D::loadXmlFont(const std::string& path) {
    // The font image is drawn pixel for pixel: smaller copies would only blur it.
    const bool mipMaps =
        driver != nullptr && driver->getTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS);
    if (driver) {
        driver->setTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS, false);
    }
    std::string text;
    readTextFile(path, text);
    const std::string imageName = elementText(text, "<texture>", "</texture>");
    TextureRegion image;
    if (!imageName.empty()) {
        image = getTextureRegion(splitPath(path, true, true, false, false) + imageName);
    }
    if (driver) {
        driver->setTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS, mipMaps);
    }
    if (!image.hasTexture()) {
        return false;
    }

    texture = image.Texture;
    texture->grab();
    atlasRect = image.UV;
    region = image.PixelRect;
    if (region.getWidth() <= 0 || region.getHeight() <= 0) {
        const core::dimension2du whole = texture->getOriginalSize();
        region = core::recti(0, 0, static_cast<s32>(whole.Width), static_cast<s32>(whole.Height));
    }

    readGlyphs(text);
    fallbackGlyph = glyphCount() - 1;

    const std::string gapsText = elementText(text, "<gaps ", "/>");
    gaps[0] = intAttribute(gapsText, "l");
    gaps[1] = intAttribute(gapsText, "t");
    gaps[2] = intAttribute(gapsText, "r");
    gaps[3] = intAttribute(gapsText, "b");

    const std::string scaleText = elementText(text, "<scale ", "/>");
    xScale = scaleAttribute(scaleText, "x");
    yScale = scaleAttribute(scaleText, "y");
    global = scaleAttribute(scaleText, "global");
    const std::string lineHeightText = attribute(scaleText, "lineh");
    lineHeight = engineFloat(static_cast<double>(parseFloat(lineHeightText)) * kDefaultLineHeight,
                             lineHeightText + " line heights");
    if (lineHeight <= 0.01f) {
        lineHeight = kDefaultLineHeight;
    }

    if (glyphs.empty()) {
        return false;
    }
    setUpMaterial();
    regionSize = core::dimension2di(region.getWidth(), region.getHeight());
    return true;
}

// Every "<char .../>" element in turn. An element is taken out of the text as it is read; an
// element written twice is a broken file, and reading glyphs stops there.
void CGUIFont3D::readGlyphs(std::string& text) {
    while (find(text, "<char ") >= 0) {
        const std::string attributes = elementText(text, "<char ", "/>");
        if (replaceN(text, "<char " + attributes + "/>", "", -1) != 1) {
            showErrorBox("XML font file: duperror!", false);
            return;
        }
        Glyph glyph;
        glyph.l = intAttribute(attributes, "l");
        glyph.t = intAttribute(attributes, "t");
        glyph.r = intAttribute(attributes, "r");
        glyph.b = intAttribute(attributes, "b");
        glyph.abcA = floatAttribute(attributes, "abcA");
        glyph.abcB = floatAttribute(attributes, "abcB");
        glyph.abcC = floatAttribute(attributes, "abcC");
        const int ascii = intAttribute(attributes, "ascii");
        if (ascii == 0) {
            continue;
        }
        const int index = (ascii & 0xFF) - charOffset - kFirstCode;
        if (index < 0 || index > kHighestGlyphIndex) {
            reportError("Something wrong with Font chars!!!", false);
            return;
        }
        // Codes the file skips draw as the glyph that first reached past them.
        while (glyphCount() <= index) {
            glyphs.push_back(glyph);
        }
        glyphs[index] = glyph;
    }
}

void CGUIFont3D::setUpMaterial() {
    material.setTexture(0, texture);
    material.MaterialType = getEngine().getRenderer().getMaterialType(0);
    material.MaterialTypeParam = 0;
    material.Lighting = false;
    material.ZBuffer = video::ECFN_NEVER;
    material.ZWriteEnable = false;
    material.GouraudShading = false;
    material.NormalizeNormals = false;
    material.BackfaceCulling = false;
    video::SMaterialLayer& layer = material.TextureLayer[0];
    layer.TrilinearFilter = false;
    layer.BilinearFilter = false;
    layer.AnisotropicFilter = 16;
}

const CGUIFont3D::Glyph* CGUIFont3D::getGlyph(int index) const {
    return index >= 0 && index < glyphCount() ? &glyphs[static_cast<size_t>(index)] : nullptr;
}

int CGUIFont3D::glyphIndexOf(char character) const {
    // Codes below 32 wrap to huge unsigned indices and so get the fallback too.
    const unsigned index = static_cast<unsigned>(static_cast<unsigned char>(character)) -
                           static_cast<unsigned>(charOffset) - kFirstCode;
    return index < glyphs.size() ? static_cast<int>(index) : fallbackGlyph;
}

core::vector2df CGUIFont3D::getGlyphSize(int index) const {
    const Glyph* glyph = getGlyph(index);
    if (!glyph) {
        return core::vector2df(0, 0);
    }
    return core::vector2df(static_cast<float>(glyph->r - glyph->l) * kPixelToScene,
                           static_cast<float>(glyph->b - glyph->t) * kPixelToScene);
}

core::vector2df CGUIFont3D::getGlyphAdvance(int index) const {
    const Glyph* glyph = getGlyph(index);
    if (!glyph) {
        return core::vector2df(0, 0);
    }
    return core::vector2df(spacing.X -
                               static_cast<float>(gaps[0] + gaps[2]) * kHorizontalGapFactor +
                               glyph->abcB * kAbcBFactor + glyph->abcC * kAbcCFactor,
                           spacing.Y - static_cast<float>(gaps[1] + gaps[3]) * kVerticalGapFactor +
                               static_cast<float>(glyph->b - glyph->t) * kGlyphHeightFactor);
}

core::vector2df CGUIFont3D::getTextExtent(const std::string& text) const {
    if (glyphs.empty()) {
        return core::vector2df(0, 0);
    }
    float width = 0;
    for (char character : text) {
        const int index = glyphIndexOf(character);
        width += getGlyphSize(index).X + getGlyphAdvance(index).X;
    }
    // The line height is measured on the space, whatever the text.
    return core::vector2df(width, getGlyphSize(0).X + getGlyphAdvance(0).Y);
}

core::dimension2di CGUIFont3D::getPixelDimension(const std::string& text) const {
    const Glyph* space = getGlyph(0);
    if (!space) {
        return core::dimension2di(0, 0);
    }
    int64_t width = 0;
    for (char character : text) {
        const Glyph* glyph = getGlyph(glyphIndexOf(character));
        width += glyph->r - glyph->l;
    }
    return core::dimension2di(
        clampedInteger<int>(static_cast<float>(width) * pixelScaleX, kPixelLimit),
        clampedInteger<int>(static_cast<float>(space->b - space->t) * pixelScaleY, kPixelLimit));
}

void CGUIFont3D::drawText(const std::string& text, const core::vector3df& position,
                          video::SColor colour, int alignment, bool verticalCentre, float scale,
                          bool outline, TextEffect* effect) {
    if (glyphs.empty()) {
        return;
    }
    scale *= size;
    const core::vector2df extent = getTextExtent(text);
    core::vector3df pen(0, 0, 0);
    if (alignment != 1 || verticalCentre) {
        if (alignment == 0) {
            pen.X = -extent.X * scale * 0.5f;
        } else if (alignment < 0) {
            pen.X = -extent.X * scale;
        }
        if (verticalCentre) {
            pen.Y = -extent.Y * scale * 0.5f;
        }
    }
    IrrlichtDevice* device = getEngine().getDevice();
    const int now = device ? static_cast<int>(device->getTimer()->getTime()) : 0;
    const size_t count = text.size();
    for (size_t k = 0; k < count; ++k) {
        int index = glyphIndexOf(text[k]);
        if (outline) {
            for (const core::vector3df& offset : kOutlineOffsets) {
                drawGlyph(index, position + pen + offset, kOutlineColour, scale);
            }
        }
        core::vector3df at = position + pen;
        if (effect) {
            effect->elapsed = now - effect->startTime;
            effect->progress = static_cast<float>(k) / static_cast<float>(count);
            effect->charIndex = static_cast<int>(k);
            ++effect->counter;
            effect->glyphIndex = &index;
            effect->pen = &at;
            effect->colour = &colour;
            effect->scale = &scale;
            effect->perLine = 0;
            if (!effect->apply()) {
                return;
            }
        }
        if (const Glyph* glyph = getGlyph(index)) {
            at.X += glyph->abcA * kAbcAFactor;
        }
        drawGlyph(index, at, colour, scale);
        pen.X += (getGlyphSize(index).X + getGlyphAdvance(index).X) * scale;
    }
}

bool CGUIFont3D::prepareAxes() {
    if (axesReady) {
        return true;
    }
    scene::ISceneManager* scene = getEngine().getSceneManager();
    scene::ICameraSceneNode* camera = scene ? scene->getActiveCamera() : nullptr;
    if (!camera) {
        return false;
    }
    core::vector3df look = camera->getTarget() - camera->getAbsolutePosition();
    normalizeVector(look);
    const core::vector3df up = camera->getUpVector();
    rightAxis = up.crossProduct(look);
    if (rightAxis.getLengthSQ() == 0) {
        rightAxis.set(up.Y, up.X, up.Z);
    }
    normalizeVector(rightAxis);
    upAxis = rightAxis.crossProduct(look);
    normalizeVector(upAxis);
    for (video::S3DVertex& vertex : quad) {
        vertex.Normal = -look;
    }
    axesReady = true;
    return true;
}

// The glyph's quad: its lower-left corner at `at`, extending along the right and up axes.
void CGUIFont3D::drawGlyph(int index, const core::vector3df& at, video::SColor colour,
                           float scale) {
    const Glyph* glyph = getGlyph(index);
    if (!glyph || !prepareAxes()) {
        return;
    }
    // The font file's rectangles are in the font image, which the texture cache places inside
    // the texture (past its border pixel); atlasRect maps image coordinates onto the texture.
    const float width = static_cast<float>(std::max(1, regionSize.Width));
    const float height = static_cast<float>(std::max(1, regionSize.Height));
    const float left = static_cast<float>(glyph->l) / width + kTextureInset;
    const float right = static_cast<float>(glyph->r) / width - kTextureInset;
    const float top = static_cast<float>(glyph->t) / height + kTextureInset;
    const float bottom = static_cast<float>(glyph->b) / height - kTextureInset;
    const auto mapU = [this](float u) {
        return (1 - u) * atlasRect.UpperLeftCorner.X + u * atlasRect.LowerRightCorner.X;
    };
    const auto mapV = [this](float v) {
        return (1 - v) * atlasRect.UpperLeftCorner.Y + v * atlasRect.LowerRightCorner.Y;
    };
    quad[0].TCoords.set(mapU(right), mapV(bottom));
    quad[1].TCoords.set(mapU(right), mapV(top));
    quad[2].TCoords.set(mapU(left), mapV(top));
    quad[3].TCoords.set(mapU(left), mapV(bottom));

    const core::vector2df glyphSize = getGlyphSize(index);
    const core::vector3df across = rightAxis * (glyphSize.X * scale);
    const core::vector3df upwards = upAxis * (glyphSize.Y * scale);
    quad[0].Pos = at + across;
    quad[1].Pos = at + across - upwards;
    quad[2].Pos = at - upwards;
    quad[3].Pos = at;
    for (video::S3DVertex& vertex : quad) {
        vertex.Color = colour;
    }
    if (quadSink != nullptr) {
        quadSink->insert(quadSink->end(), quad, quad + 4);
        return;
    }
    getEngine().getRenderer().addQuad(nullptr, &material, quad);
}

CGUIFont3D* createFont(const std::string& path, float size) {
    CGUIFont3D* font = new CGUIFont3D(getEngine().getDriver());
    font->size = size;
    // A font that fails to load stays usable (it draws nothing); the game checks its glyphs.
    font->loadXmlFont(path);
    const float scaleX = font->xScale > 0.001f ? font->xScale : 1.0f;
    const float scaleY = font->yScale > 0.001f ? font->yScale : 1.0f;
    const float fontSize = font->global > 0.001f ? size * font->global : size;
    font->setScaleAndSize(scaleX, scaleY, fontSize);
    return font;
}
