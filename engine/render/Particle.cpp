#include "engine/render/Particle.h"

#include <utility>

namespace {

// Quicksort over [lo, hi], largest key first. Only the smaller-index side recurses; the other
// side is handled by the loop.
void sortRange(Particle** items, int lo, int hi) {
    while (hi > lo) {
        const float pivot = items[(lo + hi) / 2]->depthKey;
        int i = lo;
        int j = hi;
        for (;;) {
            while (items[i]->depthKey > pivot) {
                ++i;
            }
            while (items[j]->depthKey < pivot) {
                --j;
            }
            if (i > j) {
                break;
            }
            if (items[i]->depthKey != items[j]->depthKey) {
                std::swap(items[i], items[j]);
            }
            ++i;
            --j;
            if (i > j) {
                break;
            }
        }
        sortRange(items, lo, j);
        lo = i;
    }
}

ParticleVertex corner(float x, float y, uint32_t colour, const Particle& particle) {
    return ParticleVertex{x,
                          y,
                          0.0f,
                          colour,
                          particle.position.x,
                          particle.position.y,
                          particle.position.z,
                          particle.size};
}

} // namespace

void computeDepthKeys(GrowArray<Particle*>& particles, const Matrix4& viewProjection) {
    for (Particle* particle : particles) {
        particle->depthKey = viewProjection.transform(particle->position).z;
    }
}

void sortParticlesFarToNear(GrowArray<Particle*>& particles) {
    if (particles.count() > 1) {
        sortRange(particles.begin(), 0, particles.count() - 1);
    }
}

void appendParticleVertices(GrowArray<ParticleVertex>& vertices, const Particle& particle) {
    const uint32_t colour = colorToArgb(particle.colour);
    vertices.append(corner(-1.0f, -1.0f, colour, particle));
    vertices.append(corner(-1.0f, 1.0f, colour, particle));
    vertices.append(corner(1.0f, -1.0f, colour, particle));
    vertices.append(corner(1.0f, -1.0f, colour, particle));
    vertices.append(corner(-1.0f, 1.0f, colour, particle));
    vertices.append(corner(1.0f, 1.0f, colour, particle));
}
