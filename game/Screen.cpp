#include "game/Screen.h"

#include "engine/ExpressionModel.h"

namespace vostrel {

ChooserKind ChooserOf(Slot s) {
    switch (s.row) {
    case Row::Power:
        return ChooserPower;
    case Row::Op:
        return s.pos == 0 ? ChooserSign : ChooserOp;
    case Row::Rank:
        return ChooserRank;
    }
    return ChooserNone;
}

Slot CoveredBy(Slot s) {
    return s.row == Row::Op ? Slot{Row::Rank, s.pos} : s;
}

int32_t ChooserItems(ChooserKind kind) {
    switch (kind) {
    case ChooserPower:
        return kPowerItems;
    case ChooserSign:
        return kSignItems;
    case ChooserOp:
        return kOpItems;
    case ChooserRank:
        return kRankItems;
    case ChooserNone:
        break;
    }
    return 0;
}

const char* ChooserItemText(ChooserKind kind, int32_t code) {
    switch (kind) {
    case ChooserPower:
        return PowerText(code);
    case ChooserSign:
        return SignText(code);
    case ChooserOp:
        return OpText(code);
    case ChooserRank:
        return RankText(code);
    case ChooserNone:
        break;
    }
    return "";
}

} // namespace vostrel
