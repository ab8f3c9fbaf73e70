#pragma once

#include <irrlicht/irrlicht.h>

#include <string>
#include <vector>

class TextEffect;

// The engine's font: a font image with one rectangle and three spacing values per character,
// read from an XML font file, drawn as one textured quad per character placed in the scene
// (through the render module's batcher). One pixel of the font image is 0.005 scene units at
// size 1. Text is single-byte (Windows-1252); glyph index = byte - 32.
class CGUIFont3D : public irr::gui::IGUIFont {
public:
    // A character's rectangle in the font image (pixels) and its spacing values: abcA shifts
    // the quad (x 0.003 scene units), abcB and abcC add to the advance (x 0.0018 and x 0.003).
    struct Glyph {
        int l = 0, t = 0, r = 0, b = 0;
        float abcA = 0, abcB = 0, abcC = 0;
    };

    explicit CGUIFont3D(irr::video::IVideoDriver* driver);
    ~CGUIFont3D() override;

    // IGUIFont, present for the interface only.
    void draw(const irr::core::stringw& text, const irr::core::rect<irr::s32>& position,
              irr::video::SColor color, bool hcenter = false, bool vcenter = false,
              const irr::core::rect<irr::s32>* clip = nullptr) override;
    irr::core::dimension2d<irr::u32> getDimension(const wchar_t* text) const override;
    irr::s32 getCharacterFromPos(const wchar_t* text, irr::s32 pixel_x) const override;
    irr::gui::EGUI_FONT_TYPE getType() const override;
    void setKerningWidth(irr::s32 kerning) override;
    void setKerningHeight(irr::s32 kerning) override;
    irr::s32 getKerningWidth(const wchar_t* thisLetter = nullptr,
                             const wchar_t* previousLetter = nullptr) const override;
    irr::s32 getKerningHeight() const override;
    void setInvisibleCharacters(const wchar_t* characters) override;

    // The factors of getPixelDimension and the size every text is drawn at. Counts as a change
    // of layout (see getLayoutVersion).
    virtual void setScaleAndSize(float scaleX, float scaleY, float fontSize);
    // Changes whenever something that places or sizes the glyphs changes, so that text laid out
    // earlier knows to be laid out again.
    int getLayoutVersion() const { return layoutVersion; }
    // While a list is given, drawText appends its glyph quads (four vertices each, in drawing
    // order) to it instead of handing them to the render module; null hands them on again.
    void setQuadSink(std::vector<irr::video::S3DVertex>* sink) { quadSink = sink; }

    // Reads the font file; true when a texture was loaded and at least one glyph defined.
    bool loadXmlFont(const std::string& path);
    // Draws one line at the position (scene units): alignment 0 centred, negative right-aligned
    // at the position, anything else left-aligned; verticalCentre centres the line's height on
    // the position. Glyphs are scale x size large. With outline, four dark copies are drawn
    // behind each glyph. The effect, when given, sees each character before it is drawn and
    // may stop the line.
    void drawText(const std::string& text, const irr::core::vector3df& position,
                  irr::video::SColor colour, int alignment, bool verticalCentre, float scale,
                  bool outline, TextEffect* effect);
    // Width and height at size 1 and scale 1, in scene units.
    irr::core::vector2df getTextExtent(const std::string& text) const;
    // The glyph rectangles' widths summed, and the space's height, in font-image pixels times
    // the file's pixel scales.
    irr::core::dimension2di getPixelDimension(const std::string& text) const;
    irr::core::vector2df getGlyphSize(int index) const;
    irr::core::vector2df getGlyphAdvance(int index) const;
    // Text nodes move a line down by the text's height times this.
    float getLineHeight() const { return lineHeight; }
    int glyphIndexOf(char character) const;
    int glyphCount() const { return static_cast<int>(glyphs.size()); }
    // The glyph at the index, or null outside the table.
    const Glyph* getGlyph(int index) const;
    // What characters outside the table draw as: the highest defined index (-1 without glyphs).
    int getFallbackGlyph() const { return fallbackGlyph; }
    float getSize() const { return size; }
    const irr::video::SMaterial& getMaterial() const { return material; }

private:
    friend CGUIFont3D* createFont(const std::string& path, float size);

    void readGlyphs(std::string& text);
    void setUpMaterial();
    // Fixes the quad directions from the active camera; false when there is no camera.
    bool prepareAxes();
    void drawGlyph(int index, const irr::core::vector3df& at, irr::video::SColor colour,
                   float scale);

    float size = 0;
    int charOffset = 0;
    irr::core::rectf atlasRect{0, 0, 1, 1};
    irr::core::recti region;
    int gaps[4] = {0, 0, 0, 0};
    float global = 0;
    float xScale = 0;
    float yScale = 0;
    irr::core::vector2df spacing{0, 0};
    std::vector<Glyph> glyphs;
    irr::core::dimension2di regionSize;
    irr::video::S3DVertex quad[4];
    bool axesReady = false;
    irr::core::vector3df rightAxis;
    irr::core::vector3df upAxis;
    irr::video::SMaterial material;
    irr::video::IVideoDriver* driver;
    irr::video::ITexture* texture = nullptr;
    int fallbackGlyph = 0;
    float pixelScaleX = 1;
    float pixelScaleY = 1;
    float lineHeight = 7;
    int layoutVersion = 0;
    std::vector<irr::video::S3DVertex>* quadSink = nullptr;
};

// A font from the file at the size (the file's global scale applied); the caller holds the one
// reference.
CGUIFont3D* createFont(const std::string& path, float size);
