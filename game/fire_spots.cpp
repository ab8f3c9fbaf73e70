#include "fire_spots.h"

#include "core/vellumengine.h"
#include "level.h"
#include "script/module_scripting.h"

namespace {

float distanceToWay(const irr::core::vector2df& point, const irr::core::vector2df& from,
                    const irr::core::vector2df& to) {
    const irr::core::vector2df way = to - from;
    const float lengthSquared = way.getLengthSQ();
    float along = 0;
    if (lengthSquared > 0) {
        along = irr::core::clamp((point - from).dotProduct(way) / lengthSquared, 0.0f, 1.0f);
    }
    return (from + way * along - point).getLength();
}

} // namespace

std::vector<FireSpot> activateFireSpotsNear(std::vector<FireSpot>& spots,
                                            const irr::core::vector2df& from,
                                            const irr::core::vector2df& to) {
    std::vector<FireSpot> reached;
    for (FireSpot& spot : spots) {
        if (spot.activated == 0 && distanceToWay(spot.start, from, to) < kFireSpotReach) {
            spot.activated = 1;
            reached.push_back(spot);
        }
    }
    return reached;
}

void raiseFireSpotEvents(CGameDialogFactory& level, const irr::core::vector2df& from,
                         const irr::core::vector2df& to) {
    for (const FireSpot& spot : activateFireSpotsNear(level.fireSpots, from, to)) {
        CScriptHost& scripting = getEngine().getScripting();
        squirrel::VM& vm = scripting.vm();
        squirrel::Object table = vm.newTable();
        table.set("_x", squirrel::Object(spot.start.X));
        table.set("_y", squirrel::Object(spot.start.Y));
        table.set("_xTo", squirrel::Object(spot.end.X));
        table.set("_yTo", squirrel::Object(spot.end.Y));
        table.set("_name", vm.string(spot.name));
        scripting.callScriptFunction("activateFirespot", table);
        if (level.showTutorialOnFirstFire != 0) {
            level.showTutorialOnFirstFire = 0;
            scripting.callScriptFunction("showFireTutorial", table);
        }
    }
}
