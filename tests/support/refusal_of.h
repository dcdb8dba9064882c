// A result's refusal as an optional, for assertions that read "refused with these words" or "not
// refused" in one comparison.
#pragma once

#include "core/expected.h"

#include <optional>

namespace dieprofile::testing {

template <typename T, typename E> std::optional<E> RefusalOf(const Expected<T, E>& result) {
    if (result) {
        return std::nullopt;
    }
    return result.Error();
}

} // namespace dieprofile::testing
