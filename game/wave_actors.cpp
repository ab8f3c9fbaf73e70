#include "wave_actors.h"

#include "scene/node_factory.h"
#include "scene/sprite_creation_params.h"

CNodeBasement* createWaveActors(const std::vector<WaveActor>& actors, irr::scene::ISceneNode* root,
                                const std::string& levelFolder) {
    if (actors.empty()) {
        return nullptr;
    }
    SpriteCreationParams params;
    params.SourceFolder = levelFolder;
    return createSprite("raw:\\" + buildActorDescription(actors), 1, 1,
                        irr::core::vector3df(0, 0, 0), root, &params, "wave_actors");
}
