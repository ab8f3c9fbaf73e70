#include "function.h"

#include <algorithm>

namespace squirrel::detail {

std::int32_t FunctionProto::lineAt(std::uint32_t pc) const {
    if (lines.empty())
        return -1;
    auto it = std::upper_bound(lines.begin(), lines.end(), pc,
                               [](std::uint32_t p, const LineInfo& info) { return p < info.pc; });
    if (it == lines.begin())
        return lines.front().line;
    return (it - 1)->line;
}

Closure::Closure(GCObject*& listHead, FunctionProto* proto)
    : GCObject(Tag::Closure, listHead), proto(proto) {
    addRef(proto);
}

Closure::~Closure() {
    releaseRef(proto);
}

} // namespace squirrel::detail
