#include "engine/ExpressionText.h"

#include "engine/ReductionPlan.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace vostrel {

namespace {

constexpr int kAdditive = 1;
constexpr int kMultiplicative = 2;
constexpr int kAtom = 3;

// The implicit zero, operands and operators: at most nine nodes.
struct Node {
    bool zero = false;
    int32_t value = 0;
    int32_t power = PowNone;
    int32_t op = -1; // -1 for an operand
    int left = -1;
    int right = -1;
};

struct Text {
    std::string text;
    int prec = kAtom;
    int32_t op = -1; // the operator that decides how the text groups
};

int Precedence(int32_t op) {
    return (op == OpAdd || op == OpSub) ? kAdditive : kMultiplicative;
}

const char* OpSymbol(int32_t op) {
    switch (op) {
    case OpAdd:
        return " + ";
    case OpSub:
        return " - ";
    case OpMul:
        return " * ";
    default:
        return " / ";
    }
}

// Appends instead of operator+, which trips g++ 12's -Wrestrict at -O3.
std::string Cat(std::initializer_list<std::string_view> parts) {
    std::string out;
    for (const std::string_view p : parts) {
        out.append(p);
    }
    return out;
}

std::string Wrap(const Text& t) {
    return Cat({"(", t.text, ")"});
}

Text Render(const Node* nodes, int n, Notation notation) {
    const Node& node = nodes[n];
    if (node.op < 0) {
        const std::string v = std::to_string(node.value);
        const bool labels = notation == Notation::Labels;
        switch (node.power) {
        case PowSqrt:
            return {labels ? Cat({"√", v}) : Cat({"sqrt(", v, ")"})};
        case PowCbrt:
            return {labels ? Cat({v, "^(1/3)"}) : Cat({"cbrt(", v, ")"})};
        case PowSquare:
            return {Cat({v, "^2"})};
        case PowCube:
            return {Cat({v, "^3"})};
        default:
            return {v};
        }
    }
    const Text right = Render(nodes, node.right, notation);
    if (nodes[node.left].zero) {
        // The sign slot: 0 + x reads as x, 0 - x as -x.
        if (node.op == OpAdd) {
            return right;
        }
        if (right.prec == kAdditive) {
            return {Cat({"-", Wrap(right)})};
        }
        return {Cat({"-", right.text}), right.prec, right.op};
    }
    const Text left = Render(nodes, node.left, notation);
    const int prec = Precedence(node.op);
    // Left to right is the usual reading; a mixed * and / chain still gets its parentheses,
    // since integer division makes the grouping matter to the eye.
    const bool wrapLeft =
        left.prec < prec || (left.prec == prec && prec == kMultiplicative && left.op != node.op);
    const bool wrapRight = right.prec < prec || (right.prec == prec && !(node.op == OpAdd) &&
                                                 !(node.op == OpMul && right.op == OpMul));
    return {Cat({wrapLeft ? Wrap(left) : left.text, OpSymbol(node.op),
                 wrapRight ? Wrap(right) : right.text}),
            prec, node.op};
}

} // namespace

std::string FormatExpression(const ExpressionState& s, Notation notation) {
    if (!plan::IsWellFormed(s)) {
        return {};
    }
    // The evaluator's reduces, building nodes instead of values. Slot 0 is the implicit zero,
    // slot k + 1 the operand that ends at position k.
    Node nodes[2 * kPositions + 1];
    int count = 0;
    int slotNode[plan::kValueSlots] = {};
    nodes[count++].zero = true;
    int32_t run = 0;
    for (int k = 0; k < kPositions; ++k) {
        run = (k > 0 && s.op[k] == OpJoin ? run * 10 : 0) + s.digits[k];
        if (k + 1 == kPositions || s.op[k + 1] != OpJoin) {
            slotNode[k + 1] = count;
            nodes[count].value = run;
            nodes[count].power = s.power[k];
            ++count;
        }
    }
    for (const plan::Step& step : plan::PlanFor(s).steps) {
        if (step.left == plan::kPadLeft) {
            continue;
        }
        nodes[count].op = s.op[step.opPos];
        nodes[count].left = slotNode[step.left];
        nodes[count].right = slotNode[step.right];
        slotNode[step.left] = count++;
    }
    return Render(nodes, slotNode[0], notation).text;
}

} // namespace vostrel
