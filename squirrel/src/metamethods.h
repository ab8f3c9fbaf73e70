// The metamethods: functions in a table's delegate or in a class that change how the machine
// treats the table or the class's instances.
#pragma once

#include <cstdint>

namespace squirrel::detail {

enum class Meta : std::uint8_t {
    Add,
    Sub,
    Mul,
    Div,
    Modulo,
    Unm,
    Set,
    Get,
    Typeof,
    Nexti,
    Cmp,
    Call,
    Cloned,
    NewSlot,
    DelSlot,
    ToString,
    NewMember,
    Inherited,
    Count,
};

constexpr std::size_t kMetaCount = static_cast<std::size_t>(Meta::Count);

// The name scripts define it under ("_add", ...).
const char* metaName(Meta meta);

} // namespace squirrel::detail
