#pragma once

#include "core/game_client.h"
#include "core/server_game.h"

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

// Runs the game as the process entry does: the engine keeps its own reference until the process
// ends, and the caller's reference (from `new`) is given up once the run is over.
inline int runTestGame(IGameClient* game) {
    const int result = run(game);
    game->drop();
    return result;
}
