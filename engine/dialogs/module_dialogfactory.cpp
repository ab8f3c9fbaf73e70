#include "module_dialogfactory.h"

#include "animators/afadeanimators.h"
#include "core/game_client.h"
#include "core/vellumengine.h"
#include "dialogs/dialog_animators.h"
#include "input/modal_dialog_marker.h"
#include "scene/description_values.h"
#include "scene/node_base.h"
#include "scene/node_factory.h"
#include "scene/node_utilities.h"
#include "scene/sprite_macros.h"
#include "script/script_action_animator.h"
#include "utils/debug.h"
#include "utils/description_path.h"
#include "utils/utils_fs.h"
#include "utils/utils_str.h"

namespace {

const char* const kSpriteMarker = "\n[Sprite]";
const char* const kRawPrefix = "raw:\\";
// A dialog of this name (the game's level texts) is never registered as open and takes no part
// in the Escape and key stacks.
const char* const kUnregisteredDialog = "level_text";
const int kFadeInMs = 300;

// The value of a header key, or "" when the key is absent.
std::string headerValue(const std::string& header, const char* key) {
    std::string value;
    return getKeyValue(header, key, value) ? value : std::string();
}

// The "-Position:" offset: each of x, y and z that the value names, 0 for the others.
irr::core::vector3df headerOffset(const std::string& header) {
    irr::core::vector3df offset(0, 0, 0);
    std::string placed = headerValue(header, "-Position:");
    readTaggedFloat(placed, 'x', offset.X);
    readTaggedFloat(placed, 'y', offset.Y);
    readTaggedFloat(placed, 'z', offset.Z);
    return offset;
}

// Registration, background, music, open sound, modality and fade-in, as the header asks.
void attachDialogBehaviour(CDialogFactory& dialog, CNodeBasement* root, const std::string& header) {
    CVellumEngine& engine = getEngine();
    if (dialog.Name != kUnregisteredDialog) {
        attachAnimatorDormant(root,
                              new CDialogRegistration(&dialog, dialog.EscAction, dialog.KeyAction));
    }

    std::string background = trim(headerValue(header, "-BackgroundImage:"));
    if (!background.empty()) {
        dialog.BackgroundImage = resolveDescriptionPath(background, dialog.FilePath);
        engine.setBackground(dialog.BackgroundImage, false);
    }

    dialog.BackgroundMusic = trim(headerValue(header, "-BackgroundMusic:"));
    if (!dialog.BackgroundMusic.empty()) {
        attachAnimatorDormant(root, new CDialogMusic(dialog.BackgroundMusic));
    }

    dialog.OpenSound = trim(headerValue(header, "-OpenSound:"));
    if (!dialog.OpenSound.empty()) {
        engine.getSound().playEffect(dialog.OpenSound, -1.0f);
    }

    dialog.Modal = readDescriptionInt(headerValue(header, "-ModalDialog:"));
    if (dialog.Modal != 0) {
        attachAnimatorDormant(root, new CModalDialogMarker());
    }

    dialog.FadeIn = readDescriptionInt(headerValue(header, "-FadeInEffect:"));
    if (dialog.FadeIn != 0 && root->findAnimator(CFadeAnimator::kName, false) == nullptr) {
        attachAnimator(root, new CFadeValueAnimator(kFadeInMs, 0.0f, 1.0f));
    }
}

} // namespace

std::string readDialogDescription(CDialogFactory& dialog, const std::string& file,
                                  std::vector<std::string>& macroParams) {
    std::string source = file;
    size_t question = source.find('?');
    if (question != std::string::npos) {
        macroParams = splitList(source.substr(question + 1), '&', false);
        source = source.substr(0, question);
    }
    dialog.FilePath = resolveDataPath(source);

    std::string header = readDescriptionFile(dialog.FilePath);
    expandSpriteMacros(header, &macroParams, nullptr);
    size_t marker = header.find(kSpriteMarker);
    if (marker != std::string::npos) {
        dialog.SpritePart = kRawPrefix + header.substr(marker + std::string(kSpriteMarker).size());
        // The header keeps the line feed that ends its last line: a key on a last line without
        // one would read as empty.
        header.resize(marker + 1);
    }

    std::string structure = trim(headerValue(header, "-DialogSpriteStructure:"));
    if (!structure.empty()) {
        dialog.StructureFile = resolveDescriptionPath(structure, dialog.FilePath);
        std::string structurePath = resolveDataPath(dialog.StructureFile);
        std::string structureText;
        if (!readFileRaw(structurePath, structureText)) {
            showErrorBox(format("Attemp to read nonexisted TEXT file\n%s", structurePath.c_str()),
                         false);
        }
        // Without a sprite part of its own the structure is the dialog's whole visible part,
        // which still has to be marked as a description text.
        if (dialog.SpritePart.empty()) {
            dialog.SpritePart = kRawPrefix;
        }
        dialog.SpritePart += "\n" + std::string(kSpriteMarker) + structureText;
    }
    return header;
}

void CDialogFactory::onDialogCreated(CNodeBasement*, const std::string&,
                                     const std::vector<std::string>&) {}

CNodeBasement* openDialog(const std::string& file, const irr::core::vector3df& position,
                          irr::scene::ISceneNode* parent) {
    CVellumEngine& engine = getEngine();
    ScopedLock guard(engine.getSceneLock());
    CDialogFactory* dialog = engine.getClient()->createDialogFactory();
    std::vector<std::string> macroParams;
    const std::string header = readDialogDescription(*dialog, file, macroParams);
    if (parent == nullptr) {
        parent = engine.rootNode();
    }

    dialog->CloseOthers = headerValue(header, "-CloseOtherDialogs:");
    if (!dialog->CloseOthers.empty()) {
        engine.closeDialogs(dialog->CloseOthers);
    }
    dialog->Name = trim(headerValue(header, "-DialogName:"));
    if (dialog->Name.empty()) {
        dialog->Name = "dialogBase";
    }
    engine.closeDialog(dialog->Name, 0);
    dialog->EscAction = headerValue(header, "-Event.Keyboard.Esc.Pressed:");
    dialog->KeyAction = headerValue(header, "-Event.OnKey.Action:");

    dialog->DialogId = nameToId(dialog->Name);
    CNodeBasement* root =
        createEmptyNode(parent, dialog->DialogId, position + headerOffset(header));
    if (root == nullptr) {
        dialog->drop();
        return nullptr;
    }
    // The root takes over the creation reference.
    root->setOwner(dialog);
    root->setName(("DLG:" + dialog->Name + " " + root->getName()).c_str());
    attachDialogBehaviour(*dialog, root, header);

    dialog->CreatedAction = headerValue(header, "-Event.Created.Action:");
    dialog->WhileVisibleAction = headerValue(header, "-Event.WhileVisible.Action:");
    dialog->DestroyedAction = headerValue(header, "-Event.Destroyed.Action:");
    dialog->onDialogCreated(root, header, macroParams);

    if (!dialog->SpritePart.empty()) {
        SpriteCreationParams params;
        params.OriginFile = dialog->FilePath;
        CNodeBasement* visible =
            createSprite(dialog->SpritePart, 1, 1, irr::core::vector3df(0, 0, 0), root, &params,
                         format("%s:%i", __FILE__, __LINE__));
        if (visible != nullptr) {
            visible->setName(("DLGVis:" + dialog->Name + " " + root->getName()).c_str());
        }
    }

    if (!dialog->CreatedAction.empty() || !dialog->WhileVisibleAction.empty() ||
        !dialog->DestroyedAction.empty()) {
        // The created action runs now, while the dialog is being opened.
        attachAnimator(root,
                       new CScriptActionAnimator(dialog->CreatedAction, dialog->WhileVisibleAction,
                                                 dialog->DestroyedAction, true, dialog->FilePath));
    }
    return root;
}
