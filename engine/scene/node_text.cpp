#include "node_text.h"

#include "animators/afadeanimators.h"
#include "core/game_client.h"
#include "core/vellumengine.h"
#include "scene/anchor_table.h"
#include "scene/markup_values.h"
#include "scene/node_factory.h"
#include "scene/node_frames.h"
#include "scene/node_sprite.h"
#include "scene/node_utilities.h"
#include "scene/rendering_font.h"
#include "scene/text_effect.h"
#include "utils/number_text.h"
#include "utils/utils_fs.h"
#include "utils/utils_lang.h"
#include "utils/utils_str.h"
#include "utils/windows_1252.h"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace {

std::atomic<int> liveTextNodes{0};

// The glyph an effect sees on a per-line call, where there is no glyph.
const int kNoGlyph = 65535;
// Inline images with a smaller size in both directions get the size 1 by 1.
const float kTinyImageSize = 0.001f;
// Smaller rotations (in degrees) leave an inline image unturned.
const float kTinyRotation = 0.1f;
// Every line is centred on its pen vertically, and no markup turns the font's outline on.
const bool kVerticalCentre = true;
const bool kOutline = false;

irr::u32 deviceTimeNow() {
    irr::IrrlichtDevice* device = getEngine().getDevice();
    return device != nullptr ? device->getTimer()->getTime() : 0;
}

IGameClient* gameClient() {
    CVellumEngine& engine = getEngine();
    return engine.hasClient() ? engine.getClient() : nullptr;
}

// With Russian texts (the options title is the Windows-1251 word), the stored text has the
// letter yo (both cases) written as the letter e, which the fonts carry. Decided once.
bool storesYoAsE() {
    static const bool cyrillic = localize("MENU.OPTIONS.TITLE") == "\xCE\xEF\xF6\xE8\xE8";
    return cyrillic;
}

bool contains(const std::string& text, const char* what) {
    return text.find(what) != std::string::npos;
}

// The rest of the line after the tag.
std::string textAfter(const std::string& line, const char* tag) {
    size_t at = line.find(tag);
    return line.substr(at + std::string(tag).size());
}

// The tag value with one leading and one trailing single quote removed.
std::string unquoted(const std::string& value) {
    std::string result = value;
    if (!result.empty() && result.front() == '\'') {
        result.erase(0, 1);
    }
    if (!result.empty() && result.back() == '\'') {
        result.pop_back();
    }
    return result;
}

// A markup number added to a position of the frame; a sum beyond the float range is reported and
// read as 0, like a number beyond it, so that repeated offsets never reach infinity.
float addMarkupNumber(float position, const std::string& value) {
    return engineFloat(static_cast<double>(position) + static_cast<double>(parseFloat(value)),
                       format("%g + %s", static_cast<double>(position), value.c_str()));
}

// The pattern repeated until it is about as wide as the line (four fifths of it at least).
std::string repeatToWidth(const CGUIFont3D& font, const std::string& line,
                          const std::string& pattern) {
    const int patternWidth = font.getPixelDimension(pattern).Width;
    const float lineWidth = static_cast<float>(font.getPixelDimension(line).Width);
    std::string result = pattern;
    int width = patternWidth;
    while (width != 0 && static_cast<float>(width) < lineWidth * 0.8f) {
        result += pattern;
        width += patternWidth;
    }
    return result;
}

void playThroughSoundServer(const std::string& name) {
    getEngine().getSound().playEffect(name, -1.0f);
}

TextSoundPlayer& soundPlayer() {
    static auto* player = new TextSoundPlayer(playThroughSoundServer);
    return *player;
}

} // namespace

void setTextSoundPlayer(TextSoundPlayer player) {
    soundPlayer() = player ? std::move(player) : TextSoundPlayer(playThroughSoundServer);
}

// What markup changes while one frame walks the lines.
struct CTextNode::FrameState {
    irr::core::vector3df pos;
    irr::core::vector3df offset;
    irr::core::vector3df pen;
    CGUIFont3D* font = nullptr;
    irr::video::SColor colour;
    // 0 centred, 1 left, -1 right-aligned at the position.
    int alignment = 0;
    float scale = 1;
    // 0 keeps the next drawn line from moving the following ones down.
    float lineMult = 1;
    std::string overlay;
    std::string underlay;
    int drawnLines = 0;
};

CTextNode::CTextNode(irr::scene::ISceneNode* parent, irr::scene::ISceneManager* manager,
                     const irr::core::vector3df& position, const std::string& text, irr::s32 id)
    : CNodeBasement(parent, manager, id, position, irr::core::dimension2df(0.01f, 0.01f)) {
    ++liveTextNodes;
    setDebugName(NBASE_TXT);
    setText(text);
    if (IGameClient* client = gameClient()) {
        setFont(client->getFont(std::string()));
    }
    RenderOrder = 4;
}

CTextNode::~CTextNode() {
    forgetLayout();
    if (Font != nullptr) {
        Font->drop();
    }
    --liveTextNodes;
}

int CTextNode::liveCount() {
    return liveTextNodes;
}

irr::video::SMaterial& CTextNode::getMaterial(irr::u32) {
    return Material;
}

irr::u32 CTextNode::getMaterialCount() const {
    return 1;
}

irr::scene::ESCENE_NODE_TYPE CTextNode::getType() const {
    return irr::scene::ESNT_TEXT;
}

irr::u32 CTextNode::getNodeKind() const {
    return irr::scene::ESNT_TEXT;
}

void CTextNode::setText(const std::wstring& text) {
    setText(wideToWindows1252(text));
}

void CTextNode::setColor(irr::video::SColor colour) {
    if (((colour.color ^ Color.color) & 0x00FFFFFFu) != 0) {
        LayoutKept = false;
    }
    Color = colour;
}

void CTextNode::setTextScale(float scale) {
    if (scale != Scale) {
        LayoutKept = false;
    }
    Scale = scale;
}

void CTextNode::setText(const std::string& text) {
    setName(format("TEXTX-%s", text.c_str()).c_str());
    RenderedOnce = 0;
    attachEffect(nullptr, 0);
    deleteImages();
    PlayedSounds.clear();
    Text = text;
    if (storesYoAsE()) {
        std::replace(Text.begin(), Text.end(), '\xB8', '\xE5');
        std::replace(Text.begin(), Text.end(), '\xA8', '\xE5');
    }
    Lines = splitList(text, '\n', true);
    HasAnchorTag = std::any_of(Lines.begin(), Lines.end(),
                               [](const std::string& line) { return contains(line, "<anchor"); });
    LayoutKept = false;
}

void CTextNode::deleteImages() {
    for (int id : ImageIds) {
        if (CNodeBasement* image = getNodeById(id)) {
            deleteNode(image);
        }
    }
    ImageIds.clear();
}

void CTextNode::setFont(CGUIFont3D* font) {
    if (font != nullptr) {
        font->grab();
    }
    if (Font != nullptr) {
        Font->drop();
    }
    Font = font;
    Material = font != nullptr ? font->getMaterial() : irr::video::SMaterial();
    LayoutKept = false;
}

void CTextNode::attachEffect(TextEffect* effect, int value) {
    LayoutKept = false;
    Effect.reset(effect);
    if (effect != nullptr) {
        effect->startTime = static_cast<int>(deviceTimeNow());
        effect->value = value;
        effect->nodeId = ID;
        effect->node = this;
    }
}

void CTextNode::render() {
    const int alpha = getEffectiveAlpha();
    if (Font == nullptr || alpha == 0) {
        return;
    }
    if (!LayoutKept || !layoutIsCurrent()) {
        layOut(alpha);
    }
    drawLayout(alpha);
    if (!LayoutKept) {
        forgetLayout();
    }
}

void CTextNode::layOut(int alpha) {
    forgetLayout();
    ++LayoutCount;
    // A change while the lines are walked (markup attaching an effect) leaves this layout for
    // this frame only.
    LayoutKept = true;
    FrameState frame;
    frame.pos = getAbsolutePosition();
    LayoutPosition = frame.pos;
    frame.font = Font;
    frame.colour = Color;
    frame.colour.setAlpha(static_cast<irr::u32>(alpha));
    frame.scale = Scale;
    frame.overlay = Overlay;
    frame.underlay = Underlay;
    if (Effect) {
        Effect->counter = 0;
    }
    bool stopped = false;
    for (const std::string& line : Lines) {
        const bool markup = !line.empty() && line[0] == '<';
        if (stopped) {
            // An effect ended the drawing; what the first frame creates is still created, once.
            if (markup && RenderedOnce == 0 && (line.size() < 2 || line[1] != '!')) {
                applyCreationMarkup(line, frame);
            }
            continue;
        }
        if (markup) {
            applyMarkup(line, frame);
        } else if (!drawLine(line, frame)) {
            stopped = true;
            if (RenderedOnce != 0) {
                break;
            }
        }
    }
    RenderedOnce = 1;
    LayoutAlpha = static_cast<irr::u32>(alpha);
    LayoutClient = gameClient();
    // Without a camera the fonts place nothing, and the layout waits for one.
    irr::scene::ISceneManager* scene = getEngine().getSceneManager();
    const bool camera = scene != nullptr && scene->getActiveCamera() != nullptr;
    LayoutKept = LayoutKept && camera && !Effect && !HasAnchorTag;
}

bool CTextNode::layoutIsCurrent() const {
    if (LayoutClient != gameClient()) {
        return false;
    }
    for (const GlyphRun& run : LayoutRuns) {
        if (run.FontVersion != run.Font->getLayoutVersion()) {
            return false;
        }
    }
    return true;
}

void CTextNode::drawLayout(int alpha) {
    if (static_cast<irr::u32>(alpha) != LayoutAlpha) {
        LayoutAlpha = static_cast<irr::u32>(alpha);
        for (irr::video::S3DVertex& vertex : LayoutVertices) {
            vertex.Color.setAlpha(LayoutAlpha);
        }
    }
    const irr::core::vector3df shift = getAbsolutePosition() - LayoutPosition;
    const bool moved = shift != irr::core::vector3df(0, 0, 0);
    CRenderModule& renderer = getEngine().getRenderer();
    for (const GlyphRun& run : LayoutRuns) {
        const irr::video::S3DVertex* source = LayoutVertices.data() + run.First;
        int quads = static_cast<int>(run.Count / 4);
        while (quads > 0) {
            int granted = 0;
            irr::video::S3DVertex* target =
                renderer.appendQuads(nullptr, run.Font->getMaterial(), quads, granted);
            const int vertices = granted * 4;
            std::copy(source, source + vertices, target);
            if (moved) {
                for (int k = 0; k < vertices; ++k) {
                    target[k].Pos += shift;
                }
            }
            source += vertices;
            quads -= granted;
        }
    }
}

void CTextNode::forgetLayout() {
    for (const GlyphRun& run : LayoutRuns) {
        run.Font->drop();
    }
    LayoutRuns.clear();
    LayoutVertices.clear();
    LayoutKept = false;
}

void CTextNode::beginGlyphRun(CGUIFont3D* font) {
    if (LayoutRuns.empty() || LayoutRuns.back().Font != font) {
        font->grab();
        LayoutRuns.push_back({font, font->getLayoutVersion(), LayoutVertices.size(), 0});
    }
    font->setQuadSink(&LayoutVertices);
}

void CTextNode::endGlyphRun(CGUIFont3D* font) {
    font->setQuadSink(nullptr);
    LayoutRuns.back().Count = LayoutVertices.size() - LayoutRuns.back().First;
}

bool CTextNode::drawLine(const std::string& line, FrameState& frame) {
    CGUIFont3D* font = frame.font;
    const float lineHeight = font->getLineHeight();
    irr::core::vector3df lineOffset = frame.offset + frame.pen;
    frame.pen = irr::core::vector3df(0, 0, 0);
    TextEffect* effect = Effect.get();
    if (effect != nullptr) {
        int glyph = kNoGlyph;
        effect->elapsed = static_cast<int>(deviceTimeNow()) - effect->startTime;
        effect->charIndex = 0;
        effect->progress = 0;
        effect->lineProgress =
            static_cast<float>(frame.drawnLines) / static_cast<float>(Lines.size());
        effect->lineIndex = frame.drawnLines;
        effect->glyphIndex = &glyph;
        effect->pen = &lineOffset;
        effect->colour = &frame.colour;
        effect->scale = &frame.scale;
        effect->perLine = 1;
        const bool goOn = effect->apply();
        // The per-line pointers point at this call's locals.
        effect->glyphIndex = nullptr;
        effect->pen = nullptr;
        if (!goOn) {
            return false;
        }
    }
    const irr::core::vector3df at = frame.pos + lineOffset;
    beginGlyphRun(font);
    if (!frame.underlay.empty()) {
        font->drawText(repeatToWidth(*font, line, frame.underlay), at, frame.colour,
                       frame.alignment, kVerticalCentre, frame.scale, false, effect);
    }
    font->drawText(line, at, frame.colour, frame.alignment, kVerticalCentre, frame.scale, kOutline,
                   effect);
    if (!frame.overlay.empty()) {
        font->drawText(repeatToWidth(*font, line, frame.overlay), at, frame.colour, frame.alignment,
                       kVerticalCentre, frame.scale, false, effect);
    }
    endGlyphRun(font);
    frame.pos.Y -= font->getTextExtent(line).Y * lineHeight * frame.lineMult * frame.scale;
    ++frame.drawnLines;
    frame.lineMult = 1;
    return true;
}

void CTextNode::applyMarkup(const std::string& line, FrameState& frame) {
    if (line.size() > 1 && line[1] == '!') {
        return;
    }
    if (RenderedOnce == 0) {
        applyCreationMarkup(line, frame);
    }
    applyFrameMarkup(line, frame);
}

void CTextNode::applyCreationMarkup(const std::string& line, const FrameState& frame) {
    if (contains(line, "<font-effect:")) {
        IGameClient* client = gameClient();
        attachEffect(client != nullptr ? client->createTextEffect(textAfter(line, "<font-effect:"))
                                       : nullptr,
                     0);
    }
    if (contains(line, "<sound")) {
        playSound(markupTagValue(line, "sound"));
    }
    if (contains(line, "<frame")) {
        irr::core::vector3df at(parseFloat(markupAttribute(line, "x")),
                                parseFloat(markupAttribute(line, "y")),
                                parseFloat(markupAttribute(line, "z")));
        createCanvas(frame.offset + at, parseFloat(markupAttribute(line, "w")),
                     parseFloat(markupAttribute(line, "h")), this);
    }
    if (contains(line, "<img")) {
        createInlineImages(line);
    }
}

void CTextNode::playSound(const std::string& name) {
    // A tag without a name has nothing to play.
    if (name.empty()) {
        return;
    }
    // Whole names are compared: "click" is not taken for played after "doubleclick".
    if (("|" + PlayedSounds).find("|" + name + "|") != std::string::npos) {
        return;
    }
    soundPlayer()(name);
    PlayedSounds += name + "|";
}

void CTextNode::createInlineImages(const std::string& line) {
    // Each found tag is marked so that the next search finds the next one.
    std::string rest = line;
    size_t at = rest.find("<img");
    while (at != std::string::npos) {
        rest[at + 1] = '_';
        const size_t start = at + 4;
        const size_t end = rest.find('>', start);
        createInlineImage(rest.substr(start, end == std::string::npos ? end : end - start));
        at = rest.find("<img");
    }
}

void CTextNode::createInlineImage(const std::string& tag) {
    const std::string source = markupAttribute(tag, "src");
    irr::core::dimension2df size(0, 0);
    irr::core::vector3df position(0, 0, 0);
    irr::scene::ISceneNode* parent = this;
    const std::string anchorName = markupAttribute(tag, "anchor");
    AnchorPoint anchor;
    if (!anchorName.empty() && getAnchor(anchorName, anchor)) {
        position = anchor.Position;
        size = anchor.Size;
        if (!anchor.ParentName.empty()) {
            if (CNodeBasement* named = getNodeByName(anchor.ParentName)) {
                parent = named;
            }
        }
    }
    size.Width += parseFloat(markupAttribute(tag, "w"));
    size.Height += parseFloat(markupAttribute(tag, "h"));
    if (std::fabs(size.Width) < kTinyImageSize && std::fabs(size.Height) < kTinyImageSize) {
        size = irr::core::dimension2df(1, 1);
    }
    position += irr::core::vector3df(parseFloat(markupAttribute(tag, "x")),
                                     parseFloat(markupAttribute(tag, "y")),
                                     parseFloat(markupAttribute(tag, "z")));
    CNodeBasement* image = createSprite(resolveDataPath(source), size.Width, size.Height, position,
                                        parent, nullptr, format("%s:%i", __FILE__, __LINE__));
    // A description that makes a text node or a particle its group refuses gives no sprite.
    if (image == nullptr) {
        return;
    }
    float alpha = 1;
    int alphaTime = 0;
    if (contains(tag, "alpha")) {
        alpha = parseFloat(markupAttribute(tag, "alpha"));
        alphaTime = parseInt(markupAttribute(tag, "alphaTime"));
    }
    if (contains(tag, "ondestroy")) {
        image->setOnDestroyText(markupAttribute(tag, "ondestroy"));
    }
    if (alphaTime != 0) {
        attachAnimator(image, new CAlphaFadeAnimator(alphaTime, 0, alpha));
    } else {
        image->setAlpha(alpha);
    }
    const float rotation = parseFloat(markupAttribute(tag, "rotation"));
    if (std::fabs(rotation) > kTinyRotation) {
        if (auto* sprite = dynamic_cast<CSpriteNode*>(image)) {
            sprite->setFlatRotation(rotation * irr::core::PI / 180.0f);
        }
    }
    int id = image->getID();
    if (id == 0 || id == kNoNodeId) {
        id = takeAutomaticId();
        image->setID(id);
    }
    ImageIds.push_back(id);
    image->setName(format("TEXTIMG_%s_%i", source.c_str(), id).c_str());
    if (contains(tag, "oncreate")) {
        if (IGameClient* client = gameClient()) {
            client->nodeEffectHook(image, markupAttribute(tag, "oncreate"), true);
        }
    }
}

void CTextNode::applyFrameMarkup(const std::string& line, FrameState& frame) {
    IGameClient* client = gameClient();
    if (contains(line, "<color")) {
        const int rgb = parseColor(markupTagValue(line, "color"));
        frame.colour.setRed(static_cast<irr::u32>(rgb & 0xFF));
        frame.colour.setGreen(static_cast<irr::u32>((rgb >> 8) & 0xFF));
        frame.colour.setBlue(static_cast<irr::u32>((rgb >> 16) & 0xFF));
        frame.colour.setAlpha(static_cast<irr::u32>(getEffectiveAlpha()));
    }
    for (const char* faceTag : {"<font-face:", "<face="}) {
        if (client != nullptr && contains(line, faceTag)) {
            if (CGUIFont3D* font = client->getFont(textAfter(line, faceTag))) {
                frame.font = font;
            }
            frame.scale = 1;
        }
    }
    for (const char* sizeTag : {"<font-size:", "<size="}) {
        if (client != nullptr && contains(line, sizeTag)) {
            frame.scale = client->getFontSizeFactor(textAfter(line, sizeTag));
        }
    }
    if (contains(line, "<anchor")) {
        moveToAnchor(markupTagValue(line, "anchor"), frame);
    }
    if (contains(line, "<d")) {
        frame.offset.X = addMarkupNumber(frame.offset.X, markupTagValue(line, "dx"));
        frame.offset.Y = addMarkupNumber(frame.offset.Y, markupTagValue(line, "dy"));
    }
    if (contains(line, "<line")) {
        frame.offset.X = parseFloat(markupTagValue(line, "x"));
    }
    if (contains(line, "<spacer-")) {
        frame.pen.X = addMarkupNumber(frame.pen.X, markupTagValue(line, "spacer-x"));
        frame.pen.Y = addMarkupNumber(frame.pen.Y, markupTagValue(line, "spacer-y"));
        frame.lineMult = 0;
    }
    if (contains(line, "<overlay")) {
        frame.overlay = unquoted(markupTagValue(line, "overlay"));
    }
    if (contains(line, "<underlay")) {
        frame.underlay = unquoted(markupTagValue(line, "underlay"));
    }
    if (contains(line, "<center>")) {
        frame.alignment = 0;
    }
    if (contains(line, "<left>")) {
        frame.alignment = 1;
    }
    if (contains(line, "<right>")) {
        frame.alignment = -1;
    }
    if (contains(line, "<nobr>")) {
        frame.lineMult = 0;
    }
}

void CTextNode::moveToAnchor(const std::string& name, FrameState& frame) {
    AnchorPoint anchor;
    if (!findAnchor(name, anchor)) {
        if (std::find(ReportedAnchors.begin(), ReportedAnchors.end(), name) ==
            ReportedAnchors.end()) {
            ReportedAnchors.push_back(name);
            getAnchor(name, anchor);
        }
        return;
    }
    frame.pos = anchor.Position - getPosition();
    frame.offset = irr::core::vector3df(0, 0, 0);
}

CTextNode* makeTextNode(const std::string& text, const irr::core::vector3df& position,
                        irr::scene::ISceneNode* parent, int id) {
    irr::scene::ISceneManager* scene = getEngine().getSceneManager();
    if (scene == nullptr) {
        return nullptr;
    }
    auto* node = new CTextNode(parent != nullptr ? parent : scene->getRootSceneNode(), scene,
                               position, text, id);
    node->drop();
    return node;
}

CTextNode* findTextNode(const std::string& name) {
    return dynamic_cast<CTextNode*>(getNodeByName(name + "_text"));
}

CTextNode* textNodeOf(CNodeBasement* node) {
    if (node == nullptr) {
        return nullptr;
    }
    if (auto* text = dynamic_cast<CTextNode*>(node)) {
        return text;
    }
    return dynamic_cast<CTextNode*>(node->getTextChild(0));
}
