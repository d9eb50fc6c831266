#pragma once
// Controller fields of the shared context: the main state and the install sequence's fields.
#include <cstdint>

struct ControllerFields {
    std::int32_t mainState = 0;
};
