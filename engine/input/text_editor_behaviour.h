#pragma once

#include "animators/abaseanimators.h"
#include "platform/locks.h"

#include <irrlicht/irrlicht.h>

#include <string>

// A one-line text editor on a text node (a label): while it holds the keyboard, typed characters
// are appended, Backspace and Delete remove the last one, and Control+V appends the clipboard's
// text. The text is cut to the maximum length, capitalized when asked, kept in a named property
// of the node, and shown in the node followed by a "|" cursor. A text put into the property by
// someone else (a script offering a name) is taken over selected: it is shown in the selection
// colour, and the first key replaces it (Backspace and Delete clear it). Only printable
// single-byte characters are taken (no line breaks), and the shown line never starts a markup
// tag, so typed text is always shown as text. One editor holds the keyboard at a time: the
// newest one.
class CTextEditorBehaviour : public CBaseAnimator {
public:
    static constexpr irr::u32 kInterval = 30;

    // Takes the keyboard.
    CTextEditorBehaviour(int maxLength, const std::string& propertyName);
    // Lets the keyboard go if it still holds it.
    ~CTextEditorBehaviour() override;

    void setCapitalize(bool capitalize) { Capitalize = capitalize; }
    // Lines shown above the edited line (a label's formatting markup), ending with a line break.
    void setShownPrefix(const std::string& prefix) { ShownPrefix = prefix; }

    // Shows the text; a property changed by someone else is taken over first.
    void onTick(irr::scene::ISceneNode* node, irr::u32 time) override;
    // Lets the keyboard go and leaves the text in the property.
    void finish() override;

    // A key event while the editor holds the keyboard; only presses change the text.
    void onKey(const irr::SEvent::SKeyInput& key);

private:
    // Appends what of the bytes can be typed, then cuts, capitalizes and stores the text.
    void append(const std::string& bytes);
    // Drops a selected text before a key changes it.
    void replaceSelection();
    void textChanged();
    void letKeyboardGo();

    CriticalSectionLock Lock;
    int MaxLength;
    std::string Text;
    std::string PropertyName;
    bool Capitalize = false;
    bool Selected = false;
    std::string ShownPrefix;
};

// Hands the key event to the editor that holds the keyboard; false when none does.
bool passKeyToTextEditor(const irr::SEvent::SKeyInput& key);
// The text as an editor takes it: printable single bytes only, everything else (line breaks,
// control characters, bytes the code page leaves undefined) left out.
std::string editableText(const std::string& text);
