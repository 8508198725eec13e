// Arbitrary bytes as a kept game's file, under settings taken from the input's length. Whatever
// is accepted is a state the game could reach, and the one text the game writes for it.
//   build-asan/fuzz/saved_game_fuzz -max_len=1024 -dict=fuzz/saved_game.dict DIR

#include "engine/ExpressionModel.h"
#include "game/SavedGame.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    vostrel::SettingsRecord settings;
    // A file may hold any problem count, the settings dialog 1..10; powers on or off.
    settings.repeatCount = static_cast<int32_t>(size % 13);
    settings.usePower = static_cast<int32_t>(size / 13 % 2);
    vostrel::GameState s;
    if (vostrel::ParseSavedGame(text, settings, s) != vostrel::SavedGameStatus::Ok) {
        return 0;
    }
    Check(vostrel::FormatSavedGame(s) == text);
    Check(s.problemIndex >= 0 && s.problemIndex < std::max(settings.repeatCount, 1));
    bool seen[vostrel::kPositions] = {};
    for (int k = 0; k < vostrel::kPositions; ++k) {
        Check(s.expr.digits[k] >= 0 && s.expr.digits[k] <= 9);
        Check(s.expr.rank[k] >= 0 && s.expr.rank[k] < vostrel::kPositions && !seen[s.expr.rank[k]]);
        seen[s.expr.rank[k]] = true;
        Check(settings.usePower != 0 || s.expr.power[k] == vostrel::PowNone);
    }
    // The model takes every choice of an accepted state as it stands.
    vostrel::ExpressionState again = s.expr;
    for (int k = 0; k < vostrel::kPositions; ++k) {
        vostrel::SetPower(again, k, again.power[k]);
        vostrel::SetRank(again, k, again.rank[k]);
    }
    Check(again == s.expr);
    return 0;
}
