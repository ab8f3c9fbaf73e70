#pragma once

#include "core/game_client.h"

#include <string>

// A game that does nothing of its own; tests derive from it and override what they watch.
class TestGame : public IGameClient {
public:
    void onStart() override {}
    void onExit() override {}
    std::wstring getWindowCaption() override { return L"test"; }
    void getCursor(bool, CursorRequest&) override {}
    // The font every face gets; none unless a test sets one (the test owns it).
    CGUIFont3D* getFont(const std::string&) override { return font; }

    CGUIFont3D* font = nullptr;
};
