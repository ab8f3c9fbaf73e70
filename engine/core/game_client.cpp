#include "game_client.h"

#include "dialogs/module_dialogfactory.h"
#include "scene/sprite_description.h"

SpriteDescription* IGameClient::createSpriteDescription() {
    return new SpriteDescription();
}

CDialogFactory* IGameClient::createDialogFactory() {
    return new CDialogFactory();
}

float IGameClient::getFontSizeFactor(const std::string& sizeText) {
    if (sizeText.empty()) {
        return 1.0f;
    }
    if (sizeText[0] == '-') {
        switch (sizeText.size() > 1 ? sizeText[1] : '\0') {
        case '1':
            return 0.8f;
        case '2':
            return 0.5f;
        case '3':
            return 0.2f;
        case '4':
            return 0.1f;
        default:
            return 1.0f;
        }
    }
    size_t at = sizeText[0] == '+' ? 1 : 0;
    switch (at < sizeText.size() ? sizeText[at] : '\0') {
    case '0':
        return 1.0f;
    case '1':
        return 1.2f;
    case '2':
        return 1.5f;
    case '3':
        return 2.0f;
    case '4':
        return 2.5f;
    default:
        return 1.0f;
    }
}
