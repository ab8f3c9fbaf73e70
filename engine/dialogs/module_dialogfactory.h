#pragma once

#include "core/open_dialogs.h"

#include <irrlicht/irrlicht.h>

#include <string>
#include <vector>

class CNodeBasement;

// One open dialog: what its description file said, kept while the dialog is open. The game
// interface makes these (createDialogFactory), so a game can read keys of its own from the
// header. Reference counted: the dialog's root node owns one reference, its registration in
// the engine's open list another.
class CDialogFactory : public IOpenDialog {
public:
    ~CDialogFactory() override = default;

    // Called once the dialog's root, registration, modality, fade and music are in place and
    // before its visible nodes are made; `header` is the description text before its sprite part.
    virtual void onDialogCreated(CNodeBasement* root, const std::string& header,
                                 const std::vector<std::string>& macroParams);

    const std::string& getDialogName() const override { return Name; }

    // "raw:\" and the sprite text, or "" when the dialog has no visible part.
    std::string SpritePart;
    std::string CloseOthers;
    // The resolved description file.
    std::string FilePath;
    std::string Name;
    std::string StructureFile;
    std::string EscAction;
    std::string KeyAction;
    std::string BackgroundImage;
    std::string BackgroundMusic;
    std::string OpenSound;
    int Modal = 0;
    std::string CreatedAction;
    std::string WhileVisibleAction;
    std::string DestroyedAction;
    int DialogId = 0;
    int FadeIn = 0;
};

// Reads a dialog's description file (a data name or full path, optionally followed by "?" and
// "&"-separated macro parameters) as opening it does: fills the dialog's FilePath, SpritePart
// (with any structure file appended) and StructureFile and the parameters, and returns the
// macro-expanded header, the text before the sprite part.
std::string readDialogDescription(CDialogFactory& dialog, const std::string& file,
                                  std::vector<std::string>& macroParams);

// Opens the dialog of a description file (a data name or full path, optionally followed by "?"
// and "&"-separated macro parameters) at the position below the parent (the engine's root node
// when null). An open dialog of the same name is closed first. Returns the dialog's root node,
// named after the dialog; closing the dialog is deleting that node.
CNodeBasement* openDialog(const std::string& file,
                          const irr::core::vector3df& position = irr::core::vector3df(0, 0, 0),
                          irr::scene::ISceneNode* parent = nullptr);
