#pragma once
#include <QString>
#include <cstdint>

// The Russian description under which the tree shows an integer resource type.
QString ResTypeDescription(std::uint32_t type);
