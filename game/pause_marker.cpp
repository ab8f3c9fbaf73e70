#include "pause_marker.h"

#include "level.h"

namespace {

int openPauseMarkers = 0;

} // namespace

CPauseMarker::CPauseMarker() {
    ++openPauseMarkers;
    CGameDialogFactory* level = currentLevel();
    if (level && level->state == kLevelInPlay) {
        level->state = kLevelPaused;
    }
}

CPauseMarker::~CPauseMarker() {
    --openPauseMarkers;
    CGameDialogFactory* level = currentLevel();
    if (openPauseMarkers == 0 && level && level->state == kLevelPaused) {
        level->state = kLevelInPlay;
    }
}

int CPauseMarker::openCount() {
    return openPauseMarkers;
}
