#pragma once

// Node transforms over time: every animation of the file plays at once from time 0, each
// channel replacing its node's own transform while the clip lasts and holding its end keys
// afterwards.

#include <assimp/matrix4x4.h>
#include <assimp/scene.h>

#include <map>
#include <string>

namespace sceneimport {

class NodeAnimation {
public:
    explicit NodeAnimation(const aiScene& scene);

    // Seconds of the longest animation; 0 for a file without any.
    double duration() const { return m_duration; }

    // True when the node or one of its ancestors has an animation channel.
    bool moves(const aiNode* node) const;

    // The node's transform relative to the scene's root at `seconds`, in the file's own space.
    aiMatrix4x4 global(const aiNode* node, double seconds) const;

private:
    struct Channel {
        const aiNodeAnim* keys = nullptr;
        double ticksPerSecond = 0.0;
    };
    aiMatrix4x4 local(const aiNode* node, double seconds) const;

    std::map<std::string, Channel> m_channels;
    double m_duration = 0.0;
};

} // namespace sceneimport
