#pragma once

// The developer keys, pressed with Control held in debug mode: B switches the node boxes (the
// debug weight 2), I the debug overlay, and R clears the caches and reloads the scripts. True
// when the key was one of them.
bool handleDeveloperKey(int key);
