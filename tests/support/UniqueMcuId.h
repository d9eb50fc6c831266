#pragma once
// Controller ids for end-to-end tests: each test registers its own interface row on the shared
// catalogue, so ids must not repeat across tests or test processes running at the same time.
#include <cstdint>

#include "config/ConfigCodecs.h"

// A fresh id whose first byte is marker, so the rows of one kind of test can be told apart.
McuId UniqueMcuId(std::uint8_t marker);
