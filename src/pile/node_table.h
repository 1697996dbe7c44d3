// The node table of the pile being solved: per-slot working arrays of 107 slots. Slots 2 and 3
// are the imaginary nodes above the head, slot 4 the head (node 1), slot n+4 the tip, slots n+5
// and n+6 the imaginary nodes below the tip and slot n+7 a zero pad. Node k is slot k+3.
#pragma once

#include "input/analysis_model.h"
#include "io/table.h"

namespace tavro {

inline constexpr int kNodeSlots = kMaxIncrements + 7;
inline constexpr int kHeadSlot = 4;

/// The slot of real node k (1 the head).
constexpr int nodeSlot(int node) { return node + 3; }

struct NodeTable {
  int nIncrements;  // n; the pile has n+1 real nodes
  double spacing;   // h, the distance between two nodes

  Table<double, kNodeSlots> x;        // node coordinate, in the frame of the soil layers
  Table<double, kNodeSlots> width;    // pile width at the node
  Table<double, kNodeSlots> deflectionY;
  Table<double, kNodeSlots> deflectionZ;
  Table<double, kNodeSlots> bendingStiffnessY;  // EI for deflection in y
  Table<double, kNodeSlots> bendingStiffnessZ;  // EI for deflection in z
  Table<double, kNodeSlots> axialForce;         // Q, compression positive
  /// Right-hand side load per length of each direction: the distributed load and, with soil
  /// movement, Es times the movement; and the distributed loads alone, kept to rebuild it.
  Table<double, kNodeSlots> loadY;
  Table<double, kNodeSlots> loadZ;
  Table<double, kNodeSlots> distributedLoadY;
  Table<double, kNodeSlots> distributedLoadZ;

  // Exchanged with the p-y evaluation.
  Table<double, kNodeSlots> pyDeflection;   // resultant lateral deflection of the node
  Table<double, kNodeSlots> soilMovementY;  // soil movement at the node, local y and z
  Table<double, kNodeSlots> soilMovementZ;
  Table<double, kNodeSlots> soilModulus;    // Es, secant p/y with factors applied
  Table<double, kNodeSlots> soilReaction;   // signed soil reaction P
  Table<double, kNodeSlots> movementLoad;   // Es times the soil movement (with soil movement)

  /// First and last node of the pile inside each soil layer; 0 when the pile misses it.
  Table<int, kMaxSoilLayers> layerFirstNode;
  Table<int, kMaxSoilLayers> layerLastNode;

  int nNodes() const { return nIncrements + 1; }
};

}  // namespace tavro
