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

aiVector3D sampleVector(const aiVectorKey* keys, unsigned count, double ticks,
                        const aiVector3D& fallback) {
    if (count == 0) {
        return fallback;
    }
    const unsigned i = keyBefore(keys, count, ticks);
    const float t = blendOf(keys, count, i, ticks);
    if (t == 0.0f) {
        return keys[i].mValue;
    }
    return keys[i].mValue + (keys[i + 1].mValue - keys[i].mValue) * t;
}

aiQuaternion sampleRotation(const aiQuatKey* keys, unsigned count, double ticks,
                            const aiQuaternion& fallback) {
    if (count == 0) {
        return fallback;
    }
    const unsigned i = keyBefore(keys, count, ticks);
    const float t = blendOf(keys, count, i, ticks);
    if (t == 0.0f) {
        return keys[i].mValue;
    }
    aiQuaternion out;
    aiQuaternion::Interpolate(out, keys[i].mValue, keys[i + 1].mValue, t);
    return out.Normalize();
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
    position = sampleVector(keys.mPositionKeys, keys.mNumPositionKeys, ticks, position);
    rotation = sampleRotation(keys.mRotationKeys, keys.mNumRotationKeys, ticks, rotation);
    scaling = sampleVector(keys.mScalingKeys, keys.mNumScalingKeys, ticks, scaling);
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
