#pragma once
#include "generators/world/world_patch.hpp"

// Where slopes end and cliffs begin: a rise from level L to L + 1 is a
// slope below `first_cliff`, a cliff from it on.
int world_first_cliff(int levels);

// How far a corner's level, rise and ground reach: they depend on the
// fields of corners up to this far away.
int world_level_reach(int levels);

// Fills the patch's terrains and levels from the fields, then its rises.
// Rising cells keep the terrains of their corners: a hill is meadow, grass
// or rock as the ground it rises through.
void grow_world_patch(WorldPatch& patch, const WorldRequest& request);
