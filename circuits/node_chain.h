#pragma once

// What the node-voltage chains' windows, dialog and command line share
// beyond the family row: how many inner node voltages an entry needs.

#include "circuits/catalogue.h"
#include "search/node_dividers.h"

namespace ohmtrim {

// The inner node voltages (U2, U3) an entry of the node chains needs given:
// 1 where the chain has a search for each node alone (R1, R2, R3 and
// R1, R2, R3 // R4), else 2.
int InnerNodesNeeded(const CatalogueEntry& entry);

// The inner node voltages the record gives: HasU2 + HasU3.
inline int InnerNodesGiven(const NodeVoltageInput& in) {
    return (in.HasU2 != 0 ? 1 : 0) + (in.HasU3 != 0 ? 1 : 0);
}

} // namespace ohmtrim
