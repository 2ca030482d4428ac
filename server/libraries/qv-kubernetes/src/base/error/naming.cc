#include "base/error/naming.h"

#include <array>

namespace base::error::naming {
namespace {

constexpr std::array<catalog::Descriptor, 3> kSegments = {
    catalog::unit(0, "Component", "component"),
    catalog::unit(1, "Name", "name"),
    catalog::unit(2, "WorkerId", "workerid"),
};

const catalog::Descriptor& descriptor(NameSegment segment) { return kSegments.at(static_cast<std::size_t>(segment)); }

}  // namespace

std::string_view message(NameSegment segment) { return descriptor(segment).message; }

std::string_view debug_name(NameSegment segment) { return descriptor(segment).name; }

catalog::Entry entry(NameSegment segment) { return catalog::Entry(descriptor(segment), {}); }

}  // namespace base::error::naming
