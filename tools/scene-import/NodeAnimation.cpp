#include "tools/scene-import/NodeAnimation.h"

#include <algorithm>

namespace sceneimport {

namespace {

// Assimp's documented fallback when a file gives no tick rate.
constexpr double kDefaultTicksPerSecond = 25.0;

// The index of the last key at or before `ticks`, 0 before the first.
template <typename Key> unsigned keyBefore(const Key* keys, unsigned count, double ticks) {
    const Key* end = keys + count;
    const Key* after =
        std::upper_bound(keys, end, ticks, [](double t, const Key& k) { return t < k.mTime; });
    return after == keys ? 0u : static_cast<unsigned>(after - keys - 1);
}

template <typename Key> float blendOf(const Key* keys, unsigned count, unsigned i, double ticks) {
    if (i + 1 >= count || keys[i + 1].mTime <= keys[i].mTime) {
        return 0.0f;
    }
    const double t = (ticks - keys[i].mTime) / (keys[i + 1].mTime - keys[i].mTime);
    return static_cast<float>(std::clamp(t, 0.0, 1.0));
}

aiVector3D interpolate(const aiVector3D& a, const aiVector3D& b, float t) {
    return a + (b - a) * t;
}

aiQuaternion interpolate(const aiQuaternion& a, const aiQuaternion& b, float t) {
    aiQuaternion out;
    aiQuaternion::Interpolate(out, a, b, t);
    return out.Normalize();
}

// The keys' value at `ticks`, blended between the two keys around it; `fallback` without keys.
template <typename Key, typename Value>
Value sample(const Key* keys, unsigned count, double ticks, const Value& fallback) {
    if (count == 0) {
        return fallback;
    }
    const unsigned i = keyBefore(keys, count, ticks);
    const float t = blendOf(keys, count, i, ticks);
    return t == 0.0f ? keys[i].mValue : interpolate(keys[i].mValue, keys[i + 1].mValue, t);
}

} // namespace

NodeAnimation::NodeAnimation(const aiScene& scene) {
    for (unsigned a = 0; a < scene.mNumAnimations; ++a) {
        const aiAnimation* animation = scene.mAnimations[a];
        const double rate =
            animation->mTicksPerSecond > 0.0 ? animation->mTicksPerSecond : kDefaultTicksPerSecond;
        m_duration = std::max(m_duration, animation->mDuration / rate);
        for (unsigned c = 0; c < animation->mNumChannels; ++c) {
            const aiNodeAnim* channel = animation->mChannels[c];
            m_channels[channel->mNodeName.C_Str()] = Channel{channel, rate};
        }
    }
}

bool NodeAnimation::moves(const aiNode* node) const {
    for (; node != nullptr; node = node->mParent) {
        if (m_channels.count(node->mName.C_Str()) != 0) {
            return true;
        }
    }
    return false;
}

aiMatrix4x4 NodeAnimation::local(const aiNode* node, double seconds) const {
    const auto found = m_channels.find(node->mName.C_Str());
    if (found == m_channels.end()) {
        return node->mTransformation;
    }
    aiVector3D scaling;
    aiQuaternion rotation;
    aiVector3D position;
    node->mTransformation.Decompose(scaling, rotation, position);
    const aiNodeAnim& keys = *found->second.keys;
    const double ticks = seconds * found->second.ticksPerSecond;
    position = sample(keys.mPositionKeys, keys.mNumPositionKeys, ticks, position);
    rotation = sample(keys.mRotationKeys, keys.mNumRotationKeys, ticks, rotation);
    scaling = sample(keys.mScalingKeys, keys.mNumScalingKeys, ticks, scaling);
    return aiMatrix4x4(scaling, rotation, position);
}

aiMatrix4x4 NodeAnimation::global(const aiNode* node, double seconds) const {
    aiMatrix4x4 m;
    for (; node != nullptr; node = node->mParent) {
        m = local(node, seconds) * m;
    }
    return m;
}

} // namespace sceneimport
