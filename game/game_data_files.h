#pragma once

// The data files the game opens by fixed names, whatever a game's own files say. The check mode
// asks for each of them (game_check.cpp), so that a pack lacking one is told before it runs.
namespace gamefiles {

constexpr const char* kMainFont = "gui\\font-main.xml";
// Fewer characters in either font stop the game at start ("Fonts are not initialized well!").
constexpr int kMinimumFontCharacters = 20;
constexpr const char* kAlternativeFont = "gui\\font-alt.xml";
constexpr const char* kUsualCursor = "gui\\cursor_usual.png";
constexpr const char* kPointCursor = "gui\\cursor_point.png";
// The holes the hole-maker aimer drops (right click black, left click white).
constexpr const char* kBlackHole = "actors\\black_hole.spr";
constexpr const char* kWhiteHole = "actors\\white_hole.spr";
constexpr const char* kHealthBar = "effects\\health_bar.spr";
// The loading bar of game_CreatePreloaderSlider.
constexpr const char* kLoadingBackground = "gui\\loading_bg.spr";
constexpr const char* kLoadingBar = "gui\\loading.spr";
// The volume bars of game_SwitchVolume and game_SwitchEffect.
constexpr const char* kVolumeBackground = "gui\\volslider_bg.spr";
constexpr const char* kVolumeBar = "gui\\volslider.spr";
// The curtains of game_createFader_BlackCurtain and game_createFader_WhiteCurtain.
constexpr const char* kBlackCurtain = "gui\\black.png";
constexpr const char* kWhiteCurtain = "gui\\curtain.spr";

} // namespace gamefiles
