#include "fire_spots.h"

std::vector<FireSpot> activateFireSpotsNear(std::vector<FireSpot>& spots,
                                            const irr::core::vector2df& position) {
    std::vector<FireSpot> reached;
    for (FireSpot& spot : spots) {
        if (spot.activated == 0 && (spot.start - position).getLength() < kFireSpotReach) {
            spot.activated = 1;
            reached.push_back(spot);
        }
    }
    return reached;
}
