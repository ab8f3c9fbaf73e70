#pragma once

#include "scene/node_base.h"

#include <irrlicht/irrlicht.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CGUIFont3D;
class IGameClient;
class TextEffect;

// The scene node that shows text. Its text is a list of lines; a line starting with "<" is
// markup that is not drawn but changes how the following lines are drawn (font, size, colour,
// alignment, position, decorations) or, on the first frame after setText, creates things (inline
// images, a canvas frame, a sound, a text effect). Lines starting with "<!" are comments. The
// node lays its text out by walking its lines from the top and drawing the others one below the
// other through its font, and keeps the glyph quads that gives: later frames hand the kept quads
// to the render module's batcher, moved with the node and at its current opacity, until the text,
// font, scale, colour or a font's layout changes. A text with an effect or an anchor tag is laid
// out every frame, since those place glyphs anew each time. Text is single-byte (Windows-1252).
class CTextNode : public CNodeBasement {
public:
    // Render order 4, white, scale 1, the game's main font; the text is set as by setText.
    CTextNode(irr::scene::ISceneNode* parent, irr::scene::ISceneManager* manager,
              const irr::core::vector3df& position, const std::string& text, irr::s32 id);
    ~CTextNode() override;

    void render() override;
    // A copy of the font's material (the font is shared, so changes through the node stay
    // with the node); an empty material without a font.
    irr::video::SMaterial& getMaterial(irr::u32 index) override;
    irr::u32 getMaterialCount() const override;
    irr::scene::ESCENE_NODE_TYPE getType() const override;
    irr::u32 getNodeKind() const override;

    // Converts through Windows-1252 and sets the text.
    virtual void setText(const std::wstring& text);
    // Only the red, green and blue count: the opacity is the node's.
    virtual void setColor(irr::video::SColor colour);

    // Names the node "TEXTX-" + text, drops the effect, deletes the inline images this node
    // made, forgets the sounds it played and splits the text into lines at line feeds (a
    // trailing line feed leaves an empty last line). The creation markup runs again on the
    // next frame.
    void setText(const std::string& text);
    const std::string& getText() const { return Text; }
    const std::vector<std::string>& getLines() const { return Lines; }
    irr::video::SColor getColor() const { return Color; }
    // Keeps a reference to the new font and releases the old one.
    void setFont(CGUIFont3D* font);
    CGUIFont3D* getFont() const { return Font; }
    // The size factor of the text (markup sizes multiply into it each frame).
    void setTextScale(float scale);
    float getTextScale() const { return Scale; }

    // Replaces (and deletes) the current effect; the node owns the new one, which learns the
    // device time, the node, its ID and the value.
    void attachEffect(TextEffect* effect, int value);
    TextEffect* getEffect() const { return Effect.get(); }

    // IDs of the inline images made by the markup since the last setText.
    const std::vector<int>& getImageIds() const { return ImageIds; }
    bool hasRenderedOnce() const { return RenderedOnce != 0; }

    // Text nodes alive in the process.
    static int liveCount();
    // How many times the node has laid its text out.
    int getLayoutCount() const { return LayoutCount; }

private:
    struct FrameState;
    // The quads one font gave to the kept layout: LayoutVertices[First, First + Count).
    struct GlyphRun {
        // Grabbed while the layout is kept.
        CGUIFont3D* Font;
        int FontVersion;
        size_t First;
        size_t Count;
    };

    // Walks the lines as one frame (markup, creation markup on the first frame) and keeps the
    // glyph quads they give.
    void layOut(int alpha);
    // The kept layout still shows what a new one would.
    bool layoutIsCurrent() const;
    // Hands the kept quads to the batcher at the node's position and opacity.
    void drawLayout(int alpha);
    void forgetLayout();
    // Starts keeping the quads that `font` draws next (the layout being made is always kept
    // until it is drawn).
    void beginGlyphRun(CGUIFont3D* font);
    void endGlyphRun(CGUIFont3D* font);

    // Interprets one markup line (nothing for a comment).
    void applyMarkup(const std::string& line, FrameState& frame);
    // The tags that create things, on the first frame after setText only.
    void applyCreationMarkup(const std::string& line, const FrameState& frame);
    // The tags that change how the following lines are drawn, every frame.
    void applyFrameMarkup(const std::string& line, FrameState& frame);
    void playSound(const std::string& name);
    void createInlineImages(const std::string& line);
    void createInlineImage(const std::string& tag);
    void moveToAnchor(const std::string& name, FrameState& frame);
    // Draws one text line with its decorations; false when the effect stops the frame.
    bool drawLine(const std::string& line, FrameState& frame);
    void deleteImages();

    std::string Text;
    std::vector<std::string> Lines;
    CGUIFont3D* Font = nullptr;
    irr::video::SColor Color{255, 255, 255, 255};
    float Scale = 1;
    std::unique_ptr<TextEffect> Effect;
    std::string Overlay;
    std::string Underlay;
    std::vector<int> ImageIds;
    // Sound names already played since setText, each followed by "|".
    std::string PlayedSounds;
    int RenderedOnce = 0;
    // Undeclared anchor names this node has reported, so that a missing anchor shows one box
    // rather than one per frame.
    std::vector<std::string> ReportedAnchors;
    irr::video::SMaterial Material;

    // The kept layout: quads in scene coordinates as laid out at LayoutPosition with opacity
    // LayoutAlpha, in runs by font.
    std::vector<irr::video::S3DVertex> LayoutVertices;
    std::vector<GlyphRun> LayoutRuns;
    irr::core::vector3df LayoutPosition;
    irr::u32 LayoutAlpha = 0;
    IGameClient* LayoutClient = nullptr;
    bool LayoutKept = false;
    // A line has an anchor tag, which places the following lines wherever the anchor is now.
    bool HasAnchorTag = false;
    int LayoutCount = 0;
};

// Makes a text node under the parent (the scene's root when null) and leaves it owned by the
// parent; null without a scene. The node factory's text node creator.
CTextNode* makeTextNode(const std::string& text, const irr::core::vector3df& position,
                        irr::scene::ISceneNode* parent, int id);

// The text node named `name` + "_text" (the label of a sprite of that name), or null.
CTextNode* findTextNode(const std::string& name);

// The text node behind a node: the node itself when it is a text node, else its first text
// child; null when it has none.
CTextNode* textNodeOf(CNodeBasement* node);

// How markup plays a sound: by default as an effect of the engine's sound server at the default
// volume. Tests put their own player in to hear what plays; null restores the default.
using TextSoundPlayer = std::function<void(const std::string& name)>;
void setTextSoundPlayer(TextSoundPlayer player);
