#pragma once

#include <irrlicht/irrlicht.h>

#include <functional>

class IGameClient;

// Brings the engine up around the game client, runs the frame loop and tears everything down.
// Returns 1 when the run is over.
int run(IGameClient* client);

// Creates the rendering device with the configured mode, falling back to 16-bit colour and then
// to the software renderer at 640 by 480; when nothing works, writes the likely cause and the
// debug log's place to standard error, shows the failure box and ends the process with exit
// code 1. Then fetches the device's services into the engine.
void createDevice();
// Runs frames until the window closes, the pause level reaches 99 or an exit is requested, then
// tears the scene down.
void mainLoop();
// Drops the device and clears the engine's device pointers; nothing without a device.
void dropDevice();

// How devices are made; tests replace it to simulate drivers that fail.
using DeviceCreator =
    std::function<irr::IrrlichtDevice*(const irr::SIrrlichtCreationParameters& parameters)>;
void setDeviceCreator(DeviceCreator creator);
