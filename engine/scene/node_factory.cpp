#include "node_factory.h"

#include "animators/abaseanimators.h"
#include "animators/aeffectsanimators.h"
#include "animators/afadeanimators.h"
#include "animators/aframeanimator.h"
#include "animators/alifetimeanimators.h"
#include "animators/apositionanimators.h"
#include "animators/ascriptedeffect.h"
#include "animators/asoundanimators.h"
#include "animators/aspritegenerator.h"
#include "core/game_client.h"
#include "core/vellumengine.h"
#include "input/description_input.h"
#include "scene/anchor_table.h"
#include "scene/description_values.h"
#include "scene/held_reference.h"
#include "scene/node_base.h"
#include "scene/node_sprite.h"
#include "scene/node_utilities.h"
#include "scene/particle_groups.h"
#include "scene/sprite_description.h"
#include "scene/sprite_macros.h"
#include "scene/texture_cache.h"
#include "script/script_action_animator.h"
#include "utils/debug.h"
#include "utils/number_text.h"
#include "utils/utils_fs.h"
#include "utils/utils_lang.h"
#include "utils/utils_str.h"

#include <cmath>
#include <unordered_map>

namespace {

// Descriptions that name each other (or themselves) as their texture would nest without end;
// a chain this deep is taken for such a loop.
const int kMaxDescriptionNesting = 32;
int descriptionNesting = 0;

std::unordered_map<std::string, SpriteDescription*>& descriptionCache() {
    static auto* cache = new std::unordered_map<std::string, SpriteDescription*>();
    return *cache;
}

TextNodeCreator& textNodeCreator() {
    static auto* creator = new TextNodeCreator();
    return *creator;
}

// The text a "-Text:" or "-Label:" value shows: the rest after a leading "?", else the localized
// string of the key.
std::string shownText(const std::string& value) {
    return startsWith(value, "?") ? value.substr(1) : localize(value);
}

void giveIdentity(CNodeBasement* node, const SpriteDescription& description) {
    if (!description.Name.empty()) {
        setNodeName(node, description.Name);
    } else if (description.LocalID != 0) {
        node->setID(description.LocalID);
    }
}

struct SourceDescription {
    SpriteDescription* description = nullptr;
    // Descriptions from texts get every effect; plain images get none.
    bool fromText = false;
    std::vector<std::string> macroParams;
};

SourceDescription describeSource(const std::string& source, const SpriteCreationParams* params) {
    SourceDescription result;
    if (classifyPath(source) == kFileInline) {
        ProfileScope scope("ADDSPR-READRAW|" __FILE__, __LINE__);
        result.description =
            getDescription(source, source.substr(std::string("raw:\\").size()), nullptr, params);
        result.fromText = true;
        return result;
    }
    std::string path = source;
    size_t question = path.find('?');
    if (question != std::string::npos) {
        result.macroParams = splitList(path.substr(question + 1), '&', false);
        path = path.substr(0, question);
    }
    expandSpriteMacros(path, &result.macroParams, params);
    if (classifyPath(path) == kFileSpriteDescription) {
        ProfileScope scope("ADDSPR-READSPR|" __FILE__, __LINE__);
        std::string text = readDescriptionFile(path);
        if (trim(text).empty()) {
            messageBox(format("Empty sprite in '%s'!", path.c_str()), 0);
        }
        result.description = getDescription(path, text, &result.macroParams, params);
        result.fromText = true;
        return result;
    }
    ProfileScope scope("ADDSPR-READPNG|" __FILE__, __LINE__);
    result.description = getDescription(path, std::string(), &result.macroParams, params);
    result.description->TexturePath = path;
    return result;
}

CNodeBasement* createTextSprite(const SpriteDescription& description,
                                const irr::core::vector3df& position,
                                irr::scene::ISceneNode* parent) {
    CNodeBasement* text = createTextNode(shownText(description.Text), position, parent, kNoNodeId);
    if (text) {
        giveIdentity(text, description);
    }
    return text;
}

// Where a sprite is made and how: the values of one createSprite call.
struct Placement {
    std::string source;
    float widthFactor;
    float heightFactor;
    irr::core::vector3df position;
    irr::scene::ISceneNode* parent;
    const SpriteCreationParams* params;
    std::string creationTag;
};

// The description or dialog file the sprite's text was written in: the source itself when it is
// a description file, else the file its caller cut the text from; "" for a text made at run time.
std::string originFile(const Placement& call) {
    std::string path = call.source.substr(0, call.source.find('?'));
    if (classifyPath(path) == kFileSpriteDescription) {
        return path;
    }
    return call.params ? call.params->OriginFile : std::string();
}

void createSubSprites(CNodeBasement* node, const SpriteDescription& description,
                      const Placement& call, const irr::core::dimension2df& size) {
    // Relative paths in sub-sprites resolve against the description file, also when the caller's
    // parameters name no folder of their own.
    SpriteCreationParams ownParams = call.params ? *call.params : SpriteCreationParams();
    if (ownParams.SourceFolder.empty() && classifyPath(call.source) != kFileInline) {
        ownParams.SourceFolder = call.source;
    }
    ownParams.OriginFile = originFile(call);
    const SpriteCreationParams* params = &ownParams;
    for (const std::string& subSprite : description.SubSprites) {
        std::string asChild;
        bool child = getKeyValue(subSprite, "-AsChild:", asChild)
                         ? readDescriptionInt(asChild) != 0
                         : params->SubSpritesAsChildren != 0;
        if (child) {
            createSprite(subSprite, size.Width, size.Height, irr::core::vector3df(0, 0, 0), node,
                         params, call.creationTag);
        } else {
            createSprite(subSprite, call.widthFactor, call.heightFactor, call.position, call.parent,
                         params, call.creationTag);
        }
    }
}

void createClones(const SpriteDescription& description, const Placement& call) {
    if (description.MakeClones <= 0 || (call.params && call.params->CloneIndex != 0)) {
        return;
    }
    int count = description.MakeClones;
    if (count > kMaxSpriteClones) {
        const std::string origin = originFile(call);
        showErrorBox(format("Warning! '-MakeClones:' in %s asks for %d clones, more than the "
                            "%d the engine makes: %d are made",
                            origin.empty() ? "a sprite made at run time" : origin.c_str(), count,
                            kMaxSpriteClones, kMaxSpriteClones),
                     false);
        count = kMaxSpriteClones;
    }
    for (int k = 1; k <= count; ++k) {
        SpriteCreationParams clone = call.params ? *call.params : SpriteCreationParams();
        clone.CloneIndex = k;
        createSprite(call.source, call.widthFactor, call.heightFactor, call.position, call.parent,
                     &clone, call.creationTag);
    }
}

// The "-Animation." keys: creation and destruction effects, moves, resizes and the continuous
// effects (scrolling, pulsing, spawning, frame animation).
void applyAnimationKeys(CNodeBasement* node, const SpriteDescription& description) {
    if (!description.OnCreate.empty()) {
        getEngine().getClient()->nodeEffectHook(node, description.OnCreate, true);
    }
    if (!description.OnDestroy.empty()) {
        node->setOnDestroyText(description.OnDestroy);
    }
    if (description.MoveTime != 0) {
        attachAnimator(node, new CMoveAnimator(description.MoveMode, description.MoveTarget,
                                               static_cast<irr::u32>(description.MoveTime), false));
    }
    if (std::fabs(description.ScrollX) > 0.001f || std::fabs(description.ScrollY) > 0.001f) {
        attachAnimator(node, new CTextureScroller(description.ScrollX, description.ScrollY));
    }
    if (description.PulsarTime != 0) {
        auto* pulsar = new CAlphaPulsar(description.PulsarTime, description.PulsarA);
        pulsar->setLowAlpha(description.PulsarL);
        // The last value is a phase offset in periods: 1 starts the pulse at its low alpha.
        pulsar->setPhaseOffset(
            static_cast<int>(static_cast<float>(description.PulsarTime) * description.PulsarP));
        attachAnimator(node, pulsar);
    }
    // A generator without sources would never spawn anything.
    if (description.GenTime != 0 && !description.GenFiles.empty()) {
        auto* generator = new CRandomSpriteGenerator(description.GenTime, description.GenR,
                                                     description.GenCount, description.GenFiles);
        generator->setOrient(description.GenO);
        generator->setAngleOffset(description.GenA);
        attachAnimator(node, generator);
    }
    if (description.RotTime > 0.0001f || std::fabs(description.RotSpeed) > 0.0001f) {
        attachAnimator(node, new CRotationAnimator(description.RotTime, description.RotSpeed));
    }
    if (description.SizeTime > 0.0001f || std::fabs(description.SizeScale) > 0.0001f) {
        irr::core::dimension2df size = node->getSize();
        attachAnimator(node, new CSizeAnimator(size.Width, size.Height,
                                               static_cast<irr::u32>(description.SizeTime),
                                               size.Width * description.SizeScale,
                                               size.Height * description.SizeScale));
    }
    if (description.FrameTime != 0) {
        // A layout without frames gets no animation (createFrameAnimation gives null).
        attachAnimator(node, createFrameAnimation(static_cast<irr::u32>(description.FrameTime),
                                                  description.FrameLayout));
    }
}

// The description's keys applied to a node made from a text, in their fixed order.
void applyEffects(CNodeBasement* node, const SpriteDescription& description, const Placement& call,
                  const irr::core::dimension2df& size) {
    ProfileScope scope("ADDSPR-APPL EFFS|" __FILE__, __LINE__);
    giveIdentity(node, description);
    if (description.MapY2Z != 0) {
        node->setMapY2Z(description.MapY2Z);
    }
    node->setVisible(description.Visible != 0);
    node->setHideCount(description.Invisible);
    node->setAlpha(description.Alpha);
    if (description.AlphaFadeTime != 0) {
        attachAnimator(node,
                       new CAlphaFadeAnimator(description.AlphaFadeTime, 0, description.Alpha));
    }
    if (description.MakeParentInvisible != 0) {
        attachAnimator(node, new CHideParentAnimator(call.parent->getID()));
    }
    CSpriteNode* sprite = dynamic_cast<CSpriteNode*>(node);
    if (sprite && (description.AtlasW > 0.001f || description.AtlasH > 0.001f)) {
        sprite->setAtlas(description.AtlasX, description.AtlasY, description.AtlasW,
                         description.AtlasH, description.AtlasZ);
    }
    if (!description.DestroyedSound.empty()) {
        attachAnimatorDormant(node, new CDestroySoundAnimator(description.DestroyedSound));
    }
    if (description.Tint != 0) {
        node->setTint(description.Tint);
    }
    if (sprite) {
        sprite->setFlatRotation(description.Rotation);
    }
    node->setLocalDepth(description.PosDepth);
    if (description.SelfDestructTime != 0) {
        attachAnimator(node, new CSelfDestructAnimator(description.SelfDestructTime,
                                                       description.SelfDestructFade));
    }
    if (description.HasAnimation) {
        applyAnimationKeys(node, description);
    }
    if (!description.Label.empty()) {
        std::string label = description.LabelFormatting;
        if (!label.empty()) {
            label += "\n";
        }
        label += shownText(description.Label);
        CNodeBasement* text =
            createTextNode(label, irr::core::vector3df(0, 0, -0.01f), node, kNoNodeId);
        if (text && !description.Name.empty()) {
            setNodeName(text, description.Name + "_text");
        }
        if (text) {
            attachLabelEditor(text, description);
        }
    }
    if (!description.DefineAnchor.empty()) {
        defineAnchor(description.DefineAnchor, node->getPosition(), node->getSize(),
                     description.Parent);
    }
    attachInputBehaviours(node, description, originFile(call));
    if (!description.CreatedSound.empty() && (call.params == nullptr || call.params->Silent == 0)) {
        getEngine().getSound().playEffect(description.CreatedSound, -1.0f);
    }
    if (!description.WhileVisibleSound.empty() &&
        (call.params == nullptr || call.params->Silent == 0)) {
        attachAnimatorDormant(node, new CLoopedSoundAnimator(description.WhileVisibleSound));
    }
    if (call.params == nullptr || call.params->NoSubSprites == 0) {
        createSubSprites(node, description, call, size);
    }
    createClones(description, call);
    if (!description.ScriptName.empty()) {
        auto* effect = new CScriptedEffect(description.ScriptName, description.ScriptArgs);
        if (call.params) {
            effect->setCloneNumber(call.params->CloneIndex);
        }
        attachAnimator(node, effect);
    }
    if (!description.CreatedAction.empty() || !description.WhileVisibleAction.empty() ||
        !description.DestroyedAction.empty()) {
        attachAnimator(node, new CScriptActionAnimator(
                                 description.CreatedAction, description.WhileVisibleAction,
                                 description.DestroyedAction, false, originFile(call)));
    }
    if (description.BaseTimer != 0) {
        setAnimatorsBaseTimer(node, description.BaseTimer);
    }
}

// The texture and material of a sprite made in this call.
void bindTexture(CSpriteNode* sprite, const SpriteDescription& description, int materialIndex,
                 int filtering) {
    {
        ProfileScope scope("RETRTEXT|" __FILE__, __LINE__);
        sprite->setName(format("Spr%X_%s", static_cast<unsigned>(sprite->getID()),
                               splitPath(description.TexturePath, false, false, true, true).c_str())
                            .c_str());
        TextureRegion region = getTextureRegion(description.TexturePath);
        if (!region.hasTexture()) {
            reportError(format("ERROR: Failed to load\n'%s'", description.TexturePath.c_str()),
                        false);
            return;
        }
        sprite->setTextureRegion(region);
    }
    ProfileScope scope("RETRTEXT-SETUP|" __FILE__, __LINE__);
    CVellumEngine& engine = getEngine();
    sprite->setRenderOrder(description.RenderOrder);
    if (engine.getConfig().HiQuality == 0) {
        filtering = 0;
    }
    sprite->setSpriteMaterial(engine.getRenderer().getMaterialType(materialIndex), filtering);
    const TextureRegion& region = sprite->getRegion();
    float pixelWidth = static_cast<float>(region.PixelRect.getWidth());
    float pixelHeight = static_cast<float>(region.PixelRect.getHeight());
    irr::core::dimension2df size = sprite->getSize();
    if (description.SizeMode == 1 && pixelHeight > 0 && sprite->getAtlasW() > 0) {
        size.Width =
            pixelWidth * size.Height / pixelHeight * sprite->getAtlasH() / sprite->getAtlasW();
        sprite->setSize(size.Width, size.Height);
    } else if (description.SizeMode == 2 && pixelWidth > 0 && sprite->getAtlasH() > 0) {
        size.Height =
            pixelHeight * size.Width / pixelWidth * sprite->getAtlasW() / sprite->getAtlasH();
        sprite->setSize(size.Width, size.Height);
    }
    sprite->setAutomaticCulling(irr::scene::EAC_OFF);
}

} // namespace

CNodeBasement* createSprite(const std::string& source, float widthFactor, float heightFactor,
                            const irr::core::vector3df& position, irr::scene::ISceneNode* parent,
                            const SpriteCreationParams* params, const std::string& creationTag) {
    ProfileScope scope("ADDSPR|" __FILE__, __LINE__);
    CVellumEngine& engine = getEngine();
    ScopedLock guard(engine.getSceneLock());
    if (!parent) {
        parent = engine.getSceneManager()->getRootSceneNode();
    }
    SourceDescription described = describeSource(source, params);
    HeldReference<SpriteDescription> descriptionReference(described.description);
    SpriteDescription& description = *described.description;
    if (!description.AsParticle.empty() && !admitParticle(description.AsParticle)) {
        return nullptr;
    }
    if (!description.Parent.empty()) {
        ProfileScope parentScope("ADDSPR-GETPARENT|" __FILE__, __LINE__);
        if (findNameId(description.Parent) == 0) {
            reportError(format("Sprite trying to connect to\nunknown node by name.\nUnaccessible "
                               "parent: '%s'",
                               description.Parent.c_str()),
                        false);
        }
        // A registered name that no live node holds leaves the sprite under the given parent.
        if (CNodeBasement* named = getNodeById(nameToId(description.Parent))) {
            parent = named;
        }
    }
    if (description.Name.find('$') != std::string::npos) {
        description.Name = replaceAll(description.Name, "${parentName}", idToName(parent->getID()));
    }
    irr::core::vector3df at =
        position + irr::core::vector3df(description.PosX, description.PosY, description.PosZ);
    irr::core::dimension2df size(widthFactor * description.Width,
                                 heightFactor * description.Height);
    if (!description.PositionAnchor.empty()) {
        // An undeclared anchor keeps the computed position and size (after its message).
        AnchorPoint anchor;
        if (getAnchor(description.PositionAnchor, anchor)) {
            at = anchor.Position;
            size = anchor.Size;
        }
    }
    if (!description.Text.empty()) {
        createTextSprite(description, at, parent);
        return nullptr;
    }
    if (!description.PosRelativeTo.empty()) {
        if (CNodeBasement* relative = getNodeByName(description.PosRelativeTo)) {
            at += relative->getAbsolutePosition() - parent->getAbsolutePosition();
        }
    }

    CNodeBasement* node = nullptr;
    CSpriteNode* sprite = nullptr;
    HeldReference<CSpriteNode> creationReference;
    {
        ProfileScope newNodeScope("ADDSPR-NEWNODE|" __FILE__, __LINE__);
        if (classifyPath(description.TexturePath) == kFileSpriteDescription) {
            if (descriptionNesting >= kMaxDescriptionNesting) {
                showErrorBox(format("Sprite descriptions nest too deep (one names itself?):\n'%s'",
                                    description.TexturePath.c_str()),
                             false);
            } else {
                SpriteCreationParams nested = params ? *params : SpriteCreationParams();
                nested.SourceFolder = description.TexturePath;
                struct NestingScope {
                    NestingScope() { ++descriptionNesting; }
                    ~NestingScope() { --descriptionNesting; }
                } nesting;
                node = createSprite(description.TexturePath, size.Width, size.Height, at, parent,
                                    &nested, creationTag);
            }
            if (node) {
                giveIdentity(node, description);
            }
        } else {
            sprite = new CSpriteNode(parent, engine.getSceneManager(), kNoNodeId, at, size);
            creationReference.reset(sprite);
            node = sprite;
        }
        if (node) {
            if (sprite) {
                sprite->setParticleGroup(description.AsParticle);
            }
            if (params && params->ForcedID != 0) {
                node->setID(params->ForcedID);
            }
            ProfileScope customScope("ADDSPR-APPL CUSTOM EFFS|" __FILE__, __LINE__);
            description.applyCustomKeys(node, params);
        }
    }
    int materialIndex = description.MaterialType >= 0 ? description.MaterialType : 0;
    if (node && described.fromText) {
        applyEffects(
            node, description,
            Placement{source, widthFactor, heightFactor, position, parent, params, creationTag},
            size);
    }
    if (sprite) {
        bindTexture(sprite, description, materialIndex, description.TextureFiltering);
    }
    return node;
}

CNodeBasement* createEmptyNode(irr::scene::ISceneNode* parent, int id,
                               const irr::core::vector3df& position) {
    CNodeBasement* node = createSprite(resolveDataPath("gui\\empty.png"), 0, 0, position, parent,
                                       nullptr, format("%s:%i", __FILE__, __LINE__));
    if (node) {
        node->setID(id);
        node->setAlpha(0);
        node->setHideCount(1);
    }
    return node;
}

CNodeBasement* createTextNode(const std::string& text, const irr::core::vector3df& position,
                              irr::scene::ISceneNode* parent, int id) {
    TextNodeCreator& creator = textNodeCreator();
    return creator ? creator(text, position, parent, id) : nullptr;
}

void setTextNodeCreator(TextNodeCreator creator) {
    textNodeCreator() = std::move(creator);
}

SpriteDescription* getDescription(const std::string& name, const std::string& text,
                                  const std::vector<std::string>* macroParams,
                                  const SpriteCreationParams* params) {
    auto& cache = descriptionCache();
    auto cached = cache.find(name);
    if (cached != cache.end()) {
        cached->second->grab();
        return cached->second;
    }
    ProfileScope scope("ADDSPR-CREATINGDSC|" __FILE__, __LINE__);
    HeldReference<SpriteDescription> description(
        getEngine().getClient()->createSpriteDescription());
    description->reset(name);
    description->parseDescription(text, macroParams, params);
    if (text.find('$') == std::string::npos && (!params || params->NoCache == 0)) {
        SpriteDescription*& entry = cache[name];
        if (entry) {
            entry->drop();
        }
        entry = description.get();
        description->grab();
    }
    return description.release();
}

std::string readDescriptionFile(const std::string& path) {
    std::string text;
    readTextFile(path, text);
    return "\n" + text + "\n";
}

void clearDescriptionCache() {
    auto& cache = descriptionCache();
    for (auto& entry : cache) {
        entry.second->drop();
    }
    cache.clear();
}
