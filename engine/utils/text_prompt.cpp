#include "text_prompt.h"

#include "utils/utils_str.h"
#include "utils/windows_1252.h"

#include <algorithm>

namespace {

constexpr int kWindowWidth = 360;
constexpr int kWindowHeight = 130;
constexpr int kMargin = 12;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 26;

class PromptReceiver : public ModalEventReceiver {
public:
    void setElements(irr::gui::IGUIElement* promptWindow, irr::gui::IGUIElement* okButton,
                     irr::gui::IGUIElement* cancelButton) {
        window = promptWindow;
        ok = okButton;
        cancel = cancelButton;
    }

    bool accepted = false;
    bool cancelled = false;

protected:
    bool handle(const irr::SEvent& event) override {
        if (event.EventType == irr::EET_KEY_INPUT_EVENT && event.KeyInput.PressedDown) {
            if (event.KeyInput.Key == irr::KEY_RETURN) {
                accepted = true;
                return true;
            }
            if (event.KeyInput.Key == irr::KEY_ESCAPE) {
                cancelled = true;
                return true;
            }
        }
        if (event.EventType != irr::EET_GUI_EVENT) {
            return false;
        }
        const irr::gui::IGUIElement* caller = event.GUIEvent.Caller;
        switch (event.GUIEvent.EventType) {
        case irr::gui::EGET_BUTTON_CLICKED:
            accepted = caller == ok;
            cancelled = caller == cancel;
            return accepted || cancelled;
        case irr::gui::EGET_ELEMENT_CLOSED:
            // The window's close button; the prompt removes the window itself.
            if (caller == window) {
                cancelled = true;
                return true;
            }
            return false;
        default:
            return false;
        }
    }

private:
    irr::gui::IGUIElement* window = nullptr;
    irr::gui::IGUIElement* ok = nullptr;
    irr::gui::IGUIElement* cancel = nullptr;
};

// Selects the whole text, as the edit box does for Ctrl+A.
void selectAll(irr::gui::IGUIEditBox* editBox) {
    irr::SEvent event{};
    event.EventType = irr::EET_KEY_INPUT_EVENT;
    event.KeyInput.Key = irr::KEY_KEY_A;
    event.KeyInput.Control = true;
    event.KeyInput.PressedDown = true;
    editBox->OnEvent(event);
}

} // namespace

std::string showTextPrompt(const ModalOwner& owner, const std::string& defaultText) {
    if (!canAskUser(owner)) {
        return trim(defaultText);
    }
    irr::gui::IGUIEnvironment* gui = owner.device->getGUIEnvironment();
    const irr::core::dimension2du screen = owner.device->getVideoDriver()->getScreenSize();
    const int width = std::min(kWindowWidth, static_cast<int>(screen.Width));
    const int height = std::min(kWindowHeight, static_cast<int>(screen.Height));
    const irr::core::position2di corner((static_cast<int>(screen.Width) - width) / 2,
                                        (static_cast<int>(screen.Height) - height) / 2);
    PromptReceiver receiver;
    ModalGuiLoop loop(owner, receiver);
    irr::gui::IGUIWindow* window = gui->addWindow(
        irr::core::recti(corner, irr::core::dimension2di(width, height)), false, L"Enter string");
    window->grab();
    gui->addStaticText(L"Enter string and press Ok",
                       irr::core::recti(kMargin, 30, width - kMargin, 48), false, false, window);
    irr::gui::IGUIEditBox* editBox =
        gui->addEditBox(windows1252ToWide(defaultText).c_str(),
                        irr::core::recti(kMargin, 52, width - kMargin, 76), true, window);
    const int buttonTop = height - kMargin - kButtonHeight;
    irr::gui::IGUIButton* ok =
        gui->addButton(irr::core::recti(width - 2 * (kButtonWidth + kMargin), buttonTop,
                                        width - kButtonWidth - 2 * kMargin, height - kMargin),
                       window, -1, L"OK");
    irr::gui::IGUIButton* cancel =
        gui->addButton(irr::core::recti(width - kButtonWidth - kMargin, buttonTop, width - kMargin,
                                        height - kMargin),
                       window, -1, L"Cancel");
    gui->setFocus(editBox);
    selectAll(editBox);

    receiver.setElements(window, ok, cancel);
    const bool answered = loop.run([&] { return receiver.accepted || receiver.cancelled; });
    std::string answer;
    if (answered && receiver.accepted) {
        answer = trim(wideToWindows1252(editBox->getText()));
    }
    window->remove();
    window->drop();
    return answer;
}
