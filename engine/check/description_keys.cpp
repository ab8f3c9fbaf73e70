#include "description_keys.h"

#include "scene/sprite_description.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr unsigned kSprite = kSpriteKey;
constexpr unsigned kHeader = kDialogHeaderKey;

// The engine's keys: the sprite description, its anchor and sub-sprite sections and the dialog
// header.
const DescriptionKey kEngineKeys[] = {
    {"-Texture:", kSprite, KeyForm::Path},
    {"-Name:", kSprite | kAnchorKey, KeyForm::Text},
    {"-LocalID:", kSprite, KeyForm::Int},
    {"-Atlas:", kSprite, KeyForm::Tagged, "xywhz"},
    {"-MaterialType:", kSprite, KeyForm::Int},
    {"-TextureFiltering:", kSprite, KeyForm::Int},
    {"-RenderOrder:", kSprite, KeyForm::Int},
    {"-MapY2Z:", kSprite, KeyForm::Int},
    {"-Position:", kSprite | kAnchorKey, KeyForm::Tagged, "xyzs", '@'},
    {"-Position.Anchor:", kSprite, KeyForm::Text},
    {"-Size:", kSprite | kAnchorKey, KeyForm::Tagged, "wh", 0, true},
    {"-Rotation:", kSprite, KeyForm::Number},
    {"-Alpha:", kSprite, KeyForm::Number, "t"},
    {"-Invisible:", kSprite, KeyForm::Int},
    {"-Visible:", kSprite, KeyForm::Int},
    {"-Tint:", kSprite, KeyForm::Colour},
    {"-Parent:", kSprite | kAnchorKey, KeyForm::Text},
    {"-Text:", kSprite, KeyForm::StringKey},
    {"-Label:", kSprite, KeyForm::StringKey},
    {"-Label.Formatting:", kSprite, KeyForm::Raw},
    {"-DefineAnchor:", kSprite, KeyForm::Text},
    {"-AsParticle:", kSprite, KeyForm::Text},
    {"-AsChild:", kSubSpriteKey, KeyForm::Int},
    {"-Animation.SimpleTextEditor:", kSprite, KeyForm::Tagged, "s", '@'},
    {"-Animation.Texture:", kSprite, KeyForm::Tagged, "t", 'm'},
    {"-Animation.Move:", kSprite, KeyForm::Tagged, "dxyzt"},
    {"-Animation.TextureScroller:", kSprite, KeyForm::Tagged, "xy"},
    {"-Animation.AlphaPulsar:", kSprite, KeyForm::Tagged, "talp"},
    {"-Animation.ByScriptMethod:", kSprite, KeyForm::Text},
    {"-Animation.Scripted:", kSprite, KeyForm::Text},
    {"-Animation.RandomSprGenerator:", kSprite, KeyForm::Tagged, "trcoa", '@'},
    {"-Animation.Rotation:", kSprite, KeyForm::Tagged, "st"},
    {"-Animation.Size:", kSprite, KeyForm::Tagged, "st"},
    {"-Animation.OnCreate:", kSprite, KeyForm::Raw},
    {"-Animation.OnDestroy:", kSprite, KeyForm::Raw},
    {"-Animation.BaseTimer:", kSprite, KeyForm::Int},
    {"-Event.WhileVisible.Sound:", kSprite, KeyForm::Sound},
    {"-Event.Created.Sound:", kSprite, KeyForm::Sound},
    {"-Event.Destroyed.Sound:", kSprite, KeyForm::Sound},
    {"-Event.WhileVisible.Action:", kSprite | kHeader, KeyForm::Action},
    {"-Event.Created.Action:", kSprite | kHeader, KeyForm::Action},
    {"-Event.Destroyed.Action:", kSprite | kHeader, KeyForm::Action},
    {"-Event.Mouse.Click.Image:", kSprite, KeyForm::Path},
    {"-Event.Mouse.Click.Action:", kSprite, KeyForm::Action},
    {"-Event.Mouse.Drag.Action:", kSprite, KeyForm::Action},
    {"-Event.Mouse.RClick.Action:", kSprite, KeyForm::Action},
    {"-Event.Mouse.Click.Speed:", kSprite, KeyForm::Int},
    {"-Event.Mouse.Click.PixelPerfect:", kSprite, KeyForm::Int},
    {"-Event.Mouse.Click.KeyShortcut:", kSprite, KeyForm::Int},
    {"-Event.Mouse.Click.Sound:", kSprite, KeyForm::Sound},
    {"-Event.Mouse.Click.AutodisableIf.Action:", kSprite, KeyForm::Action},
    {"-Event.Mouse.Click.AutodisableIf.Image:", kSprite, KeyForm::Path},
    {"-Event.Mouse.Over.In.Script:", kSprite, KeyForm::Action},
    {"-Event.Mouse.Over.Out.Script:", kSprite, KeyForm::Action},
    {"-Event.Mouse.Over.Image:", kSprite, KeyForm::Path},
    {"-Event.Mouse.Over.Sound:", kSprite, KeyForm::Sound},
    {"-Event.Mouse.Click.Block:", kSprite, KeyForm::Int},
    {"-MakeParentInvisible:", kSprite, KeyForm::Int},
    {"-MakeClones:", kSprite, KeyForm::Int, "", 0, false, false, kMaxSpriteClones},
    {"-Selfdestruction:", kSprite, KeyForm::Tagged, "tf", 0, true},
    {"-DialogName:", kHeader, KeyForm::Text},
    {"-DialogSpriteStructure:", kHeader, KeyForm::Path},
    {"-CloseOtherDialogs:", kHeader, KeyForm::DialogNames},
    {"-Event.Keyboard.Esc.Pressed:", kHeader, KeyForm::Action},
    {"-Event.OnKey.Action:", kHeader, KeyForm::Action},
    {"-Position:", kHeader, KeyForm::Tagged, "xyz"},
    {"-BackgroundImage:", kHeader, KeyForm::Path},
    {"-BackgroundMusic:", kHeader, KeyForm::Music},
    {"-OpenSound:", kHeader, KeyForm::Sound},
    {"-ModalDialog:", kHeader, KeyForm::Int},
    {"-FadeInEffect:", kHeader, KeyForm::Int},
};

std::vector<DescriptionKey>& knownKeys() {
    static auto* keys =
        new std::vector<DescriptionKey>(std::begin(kEngineKeys), std::end(kEngineKeys));
    return *keys;
}

// Whether the key text is the pattern, a "#" in the pattern standing for one or more digits.
bool matchesPattern(const std::string& text, const char* pattern) {
    size_t at = 0;
    for (const char* p = pattern; *p != '\0'; ++p) {
        if (*p == '#') {
            size_t digits = at;
            while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits]))) {
                ++digits;
            }
            if (digits == at) {
                return false;
            }
            at = digits;
        } else if (at >= text.size() || text[at++] != *p) {
            return false;
        }
    }
    return at == text.size();
}

size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            size_t above = row[j];
            bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) ==
                        std::tolower(static_cast<unsigned char>(b[j - 1]));
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

} // namespace

void addDescriptionKeys(const std::vector<DescriptionKey>& keys) {
    std::vector<DescriptionKey>& known = knownKeys();
    for (const DescriptionKey& key : keys) {
        bool present = std::any_of(known.begin(), known.end(), [&](const DescriptionKey& k) {
            return std::string(k.name) == key.name && k.places == key.places;
        });
        if (!present) {
            known.push_back(key);
        }
    }
}

const DescriptionKey* findDescriptionKey(const std::string& keyText, unsigned places) {
    for (const DescriptionKey& key : knownKeys()) {
        if ((key.places & places) != 0 && matchesPattern(keyText, key.name)) {
            return &key;
        }
    }
    return nullptr;
}

std::string closestDescriptionKey(const std::string& keyText, unsigned places) {
    std::string best;
    size_t bestDistance = 4;
    for (const DescriptionKey& key : knownKeys()) {
        if ((key.places & places) == 0 || std::string(key.name).find('#') != std::string::npos) {
            continue;
        }
        size_t distance = editDistance(keyText, key.name);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = key.name;
        }
    }
    return best;
}
