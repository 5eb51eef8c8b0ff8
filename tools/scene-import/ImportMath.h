#pragma once

// Transforms and light rules of the importer. The source formats (as Assimp hands them over)
// are right-handed, Y up, with column vectors; the engine is left-handed, Y up, with row
// vectors. Mirroring Z turns one into the other: the camera looks down +Z instead of -Z and
// sees the same picture, so the triangles keep their winding (the engine culls clockwise ones,
// as the sources treat counter-clockwise ones as front faces).

#include "tools/scenewriter/SceneWriter.h"

#include <assimp/matrix3x3.h>
#include <assimp/matrix4x4.h>
#include <assimp/quaternion.h>
#include <assimp/types.h>
#include <assimp/vector3.h>

#include <vector>

namespace sceneimport {

aiVector3D mirrorZ(const aiVector3D& v);
// The same transform expressed in the mirrored space: S × m × S with S = diag(1, 1, -1).
aiMatrix4x4 mirrorZ(const aiMatrix4x4& m);

// A world transform split into what a 3DF placement holds, translation and a proper rotation,
// and the rest (scale, shear, mirroring), which has to go into the vertices:
// world = translate(position) × rotation × rest.
struct SplitTransform {
    aiVector3D position;
    aiQuaternion rotation;
    aiMatrix3x3 rest;
};
SplitTransform splitTransform(const aiMatrix4x4& world);

// The placement of a static element: axis (0, 0, 0) when there is no rotation to speak of.
scenefile::Placement placementOf(const aiVector3D& position, const aiQuaternion& rotation);

// Per-frame placements whose axis and angle interpolate sensibly channel by channel, which is
// how the player blends them: the axis keeps its direction from frame to frame (an angle is
// negated rather than the axis flipped) and the angle never jumps by a full turn.
std::vector<scenefile::Placement> placementTrack(const std::vector<aiVector3D>& positions,
                                                 const std::vector<aiQuaternion>& rotations);

bool nearlyEqual(const aiMatrix3x3& a, const aiMatrix3x3& b, float tolerance);

// The engine lights with a colour of at most 1 per channel and a radius of influence; sources
// give a colour already multiplied by the intensity and a falloff 1 / (c + l·d + q·d²). The
// radius is where that falloff brings the brightest channel down to 1/256, one step of an
// 8-bit colour; a source without any falloff is treated as inverse-square.
float lightRadius(const aiColor3D& color, float constant, float linear, float quadratic);
// The colour scaled down so that its brightest channel is at most 1.
scenefile::Vec3 lightColor(const aiColor3D& color);

// The engine has only point lights. A light from far away along `direction` (a directional
// light, or the key light a scene without lights is given) becomes one placed ten bounding
// radii back from the centre of the box `low`..`high`, with a radius so large that the engine's
// falloff, 1 / (1 + 22 (d / radius)^2), still gives 0.85 of its colour at the centre and varies
// by under 6 % across the box: nearly the even light of a far sun.
scenefile::Light distantLight(const aiVector3D& direction, const aiVector3D& low,
                              const aiVector3D& high, const scenefile::Vec3& color);

// Where a key light shines from when a scene brings none: from above and behind a camera
// looking along `view` (straight down where there is no camera to be behind).
aiVector3D keyLightDirection(const aiVector3D* view);

// A camera named "Orbit" that circles the box `low`..`high` once over `frames` samples, looking
// at its centre from a little above, far enough back for the whole box to fit its picture.
scenefile::Camera orbitCamera(const aiVector3D& low, const aiVector3D& high, int frames);

// The engine wants a camera's vertical angle; Assimp reports the horizontal one and the aspect
// ratio. For glTF it made the horizontal angle as yfov × aspect, which `scaledLinearly` undoes
// exactly; other formats give the true horizontal angle of the picture.
float verticalFov(float horizontalFov, float aspect, bool scaledLinearly);

} // namespace sceneimport
