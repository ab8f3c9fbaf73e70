#include "effects_fixture.h"

#include "animators/ascriptedeffect.h"
#include "scene/node_utilities.h"
#include "script/node_handles.h"

#include <set>
#include <string>
#include <vector>

namespace {

class ScriptedEffect : public EffectTest {
protected:
    // The texts of a root-table array the scripts filled.
    static std::vector<std::string> texts(const char* name) {
        std::vector<std::string> result;
        squirrel::Object array = getEngine().getScripting().vm().rootTable().get(name);
        for (int k = 0; k < array.size(); ++k) {
            result.push_back(array.get(k).toString());
        }
        return result;
    }
};

TEST_F(ScriptedEffect, TheTableMovesFadesAndTintsTheNodeAfterHidingItUntilTheFirstStep) {
    run("function slideRight(s) { s._x = s._time / 100.0; s._alpha = 0.25; "
        "s._tintR = 10; s._tintG = 20; s._tintB = 300; }");
    CSpriteNode* sprite = spriteWith("-Animation.Scripted:slideRight\n");
    ASSERT_NE(sprite, nullptr);
    ASSERT_EQ(countOf<CScriptedEffect>(sprite), 1);
    EXPECT_EQ(sprite->getHideCount(), 1);
    EXPECT_EQ(sprite->getEffectiveAlpha(), 0);

    frameAt(kStart);
    EXPECT_EQ(sprite->getHideCount(), 0);
    EXPECT_GT(sprite->getEffectiveAlpha(), 0);
    framesFromTo(kStart + 25, kStart + 500, 25);
    EXPECT_FLOAT_EQ(sprite->getPosition().X, 5.0f);
    EXPECT_FLOAT_EQ(sprite->getAlpha(), 0.25f);
    EXPECT_EQ(sprite->getTint(), 0xFF0A14FFu);
}

TEST_F(ScriptedEffect, AStepNameOfFiveCharactersRunsOnlyInTheInitialisingStep) {
    run("function blink(s) { bump(\"blink\"); } function blinks(s) { bump(\"blinks\"); }");
    CSpriteNode* once = spriteWith("-Animation.Scripted:blink\n");
    CSpriteNode* always = spriteWith("-Animation.Scripted:blinks\n");
    ASSERT_NE(once, nullptr);
    ASSERT_NE(always, nullptr);
    framesFromTo(kStart, kStart + 250, 25);
    // The initialising call and the first step's own call.
    EXPECT_EQ(count("blink"), 2);
    EXPECT_EQ(countOf<CScriptedEffect>(once), 0);
    EXPECT_EQ(count("blinks"), 12);
    EXPECT_EQ(countOf<CScriptedEffect>(always), 1);
}

TEST_F(ScriptedEffect, InitialisingFunctionGetsItsParameterOnceAndTheStepFunctionItsOwn) {
    run("::calls <- [];"
        "function stepWith(s) { ::calls.append(\"step \" + s._parameter + \" \" + s._doInit); }"
        "function initWith(s) { ::calls.append(\"init \" + s._parameter + \" \" + s._doInit); }"
        "function onlyOne(s) { ::calls.append(\"one \" + s._parameter + \" \" + s._doInit); }");
    CSpriteNode* two = spriteWith("-Animation.ByScriptMethod:stepWith(3), initWith( \"7\" )\n");
    ASSERT_NE(two, nullptr);
    framesFromTo(kStart, kStart + 50, 25);
    EXPECT_EQ(texts("calls"),
              (std::vector<std::string>{"init 7 1", "step 3 0", "step 3 0", "step 3 0"}));

    two->setVisible(false);
    run("::calls <- [];");
    CSpriteNode* one = spriteWith("-Animation.Scripted:onlyOne( \"fast\"\t)\n");
    ASSERT_NE(one, nullptr);
    auto* effect = firstOf<CScriptedEffect>(one);
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->getStepFunction(), "onlyOne");
    EXPECT_TRUE(effect->getInitFunction().empty());
    frameAt(kStart + 75);
    EXPECT_EQ(texts("calls"), (std::vector<std::string>{"one fast 1", "one fast 0"}));
}

TEST_F(ScriptedEffect, DieNowDeletesTheNodeBetweenFramesUnlessFlowWasSwitchedOff) {
    run("function dieAtHundred(s) { bump(\"die\"); if (s._time >= 100) { s._dieNow = 1; "
        "s._cancel = 1; } }"
        "function flowOff(s) { s._affectFlow = 0; }");
    spriteWith("-Name:dying\n-Animation.Scripted:dieAtHundred\n");
    spriteWith("-Name:staying\n-Animation.ByScriptMethod:dieAtHundred,flowOff\n");
    framesFromTo(kStart, kStart + 75, 25);
    ASSERT_NE(getNodeByName("dying"), nullptr);
    frameAt(kStart + 100);
    EXPECT_EQ(getNodeByName("dying"), nullptr);
    int calls = count("die");
    framesFromTo(kStart + 125, kStart + 300, 25);
    CNodeBasement* staying = getNodeByName("staying");
    ASSERT_NE(staying, nullptr);
    EXPECT_EQ(countOf<CScriptedEffect>(staying), 1);
    EXPECT_EQ(count("die"), calls + 8);
}

TEST_F(ScriptedEffect, CancelEndsTheEffectAndSwitchingChangesTheStepFunction) {
    run("function cancelLater(s) { bump(\"cancel\"); if (s._time >= 50) s._cancel = 1; }"
        "function phaseOne(s) { bump(\"one\"); s._switchEffectTo = \"phaseTwo\"; }"
        "function phaseTwo(s) { bump(\"two\"); }");
    CSpriteNode* cancelled = spriteWith("-Animation.Scripted:cancelLater\n");
    CSpriteNode* switched = spriteWith("-Animation.Scripted:phaseOne\n");
    ASSERT_NE(cancelled, nullptr);
    ASSERT_NE(switched, nullptr);
    framesFromTo(kStart, kStart + 300, 25);
    // Initialising call, then steps at 0, 25 and 50 ms.
    EXPECT_EQ(count("cancel"), 4);
    EXPECT_EQ(countOf<CScriptedEffect>(cancelled), 0);
    EXPECT_EQ(count("one"), 2);
    EXPECT_EQ(count("two"), 12);
    EXPECT_EQ(firstOf<CScriptedEffect>(switched)->getStepFunction(), "phaseTwo");
}

TEST_F(ScriptedEffect, DiscretionSetsTheStepIntervalAndWithoutItTheEffectStepsEveryFrame) {
    run("function slowInit(s) { s._affectDiscretion = 100; }"
        "function fastInit(s) { delete s._affectDiscretion; }"
        "function countSlow(s) { bump(\"slow\"); }"
        "function countFast(s) { bump(\"fast\"); }"
        "function countPlain(s) { bump(\"plain\"); }");
    spriteWith("-Animation.ByScriptMethod:countSlow,slowInit\n");
    spriteWith("-Animation.ByScriptMethod:countFast,fastInit\n");
    spriteWith("-Animation.Scripted:countPlain\n");
    framesFromTo(kStart, kStart + 1000, 10);
    EXPECT_EQ(count("slow"), 11);
    EXPECT_EQ(count("fast"), 101);
    // The default 25 ms, plus the initialising call.
    EXPECT_EQ(count("plain"), 35);
}

TEST_F(ScriptedEffect, SharedModeReadsTheNodeBeforeEveryStepOtherwiseTheTableWins) {
    run("function shareInit(s) { s._sharedMode = 1; }"
        "function ownInit(s) {}"
        "function raiseY(s) { s._y = s._y + 1; }");
    CSpriteNode* shared = spriteWith("-Animation.ByScriptMethod:raiseY,shareInit\n");
    CSpriteNode* own = spriteWith("-Animation.ByScriptMethod:raiseY,ownInit\n");
    ASSERT_NE(shared, nullptr);
    ASSERT_NE(own, nullptr);
    frameAt(kStart);
    EXPECT_FLOAT_EQ(shared->getPosition().Y, 1.0f);
    EXPECT_FLOAT_EQ(own->getPosition().Y, 1.0f);
    shared->setPosition(irr::core::vector3df(5, 10, 0));
    own->setPosition(irr::core::vector3df(5, 10, 0));
    frameAt(kStart + 25);
    EXPECT_EQ(shared->getPosition(), irr::core::vector3df(5, 11, 0));
    EXPECT_EQ(own->getPosition(), irr::core::vector3df(0, 2, 0));
}

TEST_F(ScriptedEffect, GroupsSwitchedOffAreNotAppliedToTheNode) {
    run("function noMoveInit(s) { s._affectPosition = 0; s._affectColor = 0; }"
        "function tryAll(s) { s._x = 9; s._tintR = 0; s._alpha = 0.5; }");
    CSpriteNode* sprite = spriteWith("-Animation.ByScriptMethod:tryAll,noMoveInit\n");
    ASSERT_NE(sprite, nullptr);
    framesFromTo(kStart, kStart + 100, 25);
    EXPECT_EQ(sprite->getPosition().X, 0.0f);
    EXPECT_EQ(sprite->getTint(), 0xFFFFFFFFu);
    EXPECT_FLOAT_EQ(sprite->getAlpha(), 0.5f);
}

TEST_F(ScriptedEffect, ClonesGetTheirCloneNumberAndTheTableHoldsTheNodeHandle) {
    run("::clones <- []; ::pointers <- [];"
        "function noteClone(s) { if (s._doInit) { ::clones.append(s._cloneNumber); "
        "::pointers.append(s._pointer); } }");
    CSpriteNode* original = spriteWith("-MakeClones:2\n-Animation.Scripted:noteClone\n");
    ASSERT_NE(original, nullptr);
    frameAt(kStart);
    std::vector<std::string> clones = texts("clones");
    EXPECT_EQ(std::multiset<std::string>(clones.begin(), clones.end()),
              (std::multiset<std::string>{"0", "1", "2"}));
    std::vector<std::string> pointers = texts("pointers");
    ASSERT_EQ(pointers.size(), 3u);
    std::set<CNodeBasement*> nodes;
    for (const std::string& pointer : pointers) {
        CNodeBasement* node = nodeFromHandle(std::stoi(pointer));
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(countOf<CScriptedEffect>(node), 1);
        nodes.insert(node);
    }
    EXPECT_EQ(nodes.size(), 3u);
    EXPECT_EQ(nodes.count(original), 1u);
}

TEST_F(ScriptedEffect, AMissingFunctionIsReportedAndTheEffectGoesOn) {
    CSpriteNode* sprite = spriteWith("-Animation.Scripted:noSuchEffect\n");
    ASSERT_NE(sprite, nullptr);
    framesFromTo(kStart, kStart + 50, 25);
    EXPECT_TRUE(boxes.sawText("noSuchEffect"));
    EXPECT_EQ(sprite->getHideCount(), 0);
    EXPECT_EQ(countOf<CScriptedEffect>(sprite), 1);
}

} // namespace
