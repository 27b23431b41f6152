#pragma once

namespace voxquad {

class GenericVolumeStorage;
class PolygonStorage;

// Moves each polygon midpoint of the marching-cubes mesh onto the nearest feature point stored in
// the eight cells around it, when one lies within sqrt(3) / 2, and takes over that cell's feature
// kind; the dual vertex the midpoint becomes then lies on the crease or corner.
void TransferFeaturePointsToMidpoints(PolygonStorage& marchingMesh, GenericVolumeStorage& volume);

}  // namespace voxquad
