#include "script_core_api/core_api_fixture.h"

namespace {

class CoreProfile : public CoreApiTest {
protected:
    void SetUp() override {
        CoreApiTest::SetUp();
        getEngine().setActiveProfile("Anna");
    }
    void TearDown() override {
        getEngine().getConfig().ShowTooltipAlways = 0;
        CoreApiTest::TearDown();
    }
};

TEST_F(CoreProfile, TextCountsAsSeenOnlyOnceRemembered) {
    EXPECT_EQ(typeOf("core_checkTextUsingProfile(\"Press space\", 0)"), "integer");
    EXPECT_EQ(eval("core_checkTextUsingProfile(\"Press space\", 0)").toInt(), 0);
    EXPECT_EQ(eval("core_checkTextUsingProfile(\"Press space\")").toInt(), 0);
    EXPECT_EQ(eval("core_checkTextUsingProfile(\"Press space\", 1)").toInt(), 0);
    EXPECT_EQ(eval("core_checkTextUsingProfile(\"Press space\", 1)").toInt(), 1);
    EXPECT_EQ(eval("core_checkTextUsingProfile(\"Press space\", 0)").toInt(), 1);
    EXPECT_EQ(eval("core_checkTextUsingProfile(\"Press enter\", 0)").toInt(), 0);

    getEngine().getConfig().ShowTooltipAlways = 1;
    EXPECT_EQ(eval("core_checkTextUsingProfile(\"Press space\", 1)").toInt(), 0);
}

TEST_F(CoreProfile, OptionsKeepTheirTypeThroughTheProfileFile) {
    EXPECT_TRUE(eval("core_SetProfileOption(\"lives\", 3)").toBool());
    EXPECT_TRUE(eval("core_SetProfileOption(\"speed\", 0.25)").toBool());
    EXPECT_TRUE(eval("core_SetProfileOption(\"hero\", \"Tom\\nJones\")").toBool());
    EXPECT_EQ(typeOf("core_GetProfileOption(\"lives\")"), "integer");
    EXPECT_EQ(eval("core_GetProfileOption(\"lives\")").toInt(), 3);

    run("core_SaveProfile();");
    getEngine().setActiveProfile("");
    getEngine().setActiveProfile("Anna");
    EXPECT_EQ(typeOf("core_GetProfileOption(\"lives\")"), "integer");
    EXPECT_EQ(eval("core_GetProfileOption(\"lives\")").toInt(), 3);
    EXPECT_EQ(typeOf("core_GetProfileOption(\"speed\")"), "float");
    EXPECT_FLOAT_EQ(eval("core_GetProfileOption(\"speed\")").toFloat(), 0.25f);
    EXPECT_EQ(typeOf("core_GetProfileOption(\"hero\")"), "string");
    EXPECT_EQ(eval("core_GetProfileOption(\"hero\")").toString(), "Tom\nJones");
}

TEST_F(CoreProfile, OtherValueTypesAreRefusedAndMissingOptionsAreFalse) {
    EXPECT_FALSE(eval("core_SetProfileOption(\"flag\", true)").toBool());
    EXPECT_FALSE(eval("core_SetProfileOption(\"list\", [1])").toBool());
    EXPECT_FALSE(eval("core_SetProfileOption(\"none\")").toBool());
    EXPECT_EQ(typeOf("core_GetProfileOption(\"flag\")"), "bool");
    EXPECT_FALSE(eval("core_GetProfileOption(\"flag\")").toBool());
    EXPECT_FALSE(eval("core_GetProfileOption(\"list\")").toBool());
    EXPECT_FALSE(eval("core_GetProfileOption()").toBool());
}

TEST_F(CoreProfile, AnOptionSetWithAnotherTypeReplacesTheOldValue) {
    run("core_SetProfileOption(\"score\", \"none yet\");");
    run("core_SetProfileOption(\"score\", 10);");
    EXPECT_EQ(eval("core_GetProfileOption(\"score\")").toInt(), 10);
    run("core_SetProfileOption(\"score\", 10.5);");
    EXPECT_FLOAT_EQ(eval("core_GetProfileOption(\"score\")").toFloat(), 10.5f);
    run("core_SetProfileOption(\"score\", \"done\");");
    EXPECT_EQ(eval("core_GetProfileOption(\"score\")").toString(), "done");
    std::string saved = getEngine().getActiveProfile()->getOptions().serializeOptions();
    EXPECT_EQ(saved, "\nOption[score]=done\n");
}

TEST_F(CoreProfile, SavingWritesTheProfileFile) {
    CUserProfile* profile = getEngine().getActiveProfile();
    run("core_SetProfileOption(\"level\", 4);");
    run("core_SaveProfile();");
    std::string path = profile->profilePath();
    std::string name = path.substr(path.rfind('\\') + 1);
    EXPECT_NE(program.folder().read("Profile/" + name).find("OptionLong[level]=4"),
              std::string::npos);
}

TEST_F(CoreProfile, ProfileNameAndNewProfileFlagComeFromTheConfiguration) {
    EXPECT_EQ(eval("core_GetActiveProfileName()").toString(), "Anna");
    getEngine().getConfig().firstRun = 1;
    EXPECT_EQ(eval("core_IsNewProfileRequired()").toInt(), 1);
    EXPECT_EQ(typeOf("core_IsNewProfileRequired()"), "integer");
    getEngine().getConfig().firstRun = 0;
    EXPECT_EQ(eval("core_IsNewProfileRequired()").toInt(), 0);
}

} // namespace
