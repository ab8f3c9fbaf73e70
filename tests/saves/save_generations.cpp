#include "saves/save_generations.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace save_generations {

const char* const kPlayer = "Saver";

namespace {

constexpr uint32_t kScoreBase = 1000;

// Letters that depend on the generation and on their place, so a piece of another generation's
// text or a cut text never passes for this one.
std::string body(int generation, size_t length) {
    std::string text(length, 'a');
    for (size_t i = 0; i < length; ++i) {
        text[i] = static_cast<char>('a' + (static_cast<size_t>(generation) * 31 + i * 7) % 26);
    }
    return text;
}

// The profile text is long enough (4 to 16 KB) that its write takes a while.
size_t profileBodyLength(int generation) {
    return 4000 + static_cast<size_t>(generation) * 977 % 12000;
}

std::string pastProfileBody(int generation) {
    return body(generation, 200 + static_cast<size_t>(generation) % 300);
}

std::string scoreInternals(int generation) {
    return body(generation, 600);
}

int profileGeneration(CUserProfile& profile, std::string& problem) {
    OptionSet& options = profile.getOptions();
    int generation = options.getLongOption("Generation");
    if (options.getStringOption("Body") !=
        body(generation, generation == 0 ? 0 : profileBodyLength(generation))) {
        problem +=
            "profile: the body does not match generation " + std::to_string(generation) + "; ";
        return -1;
    }
    return generation;
}

int optionsGeneration(const EngineConfig& config, std::string& problem) {
    if (config.firstRun != 0 && config.PastProfiles.empty()) {
        return 0;
    }
    const std::vector<std::string>& past = config.PastProfiles;
    int generation = past.size() == 3 && past[1].rfind("generation", 0) == 0
                         ? std::atoi(past[1].c_str() + 10)
                         : -1;
    if (generation < 1 || config.ActiveProfile != kPlayer || past[0] != kPlayer ||
        past[2] != pastProfileBody(generation)) {
        problem += "options: not the content of any generation; ";
        return -1;
    }
    return generation;
}

int scoresGeneration(const CHighScoreTable& table, std::string& problem) {
    const HighScoreEntry& best = table.entry(0);
    int generation = best.Score == 0 ? 0 : static_cast<int>(best.Score - kScoreBase);
    for (int i = 0; i < CHighScoreTable::kEntryCount; ++i) {
        const HighScoreEntry& entry = table.entry(i);
        int entryGeneration = generation - i;
        bool matches = entryGeneration < 1
                           ? entry.Score == 0 && entry.PlayerName.empty() && entry.Internals.empty()
                           : entry.Score == kScoreBase + static_cast<uint32_t>(entryGeneration) &&
                                 entry.Stamp == static_cast<uint32_t>(entryGeneration) &&
                                 entry.PlayerName == kPlayer &&
                                 entry.Internals == scoreInternals(entryGeneration);
        if (!matches) {
            problem += "high scores: entry " + std::to_string(i) + " does not match generation " +
                       std::to_string(generation) + "; ";
            return -1;
        }
    }
    return generation;
}

} // namespace

void apply(int generation, EngineConfig& config, CUserProfile& profile) {
    profile.getOptions().setLongOption("Generation", generation);
    profile.getOptions().setStringOption("Body", body(generation, profileBodyLength(generation)));

    config.ActiveProfile = kPlayer;
    config.PastProfiles = {kPlayer, "generation" + std::to_string(generation),
                           pastProfileBody(generation)};

    CHighScoreTable& table = config.HighScores;
    table.resetHighScores(true);
    for (int i = 0; i < CHighScoreTable::kEntryCount && generation - i >= 1; ++i) {
        int entryGeneration = generation - i;
        table.insertScore(kScoreBase + static_cast<uint32_t>(entryGeneration), kPlayer,
                          static_cast<uint32_t>(entryGeneration), 0,
                          scoreInternals(entryGeneration));
    }
}

bool saveAll(EngineConfig& config, CUserProfile& profile) {
    bool profileSaved = profile.save();
    return config.save() && profileSaved;
}

ReadBack readBack() {
    ReadBack result;
    EngineConfig config;
    config.load();
    result.options = optionsGeneration(config, result.problem);
    result.scores = scoresGeneration(config.HighScores, result.problem);
    CUserProfile profile(kPlayer, config, nullptr);
    profile.load();
    result.profile = profileGeneration(profile, result.problem);
    return result;
}

} // namespace save_generations
