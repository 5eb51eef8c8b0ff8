#include "engine/resources/TextureCache.h"

#include "engine/resources/Texture.h"

TextureCache::~TextureCache() {
    for (auto& entry : m_textures) {
        entry.second->release();
        delete entry.second;
    }
    m_textures.clear();
}

Texture* TextureCache::get(const char* name) {
    const std::string key = name != nullptr ? name : "";
    auto found = m_textures.find(key);
    if (found != m_textures.end()) {
        return found->second;
    }
    Texture* texture = new Texture;
    const char* failure = key.empty() ? nullptr : texture->load(key.c_str());
    if (failure != nullptr && onLoadFailure) {
        onLoadFailure(key.c_str(), failure);
    }
    m_textures.emplace(key, texture);
    return texture;
}

const char* TextureCache::nameOf(const Texture* texture) const {
    for (const auto& entry : m_textures) {
        if (entry.second == texture) {
            return entry.first.c_str();
        }
    }
    return nullptr;
}

std::vector<std::string> TextureCache::names() const {
    std::vector<std::string> result;
    result.reserve(m_textures.size());
    for (const auto& entry : m_textures) {
        result.push_back(entry.first);
    }
    return result;
}
