#include "core_api_highscores.h"

#include "core/vellumengine.h"
#include "script/core_arguments.h"

#include <cstdint>
#include <string>

namespace {

CHighScoreTable& table() {
    return getEngine().getConfig().HighScores;
}

} // namespace

squirrel::Object core_GetHighScores(squirrel::CallContext& call) {
    squirrel::Object list = call.vm().newArray();
    for (int i = 0; i < CHighScoreTable::kEntryCount; ++i) {
        const HighScoreEntry& entry = table().entry(i);
        if (entry.Score == 0) {
            continue;
        }
        squirrel::Object row = call.vm().newTable();
        row.set("_place", squirrel::Object(i + 1));
        row.set("_name", call.vm().string(entry.PlayerName));
        row.set("_score", squirrel::Object(static_cast<int>(entry.Score)));
        list.append(row);
    }
    return list;
}

squirrel::Object core_GetHighScorePlace(squirrel::CallContext& call) {
    const int score = call.intArg(0);
    if (score <= 0) {
        return squirrel::Object(0);
    }
    const int rank = table().findRank(static_cast<uint32_t>(score));
    return squirrel::Object(rank < CHighScoreTable::kEntryCount ? rank + 1 : 0);
}

squirrel::Object core_AddHighScore(squirrel::CallContext& call) {
    const int score = call.intArg(0);
    if (score <= 0) {
        return squirrel::Object(0);
    }
    std::string name = textArgument(call, 1).substr(0, HighScoreEntry::kMaxNameLength);
    const auto stamp = static_cast<uint32_t>(call.intArg(2));
    return squirrel::Object(table().addScore(static_cast<uint32_t>(score), name, stamp, ""));
}
