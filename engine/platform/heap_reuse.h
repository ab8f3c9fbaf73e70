#pragma once

// Makes the C library keep memory freed during a frame for the next frame instead of handing it
// back to the system and faulting it in again. The OpenGL driver (Mesa's software rasteriser in
// particular) allocates and frees megabytes of scene data every frame; with the library's
// starting thresholds each frame grows the heap, trims it again and pays for fresh zeroed pages,
// which can triple a frame's time until some large free happens to raise the thresholds. Call it
// before the first device opens; calling it again changes nothing. Does nothing where the C
// library has no such settings.
void keepFreedHeapForReuse();
