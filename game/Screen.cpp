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

LabelMask LabelOf(Slot s) {
    switch (s.row) {
    case Row::Power:
        return PowerLabelBit(s.pos);
    case Row::Op:
        return OpLabelBit(s.pos);
    case Row::Rank:
        return RankLabelBit(s.pos);
    }
    return 0;
}

Slot SlotOfLabel(LabelMask bit) {
    for (int r = 0; r < kRows; ++r) {
        for (int k = 0; k < kPositions; ++k) {
            const Slot s{static_cast<Row>(r), k};
            if (LabelOf(s) == bit) {
                return s;
            }
        }
    }
    return {};
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
