#pragma once

#include <irrlicht/irrlicht.h>

#include <cstdint>
#include <string>
#include <vector>

class CNodeBasement;
struct SpriteCreationParams;

// The most copies "-MakeClones:" makes. Each copy is a whole sprite: a larger count is a slip of
// the keyboard that would fill the memory, not a design.
constexpr int kMaxSpriteClones = 1000;

// The fields of a sprite description with the defaults that `reset` restores, in declaration
// order.
struct SpriteDescriptionFields {
    int Initialized = 0;
    std::string TexturePath;
    // Each as "raw:\" followed by the sub-sprite's text.
    std::vector<std::string> SubSprites;
    float AtlasX = 0, AtlasY = 0, AtlasW = 0, AtlasH = 0;
    float AtlasZ = 0.001f;
    float Width = 1, Height = 1;
    // 1: the width follows the height (from the texture's aspect); 2: the height follows the width.
    int SizeMode = 0;
    float PosX = 0, PosY = 0, PosZ = 0;
    float Alpha = 1.0f;
    int AlphaFadeTime = 0;
    int Invisible = 0;
    int Visible = 1;
    int TextureFiltering = 3;
    int SelfDestructTime = 0;
    int SelfDestructFade = 0;
    // Radians.
    float Rotation = 0;
    int PosDepth = 0;
    std::string PosRelativeTo;
    int MaterialType = -1;
    uint32_t Tint = 0;
    int RenderOrder = 4;
    int MakeParentInvisible = 0;
    int MakeClones = 0;
    std::string DestroyedSound, WhileVisibleSound, CreatedSound;
    std::string Name;
    int LocalID = 0;
    int MapY2Z = 0;
    std::string Parent;
    std::string Text, Label, LabelFormatting;
    std::string DefineAnchor, PositionAnchor;
    std::string OverImage, OverSound, OverInScript, OverOutScript;
    std::string ClickImage, ClickAction, DragAction, RClickAction, ClickSound;
    int ClickBlock = 0, ClickSpeed = 0, ClickPixelPerfect = 0;
    std::string AutodisableAction, AutodisableImage;
    int ClickKeyShortcut = 0;
    std::string CreatedAction, WhileVisibleAction, DestroyedAction;
    int BaseTimer = 0;
    float ScrollX = 0, ScrollY = 0;
    int PulsarTime = 0;
    float PulsarA = 0, PulsarL = 0, PulsarP = 1.0f;
    int GenTime = 0, GenR = 0, GenCount = 1, GenO = 0;
    float GenA = 0;
    std::vector<std::string> GenFiles;
    float RotSpeed = 0, RotTime = 0;
    float SizeScale = 0, SizeTime = 0;
    int HasAnimation = 0;
    int MoveMode = 0;
    irr::core::vector3df MoveTarget;
    int MoveTime = 0;
    std::string OnCreate, OnDestroy;
    int FrameTime = 0;
    std::string FrameLayout;
    std::string ScriptName, ScriptArgs;
    std::string AsParticle;
    std::string EditorTarget;
    int EditorSize = 0;
};

// A parsed sprite description: the record the node factory turns into nodes. Records are made
// through the game interface (createSpriteDescription), so the game's subclass can read and apply
// keys of its own through parseCustomKeys and applyCustomKeys.
class SpriteDescription : public irr::IReferenceCounted, public SpriteDescriptionFields {
public:
    SpriteDescription() = default;
    ~SpriteDescription() override = default;

    // Called at the end of parseDescription with the preprocessed text.
    virtual void parseCustomKeys(const std::string& text,
                                 const std::vector<std::string>* macroParams,
                                 const SpriteCreationParams* creationParams);
    // Called by the node factory once the node exists.
    virtual void applyCustomKeys(CNodeBasement* node, const SpriteCreationParams* creationParams);

    // Stores the name (as a data path) in TexturePath and sets every other field to its default.
    void reset(const std::string& name);
    // Fills the record from a description text; the record must have been reset. The text is
    // macro-expanded, its "[Anchor]" sections go to the anchor table, its further "[Sprite]"
    // sections become SubSprites, and the sprite's own keys are read.
    void parseDescription(const std::string& text, const std::vector<std::string>* macroParams,
                          const SpriteCreationParams* creationParams);
};
