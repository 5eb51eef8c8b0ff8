#include "SceneReport.h"

#include "engine/resources/Texture.h"
#include "engine/resources/TextureCache.h"
#include "engine/scene/Scene.h"

#include <d3dx9.h>

#include <string>

namespace {

int faceCount(const SceneObject& object) {
    return object.mesh != nullptr ? static_cast<int>(object.mesh->GetNumFaces()) : 0;
}

int vertexCount(const SceneObject& object) {
    return object.mesh != nullptr ? static_cast<int>(object.mesh->GetNumVertices()) : 0;
}

int materialIndex(const Scene& scene, const SceneObject& object) {
    for (int i = 0; i < scene.materials.count(); ++i) {
        if (&scene.materials[i] == object.material) {
            return i;
        }
    }
    return -1;
}

std::string jsonString(const char* s) {
    std::string out = "\"";
    for (; *s != 0; ++s) {
        const unsigned char c = static_cast<unsigned char>(*s);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

const char* textureName(const TextureCache& textures, const Texture* texture) {
    const char* name = texture != nullptr ? textures.nameOf(texture) : nullptr;
    return name != nullptr ? name : "";
}

const char* loaded(const Texture* texture) {
    return texture == nullptr || !texture->empty() ? "" : " (not loaded)";
}

void vec3(FILE* out, const Vec4& v) {
    std::fprintf(out, "(%g, %g, %g)", v.x, v.y, v.z);
}

void jsonVec3(FILE* out, const Vec4& v) {
    std::fprintf(out, "[%g, %g, %g]", v.x, v.y, v.z);
}

} // namespace

void printSceneText(const Scene& scene, const TextureCache& textures, FILE* out) {
    std::fprintf(out, "version 110, %d frames, scene %sanimated\n", scene.frameCount,
                 scene.sceneTrack1.count() > 0 ? "" : "not ");
    int triangles = 0;
    for (const SceneObject& o : scene.objects) {
        triangles += faceCount(o);
    }
    std::fprintf(out, "%d materials, %d objects (%d triangles), %d lights, %d cameras\n",
                 scene.materials.count(), scene.objects.count(), triangles, scene.lights.count(),
                 scene.cameras.count());
    for (int i = 0; i < scene.materials.count(); ++i) {
        const Material& m = scene.materials[i];
        std::fprintf(out, "material %d: diffuse ", i);
        vec3(out, m.diffuseColor);
        std::fprintf(out, " glow ");
        vec3(out, m.glowColor);
        std::fprintf(out, "\n  normal map %s%s, colour texture %s%s%s%s\n",
                     textureName(textures, m.normalMap), loaded(m.normalMap),
                     m.colorTexture != nullptr ? textureName(textures, m.colorTexture) : "(none)",
                     loaded(m.colorTexture), m.alphaTest ? ", alpha test" : "",
                     m.selfIllum ? ", self-illuminated" : "");
    }
    for (int i = 0; i < scene.objects.count(); ++i) {
        const SceneObject& o = scene.objects[i];
        std::fprintf(out, "object %d: material %d, %d vertices, %d faces, box ", i,
                     materialIndex(scene, o), vertexCount(o), faceCount(o));
        vec3(out, o.boundsMin);
        std::fprintf(out, " - ");
        vec3(out, o.boundsMax);
        std::fprintf(out, "%s\n", o.animated ? ", animated" : "");
    }
    for (int i = 0; i < scene.lights.count(); ++i) {
        const Light& l = scene.lights[i];
        std::fprintf(out, "light %d: colour ", i);
        vec3(out, l.staticColor);
        std::fprintf(out, " at ");
        vec3(out, l.staticPosition);
        std::fprintf(out, " radius %g%s\n", l.staticRadius, l.animated ? ", animated" : "");
    }
    for (int i = 0; i < scene.cameras.count(); ++i) {
        const Camera& c = scene.cameras[i];
        std::fprintf(out, "camera %d \"%s\": eye ", i, c.name);
        vec3(out, c.eye);
        std::fprintf(out, " target ");
        vec3(out, c.target);
        std::fprintf(out, " fov %g%s\n", c.fov, c.animated ? ", animated" : "");
    }
}

void printSceneJson(const Scene& scene, const TextureCache& textures, FILE* out) {
    std::fprintf(out, "{\n  \"version\": 110,\n  \"frameCount\": %d,\n  \"sceneAnimated\": %s,\n",
                 scene.frameCount, scene.sceneTrack1.count() > 0 ? "true" : "false");
    std::fprintf(out, "  \"materials\": [");
    for (int i = 0; i < scene.materials.count(); ++i) {
        const Material& m = scene.materials[i];
        std::fprintf(out, "%s\n    {\"diffuse\": ", i > 0 ? "," : "");
        jsonVec3(out, m.diffuseColor);
        std::fprintf(out, ", \"glow\": ");
        jsonVec3(out, m.glowColor);
        std::fprintf(out,
                     ", \"normalMap\": %s, \"colorTexture\": %s, \"alphaTest\": %s, "
                     "\"selfIllum\": %s}",
                     jsonString(textureName(textures, m.normalMap)).c_str(),
                     m.colorTexture != nullptr
                         ? jsonString(textureName(textures, m.colorTexture)).c_str()
                         : "null",
                     m.alphaTest ? "true" : "false", m.selfIllum ? "true" : "false");
    }
    std::fprintf(out, "\n  ],\n  \"objects\": [");
    for (int i = 0; i < scene.objects.count(); ++i) {
        const SceneObject& o = scene.objects[i];
        std::fprintf(out,
                     "%s\n    {\"material\": %d, \"vertices\": %d, \"faces\": %d, \"boxMin\": ",
                     i > 0 ? "," : "", materialIndex(scene, o), vertexCount(o), faceCount(o));
        jsonVec3(out, o.boundsMin);
        std::fprintf(out, ", \"boxMax\": ");
        jsonVec3(out, o.boundsMax);
        std::fprintf(out, ", \"animated\": %s}", o.animated ? "true" : "false");
    }
    std::fprintf(out, "\n  ],\n  \"lights\": [");
    for (int i = 0; i < scene.lights.count(); ++i) {
        const Light& l = scene.lights[i];
        std::fprintf(out, "%s\n    {\"color\": ", i > 0 ? "," : "");
        jsonVec3(out, l.staticColor);
        std::fprintf(out, ", \"position\": ");
        jsonVec3(out, l.staticPosition);
        std::fprintf(out, ", \"radius\": %g, \"animated\": %s}", l.staticRadius,
                     l.animated ? "true" : "false");
    }
    std::fprintf(out, "\n  ],\n  \"cameras\": [");
    for (int i = 0; i < scene.cameras.count(); ++i) {
        const Camera& c = scene.cameras[i];
        std::fprintf(out, "%s\n    {\"name\": %s, \"eye\": ", i > 0 ? "," : "",
                     jsonString(c.name).c_str());
        jsonVec3(out, c.eye);
        std::fprintf(out, ", \"target\": ");
        jsonVec3(out, c.target);
        std::fprintf(out, ", \"fov\": %g, \"animated\": %s}", c.fov, c.animated ? "true" : "false");
    }
    std::fprintf(out, "\n  ]\n}\n");
}
