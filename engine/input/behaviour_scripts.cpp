#include "behaviour_scripts.h"

#include "core/vellumengine.h"
#include "scene/node_base.h"

namespace {

squirrel::Object nodeTable(CNodeBasement* node) {
    squirrel::Object table = getEngine().getScripting().vm().newTable();
    irr::scene::ISceneNode* parent = node->getParent();
    table.set("_id", squirrel::Object(node->getID()));
    table.set("_parentid", squirrel::Object(parent != nullptr ? parent->getID() : 0));
    return table;
}

} // namespace

void callNodeScript(const std::string& script, CNodeBasement* node, const std::string& originFile) {
    getEngine().getScripting().callScriptFunction(script, nodeTable(node), std::string(),
                                                  originFile);
}

void callHoverScript(const std::string& script, CNodeBasement* node, bool isOver,
                     const std::string& originFile) {
    squirrel::Object table = nodeTable(node);
    table.set("_isover", squirrel::Object(isOver));
    getEngine().getScripting().callScriptFunction(script, table, std::string(), originFile);
}
