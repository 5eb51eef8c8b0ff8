#pragma once

#include "engine/core/GrowArray.h"
#include "engine/core/Matrix4.h"

#include <cstdint>

class Texture;

// A camera-facing textured square in world space. Owned by whoever queues it; the particle pass
// writes `depthKey` and reorders the queue's pointers.
struct Particle {
    Texture* texture = nullptr; // null draws with whatever stage 0 already holds
    Vec4 position;              // centre; w takes part in the depth computation
    Vec4 colour;
    float size = 1.0f; // half the side of the square
    int32_t blendMode = 0;
    float depthKey = 0.0f;
};

// One corner of a particle: the corner offset, the colour, and the particle's centre and size,
// which the vertex program turns into a camera-facing square (XYZ | DIFFUSE | TEX1 with a
// four-component coordinate set).
struct ParticleVertex {
    float cornerX, cornerY, cornerZ;
    uint32_t colour;
    float centreX, centreY, centreZ;
    float size;
};
static_assert(sizeof(ParticleVertex) == 32, "the particle vertex is 32 bytes");

constexpr uint32_t kParticleFvf = 0x20142;

// Stores in each particle the third component of its position times viewProjection (not
// divided by w).
void computeDepthKeys(GrowArray<Particle*>& particles, const Matrix4& viewProjection);

// Sorts by depthKey, farthest (largest) first. Particles of equal keys are never swapped with
// each other by the partition step itself.
void sortParticlesFarToNear(GrowArray<Particle*>& particles);

// Appends the six vertices of `particle`.
void appendParticleVertices(GrowArray<ParticleVertex>& vertices, const Particle& particle);
