#include "tools/scene-import/TexturePlacement.h"

#include "tools/scene-import/ImageConversion.h"

#include "tools/scene-import/CutoutTexture.h"
#include "tools/scenewriter/SceneWriter.h"

#include "tools/showgen/Image.h"
#include "tools/showgen/ImageFiles.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>

namespace sceneimport {

namespace {

enum class ImageKind { Jpeg, Png, Other };

ImageKind sniff(const uint8_t* bytes, size_t size) {
    if (size >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) {
        return ImageKind::Jpeg;
    }
    if (size >= 8 && std::memcmp(bytes, "\x89PNG\r\n\x1a\n", 8) == 0) {
        return ImageKind::Png;
    }
    return ImageKind::Other;
}

bool readFile(const std::string& path, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

std::string baseName(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string stem(const std::string& name) {
    const size_t dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

// Names go into a show folder and through the archive reader: keep to a portable set.
std::string portable(const std::string& name) {
    std::string out;
    for (const char c : name) {
        const unsigned char u = static_cast<unsigned char>(c);
        out += std::isalnum(u) || c == '-' || c == '_' || c == '.' ? c : '_';
    }
    return out.empty() ? std::string("texture") : out;
}

// Raw texels, as Assimp gives images it decoded itself: written out as PNG, which keeps alpha.
std::vector<uint8_t> rawToPng(const aiTexture& texture) {
    showgen::Image image(static_cast<int>(texture.mWidth), static_cast<int>(texture.mHeight));
    for (unsigned y = 0; y < texture.mHeight; ++y) {
        for (unsigned x = 0; x < texture.mWidth; ++x) {
            const aiTexel& t = texture.pcData[y * texture.mWidth + x];
            image.set(static_cast<int>(x), static_cast<int>(y),
                      showgen::Colour(t.r / 255.0, t.g / 255.0, t.b / 255.0, t.a / 255.0));
        }
    }
    return showgen::encodePng(image);
}

} // namespace

TexturePlacement::TexturePlacement(const aiScene& scene, std::string sourceDir,
                                   std::string recordedPrefix, Warnings& warnings)
    : m_scene(scene), m_sourceDir(std::move(sourceDir)), m_prefix(std::move(recordedPrefix)),
      m_warnings(warnings) {}

std::string TexturePlacement::claim(const std::string& wanted) {
    std::string name = portable(wanted);
    const std::string base = stem(name);
    const std::string ext = name.substr(base.size());
    for (int n = 2; std::any_of(m_files.begin(), m_files.end(),
                                [&](const TextureFile& t) { return t.fileName == name; });
         ++n) {
        name = base + "_" + std::to_string(n) + ext;
    }
    return name;
}

bool TexturePlacement::image(const std::string& path, Image& out) {
    if (const aiTexture* embedded = m_scene.GetEmbeddedTexture(path.c_str())) {
        out.name = embedded->mFilename.length > 0 ? stem(baseName(embedded->mFilename.C_Str()))
                                                  : std::string();
        if (out.name.empty() || out.name[0] == '*') {
            out.name = "embedded_" + portable(path.substr(path[0] == '*' ? 1 : 0));
        }
        if (embedded->mHeight == 0) {
            const auto* bytes = reinterpret_cast<const uint8_t*>(embedded->pcData);
            out.bytes.assign(bytes, bytes + embedded->mWidth);
        } else {
            out.bytes = rawToPng(*embedded);
        }
    } else {
        std::string file = path;
        std::replace(file.begin(), file.end(), '\\', '/');
        if (file.empty() || file[0] != '/') {
            file = m_sourceDir + file;
        }
        if (!readFile(file, out.bytes)) {
            m_warnings.add("texture " + path + " cannot be read: left out");
            return false;
        }
        out.name = stem(baseName(file));
        out.source = file;
    }
    ImageKind kind = sniff(out.bytes.data(), out.bytes.size());
    if (kind == ImageKind::Other) {
        std::vector<uint8_t> png = convertToPng(out.bytes);
        if (png.empty()) {
            m_warnings.add("texture " + (out.source.empty() ? out.name : path) +
                           " is no image that can be read: left out");
            return false;
        }
        out.bytes = std::move(png);
        out.source.clear(); // written from the converted bytes, not copied
        kind = ImageKind::Png;
    }
    out.name += kind == ImageKind::Png ? ".png" : ".jpg";
    return true;
}

std::string TexturePlacement::record(TextureFile file) {
    const std::string recorded = m_prefix + file.fileName;
    if (recorded.size() >= scenefile::kNameSize) {
        m_warnings.add("texture name " + recorded + " is too long for the file: left out");
        return "";
    }
    m_files.push_back(std::move(file));
    return recorded;
}

std::string TexturePlacement::place(const std::string& path) {
    const auto known = m_placed.find(path);
    if (known != m_placed.end()) {
        return known->second;
    }
    std::string recorded;
    Image picture;
    if (image(path, picture)) {
        TextureFile file;
        file.fileName = claim(picture.name);
        file.source = picture.source;
        if (file.source.empty()) {
            file.bytes = std::move(picture.bytes);
        }
        recorded = record(std::move(file));
    }
    m_placed[path] = recorded;
    return recorded;
}

std::string TexturePlacement::placeCutout(const std::string& colourPath,
                                          const std::string& maskPath) {
    const std::string key = colourPath + '\n' + maskPath;
    const auto known = m_placed.find(key);
    if (known != m_placed.end()) {
        return known->second;
    }
    Image colour;
    Image mask;
    std::string recorded;
    if (image(colourPath, colour) && image(maskPath, mask)) {
        TextureFile file;
        file.bytes = mergeCutout(colour.bytes, mask.bytes);
        if (file.bytes.empty()) {
            m_warnings.add("texture " + colourPath +
                           " or its alpha texture cannot be decoded: "
                           "the cut-out follows the colour texture's own alpha");
            recorded = place(colourPath);
        } else {
            file.fileName = claim(stem(colour.name) + "_cutout.png");
            recorded = record(std::move(file));
        }
    } else {
        recorded = place(colourPath);
    }
    m_placed[key] = recorded;
    return recorded;
}

} // namespace sceneimport
