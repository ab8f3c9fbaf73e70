#include "text_editor_behaviour.h"

#include "core/vellumengine.h"
#include "scene/node_base.h"
#include "scene/node_text.h"
#include "utils/utils_str.h"
#include "utils/windows_1252.h"

namespace {

struct KeyboardHook {
    CriticalSectionLock lock;
    CTextEditorBehaviour* editor = nullptr;
};

KeyboardHook& keyboardHook() {
    static auto* hook = new KeyboardHook();
    return *hook;
}

// The colour a selected text is shown in.
const char* const kSelectionMarkup = "<color=#FFD27F>\n";

bool isPrintable(unsigned char byte) {
    if (byte < 0x20 || byte == 0x7F) {
        return false;
    }
    // The bytes Windows-1252 leaves undefined.
    return byte != 0x81 && byte != 0x8D && byte != 0x8F && byte != 0x90 && byte != 0x9D;
}

// The byte of a typed character, or "" when the code page has none for it.
std::string typedByte(wchar_t character) {
    std::string byte = wideToWindows1252(std::wstring(1, character));
    return windows1252ToWide(byte) == std::wstring(1, character) ? byte : std::string();
}

} // namespace

std::string editableText(const std::string& text) {
    std::string result;
    for (char c : text) {
        if (isPrintable(static_cast<unsigned char>(c))) {
            result += c;
        }
    }
    return result;
}

CTextEditorBehaviour::CTextEditorBehaviour(int maxLength, const std::string& propertyName)
    : MaxLength(maxLength), PropertyName(propertyName) {
    setInterval(kInterval);
    KeyboardHook& hook = keyboardHook();
    ScopedLock guard(hook.lock);
    hook.editor = this;
}

CTextEditorBehaviour::~CTextEditorBehaviour() {
    if (!isFinished()) {
        CTextEditorBehaviour::finish();
    }
}

void CTextEditorBehaviour::finish() {
    letKeyboardGo();
    if (!isFinished()) {
        textChanged();
    }
    CBaseAnimator::finish();
}

void CTextEditorBehaviour::letKeyboardGo() {
    KeyboardHook& hook = keyboardHook();
    ScopedLock guard(hook.lock);
    if (hook.editor == this) {
        hook.editor = nullptr;
    }
}

void CTextEditorBehaviour::onTick(irr::scene::ISceneNode*, irr::u32) {
    CNodeBasement* node = asEngineNode(Node);
    CTextNode* textNode = node != nullptr ? textNodeOf(node) : nullptr;
    if (textNode == nullptr) {
        return;
    }
    ScopedLock guard(Lock);
    if (!PropertyName.empty()) {
        std::string stored = node->getStringProperty(PropertyName, std::string());
        if (stored != Text) {
            Text = left(editableText(stored), MaxLength);
            Selected = !Text.empty();
        }
    }
    // A line that starts with "<" would be read as markup; a blank in front keeps it text.
    std::string shown = ShownPrefix + (Selected ? kSelectionMarkup : "") +
                        (startsWith(Text, "<") ? " " : "") + Text + "|";
    if (textNode->getText() != shown) {
        textNode->setText(shown);
    }
}

void CTextEditorBehaviour::onKey(const irr::SEvent::SKeyInput& key) {
    if (!key.PressedDown) {
        return;
    }
    ScopedLock guard(Lock);
    if (key.Control) {
        if (key.Key == irr::KEY_KEY_V) {
            irr::IrrlichtDevice* device = getEngine().getDevice();
            irr::IOSOperator* os = device != nullptr ? device->getOSOperator() : nullptr;
            const char* clipboard = os != nullptr ? os->getTextFromClipboard() : nullptr;
            replaceSelection();
            append(clipboard != nullptr ? clipboard : "");
        }
        return;
    }
    if (key.Key == irr::KEY_BACK || key.Key == irr::KEY_DELETE) {
        if (Selected) {
            replaceSelection();
        } else if (!Text.empty()) {
            Text.pop_back();
        }
        textChanged();
    } else if (key.Key == irr::KEY_END || key.Key == irr::KEY_HOME || key.Key == irr::KEY_LEFT ||
               key.Key == irr::KEY_RIGHT) {
        // Moving the cursor keeps the text and ends the selection, so typing goes on after it.
        Selected = false;
    } else if (key.Key != irr::KEY_RETURN && key.Char != 0) {
        const std::string typed = editableText(typedByte(key.Char));
        if (!typed.empty()) {
            replaceSelection();
            append(typed);
        }
    }
}

void CTextEditorBehaviour::replaceSelection() {
    if (Selected) {
        Text.clear();
        Selected = false;
    }
}

void CTextEditorBehaviour::append(const std::string& bytes) {
    Text += editableText(bytes);
    Text = left(Text, MaxLength);
    if (Capitalize) {
        Text = titleCase(Text, false);
    }
    textChanged();
}

void CTextEditorBehaviour::textChanged() {
    CNodeBasement* node = asEngineNode(Node);
    if (node != nullptr && !PropertyName.empty()) {
        node->setStringProperty(PropertyName, Text);
    }
}

bool passKeyToTextEditor(const irr::SEvent::SKeyInput& key) {
    KeyboardHook& hook = keyboardHook();
    ScopedLock guard(hook.lock);
    if (hook.editor == nullptr) {
        return false;
    }
    hook.editor->onKey(key);
    return true;
}
