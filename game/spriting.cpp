#include "spriting.h"

#include "animators/abaseanimators.h"
#include "eyecandyanimators.h"
#include "hole_maker.h"
#include "object_info.h"
#include "physics_animator.h"
#include "scene/description_values.h"
#include "scene/node_base.h"

namespace {

// Reads the object-info value. The type runs from the first "t" to the end, so the numbers are
// read only from the text before it: a tag letter inside the type name is not a number.
void readObjectInfo(const std::string& value, CGameSpriteDescription& d) {
    readTailString(value, 't', d.ObjectType);
    const std::string numbers = value.substr(0, value.find('t'));
    readTaggedInt(numbers, 'h', d.ObjectHealth);
    readTaggedInt(numbers, 'a', d.ObjectAttack);
    readTaggedInt(numbers, 'b', d.ObjectHealthBar);
}

} // namespace

void CGameSpriteDescription::parseCustomKeys(const std::string& text,
                                             const std::vector<std::string>*,
                                             const SpriteCreationParams*) {
    static_cast<GameSpriteDescriptionFields&>(*this) = GameSpriteDescriptionFields();
    std::string value;
    if (getKeyValue(text, "-Animation.GeometryWarp:", value)) {
        readTaggedInt(value, 't', WarpTime);
        readTaggedFloat(value, 'a', WarpAmplitude);
    }
    if (getKeyValue(text, "-Animation.Physics2D:", value)) {
        PhysicsParameters = value;
    }
    if (getKeyValue(text, "-Animation.Align2Path:", value)) {
        AlignToPath = readDescriptionInt(value);
    }
    if (text.find("-GameLogic-") == std::string::npos) {
        return;
    }
    if (getKeyValue(text, "-GameLogic-FollowCursor:", value)) {
        FollowCursor = 1;
        readTaggedFloat(value, 's', FollowSpeed);
    }
    if (getKeyValue(text, "-GameLogic-ObjectInfo:", value)) {
        readObjectInfo(value, *this);
    }
}

void CGameSpriteDescription::applyCustomKeys(CNodeBasement* node, const SpriteCreationParams*) {
    if (WarpTime > 0) {
        attachAnimator(node, new CGeometryWarpAnimator(WarpTime, WarpAmplitude));
    }
    if (FollowCursor != 0) {
        attachAnimator(node, new CHoleMaker(FollowSpeed));
    }
    if (AlignToPath != 0) {
        attachAnimator(node, new CAlignToPathAnimator());
    }
    // The object info comes before the body: the body's contacts are only events for game
    // objects.
    if (ObjectHealth != 0) {
        attachAnimator(
            node, new CObjectInfoAnimator(ObjectHealth, ObjectAttack, ObjectType, ObjectHealthBar));
    }
    if (!PhysicsParameters.empty()) {
        attachAnimator(node, new CPhysicsAnimator(PhysicsParameters));
    }
}
