// The bytecode. Every instruction is eight bytes: an operation, three register operands and a
// 32-bit operand used for constants, immediates and relative jumps. Registers are slots of the
// current frame; register 0 holds `this`, the parameters follow.
#pragma once

#include <cstdint>

namespace squirrel::detail {

enum class Op : std::uint8_t {
    LoadNull,    // R[a .. a+d-1] = null
    LoadInt,     // R[a] = d
    LoadFloat,   // R[a] = float with the bits of d
    LoadBool,    // R[a] = d != 0
    LoadConst,   // R[a] = K[d]
    LoadRoot,    // R[a] = root table
    Move,        // R[a] = R[b]
    GetOuter,    // R[a] = free variable d
    SetOuter,    // free variable d = R[b]
    NewTable,    // R[a] = {} sized for d slots
    NewArray,    // R[a] = [] with room for d items
    Append,      // R[a].append(R[b])
    NewSlot,     // R[a][R[b]] <- R[c]
    NewSlotK,    // R[a][K[d]] <- R[c]
    Get,         // R[a] = R[b][R[c]]
    GetK,        // R[a] = R[b][K[d]]
    Set,         // R[a][R[b]] = R[c]
    SetK,        // R[a][K[d]] = R[c]
    GetThis,     // R[a] = this[K[d]], falling back to the root table
    SetThis,     // this[K[d]] = R[c] when this has the slot, otherwise root[K[d]] = R[c]
    PrepCall,    // R[a] = R[b][R[c]]; R[a+1] = R[b]
    PrepCallK,   // R[a] = R[b][K[d]]; R[a+1] = R[b]
    Delete,      // R[a] = delete R[b][R[c]]
    In,          // R[a] = R[b] in R[c]
    InstanceOf,  // R[a] = R[b] instanceof R[c]
    TypeOf,      // R[a] = typeof R[b]
    Clone,       // R[a] = clone R[b]
    SetDelegate, // R[a] = R[c] after setting its delegate to R[b]
    Add,         // R[a] = R[b] + R[c]
    Sub,
    Mul,
    Div,
    Mod,
    ArithI, // R[a] = R[b] (c: '+' or '-') d
    Neg,    // R[a] = -R[b]
    Not,    // R[a] = !R[b]
    BitNot, // R[a] = ~R[b]
    BitAnd, // R[a] = R[b] & R[c]
    BitOr,
    BitXor,
    Shl,
    Shr,
    UShr,
    Eq, // R[a] = R[b] == R[c]
    Ne,
    Lt,
    Le,
    Gt,
    Ge,
    Cmp,        // R[a] = R[b] <=> R[c]
    Jmp,        // pc += d
    JmpIfTrue,  // if R[a] is true: pc += d
    JmpIfFalse, // if R[a] is false: pc += d
    JfEq,       // unless R[b] == R[c]: pc += d
    JfNe,
    JfLt,
    JfLe,
    JfGt,
    JfGe,
    Call,       // R[a] = R[b](R[b+1] as this, R[b+2] .. R[b+c-1]); c counts this
    TailCall,   // return R[b](R[b+1] .. R[b+c-1]) reusing the frame
    Return,     // return R[a]
    ReturnNull, // return null
    Closure,    // R[a] = closure of function d; defaults from R[b]; environment R[c] unless 255
    Foreach,    // R[a] container, R[a+1] iterator, R[a+2] key, R[a+3] value; pc += d at the end
    PushTrap,   // on an error: R[a] = the error, continue at pc + d
    PopTrap,    // drop the d innermost traps
    Throw,      // raise R[a]
    NewClass,   // R[a] = class with base R[b] and attributes R[c] (255: none)
    NewMember,  // add member K=R[b], value R[c] to class R[a]; attributes R[d & 255] unless
                // 255, static when d & 256
    GetBase,    // R[a] = base class of the running method's class
    GetParent,  // R[a] = R[b].parent (delegate of a table, base of a class)
    Yield,      // suspend the generator, handing R[a] (null when a is 255) to its resumer
    Resume,     // R[a] = resume R[b]
    JfLtK,      // unless R[b] < K[c]: pc += d
    JfLeK,
    JfGtK,
    JfGeK,
    MulK, // R[a] = R[b] * K[c]
    DivK,
    ModK,
    BitAndK,
    BitOrK,
    BitXorK,
    ShlK,
    ShrK,
    UShrK,
    PrepCallThis, // R[a] = this[K[d]] as GetThis; R[a+1] = this
    PrepLocal,    // R[a] = R[b]; R[a+1] = this: a call of a local with the caller's `this`
    // The step and the test of a for loop in one: R[b] = R[b] + (a & 127), or - when a & 128,
    // as ArithI; then the Jf operation of the same name, on R[b] and R[c] (K[c] for the K forms)
    // with the jump d.
    StepJfLt,
    StepJfLe,
    StepJfGt,
    StepJfGe,
    StepJfLtK,
    StepJfLeK,
    StepJfGtK,
    StepJfGeK,
};

struct Instr {
    Op op;
    std::uint8_t a;
    std::uint8_t b;
    std::uint8_t c;
    std::int32_t d;
};

static_assert(sizeof(Instr) == 8, "instructions are eight bytes");

constexpr std::uint8_t kNoRegister = 255;

} // namespace squirrel::detail
