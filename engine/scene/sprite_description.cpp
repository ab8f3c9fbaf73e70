#include "sprite_description.h"

#include "anchor_table.h"
#include "description_values.h"
#include "sprite_creation_params.h"
#include "sprite_macros.h"
#include "utils/debug.h"
#include "utils/description_path.h"
#include "utils/utils_fs.h"
#include "utils/utils_str.h"

namespace {

const char kSpriteSplit[] = "\n[Sprite]";
const char kAnchorHeader[] = "[Anchor]";
// A "[Sprite]" header within the first five characters opens the sprite's own section.
const size_t kOwnHeaderReach = 5;

// Reads the keys of one section text into a record; paths are resolved against the
// description's name or the creation parameters' source file.
class KeyReader {
public:
    KeyReader(const std::string& text, const std::string& descriptionName,
              const SpriteCreationParams* creationParams)
        : text(text), descriptionName(descriptionName), creationParams(creationParams) {}

    bool value(const char* key, std::string& out) const { return getKeyValue(text, key, out); }

    void readInt(const char* key, int& target) const {
        std::string found;
        if (value(key, found)) {
            target = readDescriptionInt(found);
        }
    }
    void readFloat(const char* key, float& target) const {
        std::string found;
        if (value(key, found)) {
            target = readDescriptionFloat(found);
        }
    }
    void readString(const char* key, std::string& target) const {
        std::string found;
        if (value(key, found)) {
            target = trim(found);
        }
    }
    void readRaw(const char* key, std::string& target) const {
        std::string found;
        if (value(key, found)) {
            target = found;
        }
    }
    void readPath(const char* key, std::string& target) const {
        std::string found;
        if (value(key, found)) {
            target = resolve(trim(found));
        }
    }

    std::string resolve(const std::string& path) const {
        const std::string* sourceFolder = nullptr;
        if (creationParams != nullptr && !creationParams->SourceFolder.empty()) {
            sourceFolder = &creationParams->SourceFolder;
        }
        return resolveDescriptionPath(path, descriptionName, sourceFolder);
    }

private:
    const std::string& text;
    const std::string& descriptionName;
    const SpriteCreationParams* creationParams;
};

bool contains(const std::string& text, const char* what) {
    return text.find(what) != std::string::npos;
}

// Cuts the text just after the line feed before its first "[Anchor]" line; false when there is
// no such line.
bool cutAnchors(std::string& text) {
    if (startsWith(text, kAnchorHeader)) {
        text.clear();
        return true;
    }
    size_t found = text.find(std::string("\n") + kAnchorHeader);
    if (found == std::string::npos) {
        return false;
    }
    text.erase(found + 1);
    return true;
}

// Moves every further "[Sprite]" section of the text into the list (as "raw:\\" + its text, empty
// ones dropped) and cuts the text just after the line feed before the first of them.
void splitSubSprites(std::string& text, std::vector<std::string>& subSprites) {
    const size_t splitLength = sizeof(kSpriteSplit) - 1;
    size_t first = text.find(kSpriteSplit, kOwnHeaderReach - 1);
    if (first == std::string::npos) {
        return;
    }
    size_t start = first;
    while (start != std::string::npos) {
        size_t bodyStart = start + splitLength;
        size_t next = text.find(kSpriteSplit, bodyStart);
        // Each body keeps the line feed that ends its last line.
        std::string body = next == std::string::npos ? text.substr(bodyStart)
                                                     : text.substr(bodyStart, next + 1 - bodyStart);
        if (!trim(body).empty()) {
            subSprites.push_back("raw:\\" + body);
        }
        start = next;
    }
    text.erase(first + 1);
}

void readPlacementKeys(SpriteDescription& d, const KeyReader& keys) {
    std::string value;
    keys.readString("-Name:", d.Name);
    keys.readInt("-LocalID:", d.LocalID);
    if (keys.value("-Atlas:", value)) {
        readTaggedFloat(value, 'x', d.AtlasX);
        readTaggedFloat(value, 'y', d.AtlasY);
        readTaggedFloat(value, 'w', d.AtlasW);
        readTaggedFloat(value, 'h', d.AtlasH);
        float z = 0;
        if (readTaggedFloat(value, 'z', z) && z > 0.0001f) {
            d.AtlasZ = z;
        }
    }
    if (keys.value("-MaterialType:", value)) {
        d.MaterialType = readDescriptionInt(value);
        if (d.MaterialType != 0) {
            d.TextureFiltering = 0;
        }
    }
    keys.readInt("-TextureFiltering:", d.TextureFiltering);
    if (keys.value("-RenderOrder:", value)) {
        // Only 1 selects a pass of its own; every other value keeps the default pass.
        d.RenderOrder = readDescriptionInt(value) == 1 ? 6 : 4;
    }
    keys.readInt("-MapY2Z:", d.MapY2Z);
    if (keys.value("-Position:", value)) {
        readTaggedFloat(value, 'x', d.PosX);
        readTaggedFloat(value, 'y', d.PosY);
        readTaggedFloat(value, 'z', d.PosZ);
        readTaggedInt(value, 's', d.PosDepth);
        readTailString(value, '@', d.PosRelativeTo);
    }
    keys.readString("-Position.Anchor:", d.PositionAnchor);
    if (keys.value("-Size:", value)) {
        if (contains(value, "w") || contains(value, "h")) {
            float width = 0, height = 0;
            readTaggedFloat(value, 'w', width);
            readTaggedFloat(value, 'h', height);
            d.Width = width;
            d.Height = height;
            if (width == 0 && height != 0) {
                d.SizeMode = 1;
                d.Width = height;
            } else if (height == 0 && width != 0) {
                d.SizeMode = 2;
                d.Height = width;
            }
        } else {
            d.Width = d.Height = readDescriptionFloat(value);
        }
    }
    if (keys.value("-Rotation:", value)) {
        d.Rotation = readDescriptionFloat(value) * irr::core::PI / 180.0f;
    }
    if (keys.value("-Alpha:", value)) {
        d.Alpha = readDescriptionFloat(value);
        readTaggedInt(value, 't', d.AlphaFadeTime);
    }
    keys.readInt("-Invisible:", d.Invisible);
    keys.readInt("-Visible:", d.Visible);
    if (keys.value("-Tint:", value)) {
        d.Tint = readDescriptionColor(trim(value));
    }
    keys.readString("-Parent:", d.Parent);
}

void readTextKeys(SpriteDescription& d, const KeyReader& keys) {
    keys.readString("-Text:", d.Text);
    keys.readString("-Label:", d.Label);
    if (!d.Label.empty()) {
        keys.readString("-Label.Formatting:", d.LabelFormatting);
    }
    keys.readString("-DefineAnchor:", d.DefineAnchor);
    keys.readString("-AsParticle:", d.AsParticle);
}

void readAnimationKeys(SpriteDescription& d, const KeyReader& keys) {
    std::string value;
    if (keys.value("-Animation.SimpleTextEditor:", value)) {
        readTailString(value, '@', d.EditorTarget);
        readTaggedInt(value, 's', d.EditorSize);
    }
    if (keys.value("-Animation.Texture:", value)) {
        readTaggedInt(value, 't', d.FrameTime);
        readTailString(value, 'm', d.FrameLayout);
    }
    if (keys.value("-Animation.Move:", value)) {
        readTaggedInt(value, 'd', d.MoveMode);
        readTaggedFloat(value, 'x', d.MoveTarget.X);
        readTaggedFloat(value, 'y', d.MoveTarget.Y);
        readTaggedFloat(value, 'z', d.MoveTarget.Z);
        readTaggedInt(value, 't', d.MoveTime);
    }
    if (keys.value("-Animation.TextureScroller:", value)) {
        readTaggedFloat(value, 'x', d.ScrollX);
        readTaggedFloat(value, 'y', d.ScrollY);
    }
    if (keys.value("-Animation.AlphaPulsar:", value)) {
        readTaggedInt(value, 't', d.PulsarTime);
        readTaggedFloat(value, 'a', d.PulsarA);
        readTaggedFloat(value, 'l', d.PulsarL);
        readTaggedFloat(value, 'p', d.PulsarP);
    }
    if (keys.value("-Animation.ByScriptMethod:", value)) {
        std::string method = trim(value);
        size_t comma = method.find(',');
        if (comma == std::string::npos) {
            d.ScriptName = method;
            d.ScriptArgs.clear();
        } else {
            d.ScriptName = trim(method.substr(0, comma));
            d.ScriptArgs = trim(method.substr(comma + 1));
        }
    }
    if (keys.value("-Animation.Scripted:", value)) {
        d.ScriptName = trim(value);
        d.ScriptArgs.clear();
    }
    if (keys.value("-Animation.RandomSprGenerator:", value)) {
        readTaggedInt(value, 't', d.GenTime);
        readTaggedInt(value, 'r', d.GenR);
        readTaggedInt(value, 'c', d.GenCount);
        readTaggedInt(value, 'o', d.GenO);
        readTaggedFloat(value, 'a', d.GenA);
        std::string files;
        if (readTailString(value, '@', files)) {
            for (const std::string& file : splitList(files, ',', false)) {
                std::string path = trim(file);
                if (!path.empty()) {
                    d.GenFiles.push_back(keys.resolve(path));
                }
            }
        }
    }
    if (keys.value("-Animation.Rotation:", value)) {
        readTaggedFloat(value, 's', d.RotSpeed);
        readTaggedFloat(value, 't', d.RotTime);
    }
    if (keys.value("-Animation.Size:", value)) {
        readTaggedFloat(value, 's', d.SizeScale);
        readTaggedFloat(value, 't', d.SizeTime);
    }
    keys.readRaw("-Animation.OnCreate:", d.OnCreate);
    keys.readRaw("-Animation.OnDestroy:", d.OnDestroy);
    keys.readInt("-Animation.BaseTimer:", d.BaseTimer);
}

void readEventKeys(SpriteDescription& d, const KeyReader& keys) {
    keys.readString("-Event.WhileVisible.Sound:", d.WhileVisibleSound);
    keys.readString("-Event.Created.Sound:", d.CreatedSound);
    keys.readString("-Event.Destroyed.Sound:", d.DestroyedSound);
    keys.readString("-Event.WhileVisible.Action:", d.WhileVisibleAction);
    keys.readString("-Event.Created.Action:", d.CreatedAction);
    keys.readString("-Event.Destroyed.Action:", d.DestroyedAction);
}

void readMouseKeys(SpriteDescription& d, const KeyReader& keys) {
    keys.readPath("-Event.Mouse.Click.Image:", d.ClickImage);
    keys.readString("-Event.Mouse.Click.Action:", d.ClickAction);
    keys.readString("-Event.Mouse.Drag.Action:", d.DragAction);
    keys.readString("-Event.Mouse.RClick.Action:", d.RClickAction);
    keys.readInt("-Event.Mouse.Click.Speed:", d.ClickSpeed);
    keys.readInt("-Event.Mouse.Click.PixelPerfect:", d.ClickPixelPerfect);
    keys.readInt("-Event.Mouse.Click.KeyShortcut:", d.ClickKeyShortcut);
    keys.readString("-Event.Mouse.Click.Sound:", d.ClickSound);
    keys.readString("-Event.Mouse.Click.AutodisableIf.Action:", d.AutodisableAction);
    keys.readPath("-Event.Mouse.Click.AutodisableIf.Image:", d.AutodisableImage);
    keys.readString("-Event.Mouse.Over.In.Script:", d.OverInScript);
    keys.readString("-Event.Mouse.Over.Out.Script:", d.OverOutScript);
    keys.readPath("-Event.Mouse.Over.Image:", d.OverImage);
    keys.readString("-Event.Mouse.Over.Sound:", d.OverSound);
    keys.readInt("-Event.Mouse.Click.Block:", d.ClickBlock);
}

void readClosingKeys(SpriteDescription& d, const KeyReader& keys) {
    std::string value;
    keys.readInt("-MakeParentInvisible:", d.MakeParentInvisible);
    keys.readInt("-MakeClones:", d.MakeClones);
    if (keys.value("-Selfdestruction:", value)) {
        if (!readTaggedInt(value, 't', d.SelfDestructTime)) {
            d.SelfDestructTime = readDescriptionInt(value);
        }
        readTaggedInt(value, 'f', d.SelfDestructFade);
    }
}

} // namespace

void SpriteDescription::parseCustomKeys(const std::string&, const std::vector<std::string>*,
                                        const SpriteCreationParams*) {}

void SpriteDescription::applyCustomKeys(CNodeBasement*, const SpriteCreationParams*) {}

void SpriteDescription::reset(const std::string& name) {
    static_cast<SpriteDescriptionFields&>(*this) = SpriteDescriptionFields();
    TexturePath = name;
    makeDataRelative(TexturePath);
    Initialized = 1;
}

void SpriteDescription::parseDescription(const std::string& text,
                                         const std::vector<std::string>* macroParams,
                                         const SpriteCreationParams* creationParams) {
    if (Initialized == 0) {
        reportError("Parser is not initialized!", false);
        return;
    }
    std::string own = text;
    expandSpriteMacros(own, macroParams, creationParams);

    std::string sections = own;
    if (cutAnchors(sections)) {
        readAnchors(own);
    }
    splitSubSprites(sections, SubSprites);

    std::string descriptionName = TexturePath;
    expandSpriteMacros(descriptionName, macroParams, creationParams);
    KeyReader keys(sections, descriptionName, creationParams);
    TexturePath = keys.resolve(getKeyLine(sections, "-Texture:"));

    readPlacementKeys(*this, keys);
    readTextKeys(*this, keys);
    if (contains(sections, "-Animation.")) {
        HasAnimation = 1;
        readAnimationKeys(*this, keys);
    }
    if (contains(sections, "-Event.")) {
        readEventKeys(*this, keys);
        if (contains(sections, "-Event.Mouse.")) {
            readMouseKeys(*this, keys);
        }
    }
    readClosingKeys(*this, keys);
    parseCustomKeys(sections, macroParams, creationParams);
}
