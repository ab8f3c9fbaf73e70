#pragma once

#include "animators/abaseanimators.h"

#include <string>

class CDialogFactory;

// Dormant on a dialog's root for as long as the dialog is open: registers the dialog in the
// engine's open list and its Escape and key actions on their stacks, and undoes both when the
// root goes away, so Escape and keys reach the dialog below again.
class CDialogRegistration : public CBaseAnimator {
public:
    CDialogRegistration(CDialogFactory* dialog, const std::string& escAction,
                        const std::string& keyAction);
    ~CDialogRegistration() override;

private:
    CDialogFactory* Dialog;
    std::string EscAction;
    std::string KeyAction;
};

// Dormant on a dialog's root: plays the dialog's background music (a name below
// "sounds\music\", as scripts name music) while the dialog is open; when it closes, the music of
// the dialog opened before it plays again, or none when no open dialog has music.
class CDialogMusic : public CBaseAnimator {
public:
    explicit CDialogMusic(const std::string& music);
    ~CDialogMusic() override;

private:
    std::string Music;
};
