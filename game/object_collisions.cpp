#include "object_collisions.h"

#include "core/vellumengine.h"
#include "level_outcome.h"
#include "object_info.h"
#include "physics_animator.h"
#include "scene/node_base.h"
#include "scene/node_utilities.h"
#include "script/module_scripting.h"
#include "script/node_table.h"

#include <utility>

namespace {

const char* const kTargetType = "TARGET";

struct CollisionBody {
    CNodeBasement* node;
    CObjectInfoAnimator* info;
};

squirrel::Object makeBodyTable(squirrel::VM& vm, const CollisionBody& body) {
    squirrel::Object table = makeNodeTable(vm, body.node);
    table.set("_type", vm.string(body.info->getObjectType()));
    table.set("_hp", squirrel::Object(body.info->getHealth()));
    table.set("_att", squirrel::Object(body.info->getAttack()));
    return table;
}

void disableBodies(irr::scene::ISceneNode* node) {
    for (irr::scene::ISceneNodeAnimator* animator : node->getAnimators()) {
        if (auto* physics = dynamic_cast<CPhysicsAnimator*>(animator)) {
            physics->disableBody();
        }
    }
}

// "onHit" for a living object; otherwise the object dies: it is marked dead and leaves the
// simulation before the scripts hear of it, so no later pair of this step reaches it again.
void hitOrKill(CScriptHost& scripting, const CollisionBody& body, const CollisionBody& by) {
    squirrel::VM& vm = scripting.vm();
    squirrel::Object table = makeNodeTable(vm, body.node);
    table.set("_type", vm.string(body.info->getObjectType()));
    table.set("_typeBy", vm.string(by.info->getObjectType()));
    if (body.info->getHealth() > 0) {
        scripting.callScriptFunction("onHit", table);
        return;
    }
    body.info->markDead();
    disableBodies(body.node);
    scripting.callScriptFunction("onKill", table);
    deleteNode(body.node);
    if (body.info->getObjectType() == kTargetType) {
        levelLost();
    }
}

} // namespace

void CObjectCollisions::onCollision(irr::scene::ISceneNode* first, irr::scene::ISceneNode* second) {
    CollisionBody body1{asEngineNode(first), findObjectInfo(first)};
    CollisionBody body2{asEngineNode(second), findObjectInfo(second)};
    if (body1.info == nullptr || body2.info == nullptr || body1.info->isDead() ||
        body2.info->isDead()) {
        return;
    }
    // The type that sorts first (byte order) is body 1; equal types keep the given order.
    if (body2.info->getObjectType() < body1.info->getObjectType()) {
        std::swap(body1, body2);
    }
    // Both objects stay alive through the scripts' calls even if a script deletes one.
    body1.node->grab();
    body2.node->grab();
    body1.info->grab();
    body2.info->grab();

    CScriptHost& scripting = getEngine().getScripting();
    squirrel::VM& vm = scripting.vm();
    squirrel::Object table1 = makeBodyTable(vm, body1);
    squirrel::Object table2 = makeBodyTable(vm, body2);
    squirrel::Object event = vm.newTable();
    event.set("_body1", table1);
    event.set("_body2", table2);
    scripting.callScriptFunction("onCollision", event);

    for (const auto& [body, table] : {std::pair{body1, table1}, std::pair{body2, table2}}) {
        applyNodeTable(body.node, table, allNodeTableGroups());
        body.info->setHealth(table.get("_hp").toInt());
    }
    hitOrKill(scripting, body1, body2);
    hitOrKill(scripting, body2, body1);

    body1.info->drop();
    body2.info->drop();
    body1.node->drop();
    body2.node->drop();
}

CObjectCollisions& objectCollisions() {
    static CObjectCollisions* handler = new CObjectCollisions();
    return *handler;
}
