#include "support/profiled_counts.h"
#include "support/temporary_folder.h"
#include "utils/debug.h"
#include "utils/string_hash_map.h"

#include <gtest/gtest.h>

#include <atomic>
#include <regex>
#include <thread>

TEST(Profiler, ScopesAreCountedPerKeyAndTheReportResets) {
    profilingReport();
    for (int i = 0; i < 3; ++i) {
        ProfileScope scope("render.cpp", 10);
    }
    { ProfileScope scope("READFILE", 7, "gui\\a.spr"); }
    { ProfileScope nothing; }

    // The times are whole milliseconds of a coarse clock: a scope usually takes 0, but one that
    // straddles a tick (a loaded machine, a sanitizer build) takes a few.
    std::string report = profilingReport();
    EXPECT_EQ(report.rfind("\n\nAnti-hitparad:\n", 0), 0u);
    EXPECT_TRUE(
        std::regex_search(report, std::regex("\tcount=00003\tmid=[0-9.]+\trender.cpp:10\n")))
        << report;
    EXPECT_TRUE(std::regex_search(report, std::regex("\tcount=00001\tmid=[0-9.]+\tREADFILE:7\n")));
    EXPECT_TRUE(std::regex_search(
        report, std::regex("\nREADFILE:7: spec information\n'gui\\\\a.spr': [0-9]+")));
    EXPECT_NE(report.find("\n\n--\n\xD5\xE8\xF2 \xEF\xE0\xF0\xE0\xE4"), std::string::npos);
    EXPECT_EQ(report.substr(report.size() - 11), ": the end\n\n");

    std::string empty = profilingReport();
    EXPECT_EQ(empty.find("count="), std::string::npos);
}

TEST(Profiler, SourceRootIsCutFromTaggedKeys) {
    profilingReport();
    { ProfileScope scope("READFILE|" __FILE__, 3); }
    std::string report = profilingReport();
    EXPECT_NE(report.find("\tREADFILE|tests/debug_log/profiler_test.cpp:3\n"), std::string::npos)
        << report;
}

TEST(Profiler, ReportIsWrittenBesideTheLog) {
    TemporaryFolder folder;
    setDebugLogFolder(folder.engine());
    { ProfileScope scope("x.cpp", 1); }
    writeProfilingReport();
    EXPECT_NE(folder.read("last_anihitparad.log").find("x.cpp:1"), std::string::npos);
}

TEST(StringHashMap, IteratesInBucketOrderThenInsertionOrder) {
    // "a" hashes to 97 (bucket 12), "b" to 98 (bucket 13), "r" to 114 (bucket 12).
    StringHashMap<int> map;
    map["b"] = 2;
    map["r"] = 3;
    map["a"] = 1;
    std::string order;
    map.forEach([&](const std::string& key, int) { order += key; });
    EXPECT_EQ(order, "rab");
    EXPECT_EQ(StringHashMap<int>::hashOf("ab"), 97u * 33u + 98u);
    EXPECT_EQ(StringHashMap<int>::hashOf("\xFF"), 0xFFFFFFFFu);
}

TEST(StringHashMap, LookupRemovalAndNullKeys) {
    StringHashMap<std::string> map(101);
    map.set("key", "value");
    ASSERT_NE(map.find("key"), nullptr);
    EXPECT_EQ(*map.find("key"), "value");
    EXPECT_EQ(map.find("other"), nullptr);
    EXPECT_EQ(map.size(), 1u);
    EXPECT_TRUE(map.remove("key"));
    EXPECT_FALSE(map.remove("key"));
    EXPECT_TRUE(map.empty());
    const char* nullKey = nullptr;
    EXPECT_THROW(map[nullKey], CBadException);
    EXPECT_THROW(map.find(nullKey), CBadException);
}

TEST(Profiler, ScopesOfSeveralThreadsAreAllCountedAndAReportStartsAfresh) {
    profilingReport();
    { ProfileScope before("threads.cpp", 5); }
    profilingReport();
    constexpr int kPerThread = 20000;
    auto countScopes = [] {
        for (int i = 0; i < kPerThread; ++i) {
            ProfileScope scope("threads.cpp", 5);
            ProfileScope other("threads.cpp", 6);
        }
    };
    std::thread first(countScopes);
    std::thread second(countScopes);
    countScopes();
    first.join();
    second.join();

    const std::string report = profilingReport();
    // A tick of the coarse clock may fall inside a scope, so only the counts are exact.
    EXPECT_TRUE(
        std::regex_search(report, std::regex("\tcount=60000\tmid=[0-9.]+\tthreads.cpp:5\n")))
        << report;
    EXPECT_TRUE(
        std::regex_search(report, std::regex("\tcount=60000\tmid=[0-9.]+\tthreads.cpp:6\n")));
    { ProfileScope after("threads.cpp", 6); }
    const std::string next = profilingReport();
    EXPECT_EQ(next.find("threads.cpp:5"), std::string::npos) << next;
    EXPECT_TRUE(std::regex_search(next, std::regex("\tcount=00001\tmid=[0-9.]+\tthreads.cpp:6\n")));
}

TEST(Profiler, ReportsTakenWhileAnotherThreadCountsLoseAndRepeatNothing) {
    profilingReport();
    constexpr int kScopes = 200000;
    std::atomic<bool> done{false};
    std::thread counter([&done] {
        for (int i = 0; i < kScopes; ++i) {
            ProfileScope scope("RACING|racing.cpp", 1);
        }
        done = true;
    });
    int reported = 0;
    int reports = 0;
    while (!done) {
        reported += profiledCount(profilingReport(), "RACING");
        ++reports;
    }
    counter.join();
    reported += profiledCount(profilingReport(), "RACING");
    EXPECT_EQ(reported, kScopes) << "over " << reports << " reports";
    // A later thread, which may be given the ended thread's id, counts afresh from there.
    std::thread([] { ProfileScope scope("RACING|racing.cpp", 1); }).join();
    EXPECT_EQ(profiledCount(profilingReport(), "RACING"), 1);
}
