#pragma once

#include "squirrel/squirrel.h"

// Core script functions over the sound server.

// (file): fades the named music (below "sounds\music\") in as the background music, looped;
// nothing changes when it already plays.
squirrel::Object core_SetBackgroundMusic(squirrel::CallContext& call);
// (name): plays the sound effect (below "sounds\", ".wav" when the name has no extension) once
// at the effect volume.
squirrel::Object core_PlayEffect(squirrel::CallContext& call);
