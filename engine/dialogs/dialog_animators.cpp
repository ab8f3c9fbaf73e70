#include "dialog_animators.h"

#include "core/vellumengine.h"
#include "dialogs/dialog_stacks.h"
#include "dialogs/module_dialogfactory.h"

CDialogRegistration::CDialogRegistration(CDialogFactory* dialog, const std::string& escAction,
                                         const std::string& keyAction)
    : Dialog(dialog), EscAction(escAction), KeyAction(keyAction) {
    Dialog->grab();
    getEngine().openDialogs().registerDialog(1, Dialog);
    pushDialogActions(EscAction, KeyAction, Dialog->FilePath);
}

CDialogRegistration::~CDialogRegistration() {
    getEngine().openDialogs().registerDialog(-1, Dialog);
    Dialog->drop();
    removeDialogActions(EscAction, KeyAction);
}

CDialogMusic::CDialogMusic(const std::string& music) : Music(music) {
    pushDialogMusic(Music);
    getEngine().getSound().setMusic(Music);
}

CDialogMusic::~CDialogMusic() {
    // The sound server's lock is never taken under another lock: the stack is left first.
    std::string playing = removeDialogMusic(Music);
    getEngine().getSound().setMusic(playing);
}
