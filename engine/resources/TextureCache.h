#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

class Texture;

// The program's textures by file name (case-sensitive): each name is loaded once, on its first
// request, and kept until the cache goes away; names whose file would not load keep an empty
// texture, so they are not tried again.
class TextureCache {
public:
    TextureCache() = default;
    ~TextureCache(); // releases every texture, in key order
    TextureCache(const TextureCache&) = delete;
    TextureCache& operator=(const TextureCache&) = delete;

    // Never null.
    Texture* get(const char* name);

    // Called once for each name whose texture would not load, with the reason. The show uses
    // it to say which texture it plays on without; by default a failure is silent.
    std::function<void(const char* name, const char* reason)> onLoadFailure;

    size_t size() const { return m_textures.size(); }

    // The name a texture of this cache was requested by; null for one it does not hold.
    // Tools use it to report what a scene refers to.
    const char* nameOf(const Texture* texture) const;

    // Every name requested so far, in key order.
    std::vector<std::string> names() const;

private:
    std::map<std::string, Texture*> m_textures;
};
