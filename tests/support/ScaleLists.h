#pragma once
// Changes made to the virtual scale's PLU list behind the program's back.

#include <cstdint>
#include <optional>
#include <vector>

#include "VirtualScale.h"

// Takes PLU `gone` out and puts in PLU `added`, a copy of the first PLU, at `price` if given.
inline void SwapPlu(sim::VirtualScale& scale, int gone, int added,
                    std::optional<int> price = std::nullopt) {
    std::vector<sim::PluRecord> kept = scale.Plus();
    scale.ClearPlus();
    for (const auto& record : kept)
        if (record.plu != gone) scale.PutPlu(record);
    sim::PluRecord copy = kept.front();
    copy.plu = static_cast<std::uint16_t>(added);
    if (price) copy.price = *price;
    scale.PutPlu(copy);
}
