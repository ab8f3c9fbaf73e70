#include "game_objects_fixture.h"

#include "animators/aatlasgauge.h"
#include "physics_animator.h"

namespace {

CPhysicsAnimator* physicsOf(irr::scene::ISceneNode* node) {
    for (irr::scene::ISceneNodeAnimator* animator : node->getAnimators()) {
        if (auto* physics = dynamic_cast<CPhysicsAnimator*>(animator)) {
            return physics;
        }
    }
    return nullptr;
}

} // namespace

TEST_F(GameObjectsTest, ObjectInfoComesFromTheDescriptionBeforeTheBody) {
    CNodeBasement* ship = object("ship", "h12 a3 b0 tenemy ship", 0, 0, "shape[circle]density[1]");
    ASSERT_NE(ship, nullptr);
    CObjectInfoAnimator* info = findObjectInfo(ship);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->getHealth(), 12);
    EXPECT_EQ(info->getMaxHealth(), 12);
    EXPECT_EQ(info->getAttack(), 3);
    EXPECT_EQ(info->getObjectType(), "enemy ship");
    EXPECT_EQ(info->getHealthBar(), nullptr);
    const auto& animators = ship->getAnimators();
    ASSERT_EQ(animators.size(), 2u);
    EXPECT_EQ(*animators.begin(), info);
    EXPECT_NE(physicsOf(ship), nullptr);
}

TEST_F(GameObjectsTest, CollisionsDealDamageThenHitAndFinallyKill) {
    CNodeBasement* rock = object("rockA", "h10 a2 b0 trock");
    CNodeBasement* ship = object("shipA", "h5 a4 b0 tship");
    objectCollisions().onCollision(ship, rock);
    EXPECT_EQ(log(), "collision rockA shipA;hit rockA by ship;hit shipA by rock;");
    EXPECT_EQ(findObjectInfo(rock)->getHealth(), 6);
    EXPECT_EQ(findObjectInfo(ship)->getHealth(), 3);

    run("::log = \"\";");
    objectCollisions().onCollision(rock, ship);
    objectCollisions().onCollision(rock, ship);
    EXPECT_EQ(log(), "collision rockA shipA;hit rockA by ship;hit shipA by rock;"
                     "collision rockA shipA;kill rockA by ship;kill shipA by rock;");
    EXPECT_TRUE(findObjectInfo(rock)->isDead());
    EXPECT_TRUE(findObjectInfo(ship)->isDead());

    // Killed objects wait for deletion but raise no further events.
    run("::log = \"\";");
    objectCollisions().onCollision(rock, ship);
    EXPECT_EQ(log(), "");
    frames(1);
    EXPECT_EQ(getNodeByName("rockA"), nullptr);
    EXPECT_EQ(getNodeByName("shipA"), nullptr);
}

TEST_F(GameObjectsTest, ScriptChangesToTheBodyTablesAreAppliedToTheNodes) {
    CNodeBasement* first = object("first", "h10 a0 b0 ta");
    CNodeBasement* second = object("second", "h10 a0 b0 tb");
    run("::onCollision <- function(t) { t._body1._x = 4.5; t._body2._alpha = 0.25;"
        " t._body2._hp = 99; };");
    objectCollisions().onCollision(second, first);
    EXPECT_FLOAT_EQ(first->getPosition().X, 4.5f);
    EXPECT_FLOAT_EQ(second->getAlpha(), 0.25f);
    EXPECT_EQ(findObjectInfo(second)->getHealth(), 99);
    EXPECT_EQ(findObjectInfo(first)->getHealth(), 10);
}

TEST_F(GameObjectsTest, TargetIsBodyOneAndKillingItLosesTheLevelOnce) {
    CNodeBasement* rock = object("rock1", "h10 a0 b0 trock");
    CNodeBasement* target = object("target1", "h10 a0 b0 tTARGET");
    run("::onCollision <- function(t) {"
        "  ::log += \"collision \" + t._body1._type + \" \" + t._body2._type + \";\";"
        "  t._body1._hp = 0; };");
    objectCollisions().onCollision(rock, target);
    EXPECT_EQ(log(),
              "collision TARGET rock;kill target1 by rock;lost next_level;hit rock1 by TARGET;");
    EXPECT_TRUE(isLevelFinished());

    // A second target destroyed and the last wave finished afterwards end nothing more.
    run("::log = \"\";");
    CNodeBasement* other = object("target2", "h10 a0 b0 tTARGET");
    objectCollisions().onCollision(other, rock);
    EXPECT_EQ(log(), "collision TARGET rock;kill target2 by rock;hit rock1 by TARGET;");
    EXPECT_FALSE(levelWon());
    EXPECT_EQ(log(), "collision TARGET rock;kill target2 by rock;hit rock1 by TARGET;");

    // The next level can be lost again.
    startLevelOutcome("after");
    run("::log = \"\";");
    CNodeBasement* third = object("target3", "h10 a0 b0 tTARGET");
    objectCollisions().onCollision(rock, third);
    EXPECT_EQ(log(), "collision TARGET rock;kill target3 by rock;lost after;hit rock1 by TARGET;");
}

TEST_F(GameObjectsTest, EqualTypesKeepTheGivenOrderAndOnlyExactTargetLoses) {
    CNodeBasement* first = object("firstT", "h1 a1 b0 tTARGETS");
    CNodeBasement* second = object("secondT", "h1 a1 b0 tTARGETS");
    objectCollisions().onCollision(second, first);
    EXPECT_EQ(log(), "collision secondT firstT;kill secondT by TARGETS;kill firstT by TARGETS;");
    EXPECT_FALSE(isLevelFinished());
}

TEST_F(GameObjectsTest, AnObjectIsKilledOnceWhateverItTouchesInTheStep) {
    object("hub", "h1 a0 b0 tTARGET", 0, 0, "shape[circle]density[1]");
    object("east", "h50 a5 b0 trock", 0.4f, 0, "shape[circle]density[1]");
    object("west", "h50 a5 b0 trock", -0.4f, 0, "shape[circle]density[1]");
    object("north", "h50 a5 b0 trock", 0, 0.4f, "shape[circle]density[1]");
    frames(1);
    const std::string events = log();
    auto occurrences = [&events](const std::string& what) {
        int count = 0;
        for (size_t at = events.find(what); at != std::string::npos;
             at = events.find(what, at + 1)) {
            ++count;
        }
        return count;
    };
    EXPECT_EQ(occurrences("kill hub"), 1) << events;
    EXPECT_EQ(occurrences("lost next_level"), 1) << events;
    EXPECT_EQ(occurrences("collision hub"), 1) << events;
    EXPECT_EQ(getNodeByName("hub"), nullptr);
    frames(3);
    EXPECT_EQ(occurrences("kill hub"), 1);
    EXPECT_EQ(log().find("hub", events.size()), std::string::npos);
}

TEST_F(GameObjectsTest, ObjectsWithoutHealthRaiseNoEvents) {
    CNodeBasement* plain = object("plain", "h0 a5 b1 tTARGET", 0, 0, "shape[circle]density[1]");
    object("rock", "h1 a5 b0 trock", 0.3f, 0, "shape[circle]density[1]");
    EXPECT_EQ(findObjectInfo(plain), nullptr);
    ASSERT_NE(physicsOf(plain), nullptr);
    frames(4);
    EXPECT_EQ(log(), "");
    EXPECT_TRUE(physicsOf(plain)->isBodyActive());
}

TEST_F(GameObjectsTest, HealthBarShowsTheHealthFractionAfterEachChange) {
    CNodeBasement* ship = object("barShip", "h8 a0 b1 tship");
    CNodeBasement* rock = object("barRock", "h8 a2 b0 trock");
    CObjectInfoAnimator* info = findObjectInfo(ship);
    CNodeBasement* bar = info->getHealthBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->getParent(), ship);
    EXPECT_EQ(bar->getPosition(), irr::core::vector3df(0, 0, 0));
    EXPECT_FLOAT_EQ(info->getHealthFraction(), 1);
    ASSERT_EQ(bar->getAnimators().size(), 1u);
    auto* gauge = dynamic_cast<CAtlasGaugeAnimator*>(*bar->getAnimators().begin());
    ASSERT_NE(gauge, nullptr);
    EXPECT_EQ(findObjectInfo(rock)->getHealthBar(), nullptr);

    // Hidden while the object is unhurt, shown when it is hit, faded out once the fade time has
    // passed without a change.
    frames(2);
    EXPECT_FLOAT_EQ(gauge->getShown(), 1);
    EXPECT_FLOAT_EQ(bar->getAlphaFactor(), 0);

    objectCollisions().onCollision(ship, rock);
    frames(1);
    EXPECT_FLOAT_EQ(info->getHealthFraction(), 0.75f);
    EXPECT_FLOAT_EQ(gauge->getShown(), 0.75f);
    EXPECT_FLOAT_EQ(bar->getAlphaFactor(), 1);
    frames(180);
    EXPECT_FLOAT_EQ(bar->getAlphaFactor(), 0);
}
