// Reading the model tool's scene descriptions: statements, their keywords and values, and the
// checks that need the whole scene (names, the parent tree, the materials and maps named).
#include "datagen/Models/MdlScene.h"

#include "I3d/Math/Mat4Math.h"
#include "I3d/Mdl3.h"
#include "engine/MathConst.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <map>
#include <set>
#include <sstream>

namespace {

// Quarter turns come out exact, so a model turned by 90 degrees has clean matrices.
void SinCos(float degrees, float* s, float* c) {
    const double turns = double(degrees) / 90.0;
    if (turns == std::floor(turns)) {
        static const float kSin[4] = {0, 1, 0, -1}, kCos[4] = {1, 0, -1, 0};
        const int q = int(std::fmod(std::fmod(turns, 4.0) + 4.0, 4.0));
        *s = kSin[q], *c = kCos[q];
        return;
    }
    const double r = double(degrees) * kPiD / 180.0;
    *s = float(std::sin(r)), *c = float(std::cos(r));
}

// The rotation about one axis, laid out as the kernel's matrices are (row vectors).
Mat4 Rotation(char axis, float degrees) {
    float s, c;
    SinCos(degrees, &s, &c);
    Mat4 r;
    Mat4Identity(&r);
    int i = axis == 'x' ? 1 : axis == 'y' ? 2 : 0; // the pair of rows the rotation mixes
    int j = axis == 'x' ? 2 : axis == 'y' ? 0 : 1;
    r.m[i * 4 + i] = c, r.m[i * 4 + j] = s;
    r.m[j * 4 + i] = -s, r.m[j * 4 + j] = c;
    return r;
}

bool SafeName(const std::string& s) {
    if (s.empty() || s.size() > 31 || s[0] == '!') return false;
    for (char c : s)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-')) return false;
    return true;
}

class Reader {
  public:
    Reader(MdlScene* scene, std::string* error) : m_scene(scene), m_error(error) {}
    bool Statement(int line, const std::vector<std::string>& words);
    bool Finish();

  private:
    bool Fail(const std::string& why) {
        *m_error = m_line > 0 ? "line " + std::to_string(m_line) + ": " + why : why;
        return false;
    }
    bool Word(std::string* out, const char* what) {
        if (m_at >= m_words->size()) return Fail(std::string("missing ") + what);
        *out = (*m_words)[m_at++];
        return true;
    }
    bool Number(float* out, const char* what);
    bool Range(float* out, const char* what, float lo, float hi);
    bool Whole(float* out, const char* what, float lo, float hi);
    bool Colour(uint32_t* out);
    bool Name(std::string* out, const char* what);

    bool Model();
    bool Storage();
    bool Texture();
    bool Material();
    bool Node();
    bool Prim(MdlNodeDesc* node, const std::string& key);

    MdlScene* m_scene;
    std::string* m_error;
    int m_line = 0;
    const std::vector<std::string>* m_words = nullptr;
    size_t m_at = 0;
    std::set<std::string> m_materialNames, m_textureNames, m_nodeNames;
};

bool Reader::Number(float* out, const char* what) {
    std::string w;
    if (!Word(&w, what)) return false;
    const char* end = w.data() + w.size();
    auto [p, ec] = std::from_chars(w.data(), end, *out);
    if (ec != std::errc() || p != end || !std::isfinite(*out))
        return Fail(std::string("'") + w + "' is not a number (" + what + ")");
    return true;
}

bool Reader::Range(float* out, const char* what, float lo, float hi) {
    if (!Number(out, what)) return false;
    if (*out < lo || *out > hi) {
        std::ostringstream s;
        s << what << " must lie in " << lo << ".." << hi;
        return Fail(s.str());
    }
    return true;
}

bool Reader::Whole(float* out, const char* what, float lo, float hi) {
    if (!Range(out, what, lo, hi)) return false;
    if (*out != std::floor(*out)) return Fail(std::string(what) + " is a whole number");
    return true;
}

bool Reader::Colour(uint32_t* out) {
    uint32_t c = 0xFF000000u;
    for (int shift : {16, 8, 0}) {
        float v;
        if (!Whole(&v, "colour channel", 0, 255)) return false;
        c |= uint32_t(v) << shift;
    }
    *out = c;
    return true;
}

bool Reader::Name(std::string* out, const char* what) {
    if (!Word(out, what)) return false;
    if (out->size() > 31) return Fail(std::string(what) + " '" + *out + "' is longer than 31");
    return true;
}

bool Reader::Statement(int line, const std::vector<std::string>& words) {
    m_line = line;
    m_words = &words;
    m_at = 1;
    const std::string& key = words[0];
    if (key != "model" && m_scene->title.empty()) return Fail("the first statement is 'model'");
    bool ok = key == "model"      ? Model()
              : key == "storage"  ? Storage()
              : key == "texture"  ? Texture()
              : key == "material" ? Material()
              : key == "node"     ? Node()
                                  : Fail("unknown statement '" + key + "'");
    if (ok && m_at < words.size()) return Fail("unknown keyword '" + words[m_at] + "'");
    return ok;
}

bool Reader::Model() {
    if (!m_scene->title.empty()) return Fail("a second 'model'");
    std::string title;
    if (!Word(&title, "title")) return false;
    if (!SafeName(title))
        return Fail("the title '" + title +
                    "' must be 1 to 31 of A-Z a-z 0-9 _ - and not begin with '!'");
    m_scene->title = title;
    return true;
}

bool Reader::Storage() {
    float v;
    if (!Number(&v, "storage")) return false;
    if (v != 0 && v != 2) return Fail("storage is 0 or 2");
    m_scene->storage = uint32_t(v);
    return true;
}

bool Reader::Texture() {
    MdlTextureDesc t;
    t.line = m_line;
    std::string pattern;
    if (!Word(&t.name, "texture name") || !Word(&pattern, "pattern")) return false;
    if (!SafeName(t.name))
        return Fail("the texture name '" + t.name + "' is not a safe file title");
    if (!m_textureNames.insert(t.name).second) return Fail("a second texture '" + t.name + "'");
    float size;
    if (pattern == "solid")
        t.pattern = MdlPattern::Solid;
    else if (pattern == "checker")
        t.pattern = MdlPattern::Checker;
    else if (pattern == "stripes")
        t.pattern = MdlPattern::Stripes;
    else
        return Fail("unknown pattern '" + pattern + "'");
    if (!Whole(&size, "texture size", 1, 1024) || !Colour(&t.a)) return false;
    t.size = int(size);
    t.b = t.a;
    if (t.pattern != MdlPattern::Solid && !Colour(&t.b)) return false;
    m_scene->textures.push_back(t);
    return true;
}

bool Reader::Material() {
    MDL3MTRL m{};
    std::string name;
    if (!Name(&name, "material name")) return false;
    if (!m_materialNames.insert(name).second) return Fail("a second material '" + name + "'");
    name.copy(m.name, 31);
    const float white[4] = {1, 1, 1, 1}, black[4] = {0, 0, 0, 1};
    std::copy(white, white + 4, m.ambient);
    std::copy(white, white + 4, m.diffuse);
    std::copy(black, black + 4, m.specular);
    std::copy(black, black + 4, m.emissive);
    m.shininess = 10.0f;
    m.diffuseSlot = m.bumpSlot = m.detailSlot = -1;
    m.bumpTile[0] = m.bumpTile[1] = m.detailTile[0] = m.detailTile[1] = 1.0f;
    float* lastTile = nullptr;
    while (m_at < m_words->size()) {
        const std::string key = (*m_words)[m_at++];
        float* colour = key == "ambient"    ? m.ambient
                        : key == "diffuse"  ? m.diffuse
                        : key == "specular" ? m.specular
                        : key == "emissive" ? m.emissive
                                            : nullptr;
        char* map = key == "map"      ? m.diffuseMap
                    : key == "bump"   ? m.bumpMap
                    : key == "detail" ? m.detailMap
                                      : nullptr;
        if (colour) {
            for (int i = 0; i < 4; ++i)
                if (!Range(&colour[i], "colour", 0, 1)) return false;
        } else if (map) {
            std::string tex;
            if (!Word(&tex, "texture name")) return false;
            if (!m_textureNames.count(tex)) return Fail("no texture '" + tex + "' above");
            tex.copy(map, 31);
            lastTile = key == "bump" ? m.bumpTile : key == "detail" ? m.detailTile : nullptr;
        } else if (key == "tile") {
            if (!lastTile) return Fail("'tile' follows a bump or detail map");
            if (!Range(&lastTile[0], "tile", 0.001f, 1000) ||
                !Range(&lastTile[1], "tile", 0.001f, 1000))
                return false;
        } else if (key == "shininess") {
            if (!Range(&m.shininess, "shininess", 0, 128)) return false;
        } else if (key == "doublesided") {
            m.doubleSided = 1;
        } else if (key == "reflective") {
            m.reflective = 1;
        } else {
            --m_at;
            return Fail("unknown keyword '" + key + "'");
        }
    }
    m_scene->materials.push_back(m);
    m_scene->materialLines.push_back(m_line);
    return true;
}

bool Reader::Prim(MdlNodeDesc* node, const std::string& key) {
    MdlPrim p{};
    if (key == "box") {
        p.kind = MdlPrimKind::Box;
        for (int i = 0; i < 3; ++i)
            if (!Range(&p.v[i], "box size", 0.0001f, 100000)) return false;
    } else if (key == "cylinder" || key == "sphere") {
        const bool cyl = key == "cylinder";
        p.kind = cyl ? MdlPrimKind::Cylinder : MdlPrimKind::Sphere;
        if (!Whole(&p.v[0], "segments", cyl ? 3 : 4, 256)) return false;
        if (!Range(&p.v[1], "radius", 0.0001f, 100000)) return false;
        if (cyl && !Range(&p.v[2], "height", 0.0001f, 100000)) return false;
    } else if (key == "quad") {
        p.kind = MdlPrimKind::Quad;
        for (int i = 0; i < 2; ++i)
            if (!Range(&p.v[i], "quad size", 0.0001f, 100000)) return false;
    } else {
        p.kind = MdlPrimKind::Tri;
        for (int i = 0; i < 9; ++i)
            if (!Range(&p.v[i], "corner", -100000, 100000)) return false;
    }
    node->prims.push_back(p);
    return true;
}

bool Reader::Node() {
    MdlNodeDesc n;
    n.line = m_line;
    n.flags = MDL3_COLLISION;
    if (!Name(&n.name, "node name")) return false;
    if (!m_nodeNames.insert(n.name).second) return Fail("a second node '" + n.name + "'");
    Mat4 turn;
    Mat4Identity(&turn);
    VECTOR3 move = {0, 0, 0};
    while (m_at < m_words->size()) {
        const std::string key = (*m_words)[m_at++];
        float v[3];
        if (key == "parent") {
            if (!n.parent.empty()) return Fail("a second parent");
            if (!Name(&n.parent, "parent name")) return false;
            if (n.parent == n.name) return Fail("node '" + n.name + "' is its own parent");
        } else if (key == "translate") {
            for (float& f : v)
                if (!Range(&f, "translation", -100000, 100000)) return false;
            move.x += v[0], move.y += v[1], move.z += v[2];
            n.moved = true;
        } else if (key == "rotate-x" || key == "rotate-y" || key == "rotate-z") {
            if (!Range(&v[0], "angle", -36000, 36000)) return false;
            Mat4 r = Rotation(key.back(), v[0]);
            Mat4Mul(&turn, &r, &turn);
            n.moved = true;
        } else if (key == "box" || key == "cylinder" || key == "sphere" || key == "quad" ||
                   key == "tri") {
            if (!Prim(&n, key)) return false;
        } else if (key == "material") {
            if (!Word(&n.material, "material name")) return false;
        } else if (key == "nocollision") {
            n.flags &= ~MDL3_COLLISION;
        } else if (key == "infinitevis") {
            n.flags |= MDL3_INFINITEVIS;
        } else if (key == "castshadow") {
            n.flags |= MDL3_CASTSHADOW;
        } else if (key == "receiveshadows") {
            n.flags |= MDL3_RECEIVESHADOWS;
        } else if (key == "motionblur") {
            n.flags |= MDL3_MOTIONBLUR;
        } else if (key == "maxdist" || key == "mindist" || key == "faderange") {
            float* d = key == "maxdist" ? &n.maxDist : key == "mindist" ? &n.minDist : &n.fadeRange;
            if (!Range(d, "distance", 0, 200000)) return false;
        } else {
            --m_at;
            return Fail("unknown keyword '" + key + "'");
        }
    }
    n.matrix = turn;
    n.matrix.m[12] = move.x, n.matrix.m[13] = move.y, n.matrix.m[14] = move.z;
    m_scene->nodes.push_back(n);
    return true;
}

// The checks that need every statement: one root, parents that exist and lead to it, and the
// materials the nodes name.
bool Reader::Finish() {
    m_line = 0;
    if (m_scene->title.empty()) return Fail("no 'model' statement");
    auto& nodes = m_scene->nodes;
    if (nodes.empty()) return Fail("no nodes");
    std::map<std::string, size_t> index;
    for (size_t i = 0; i < nodes.size(); ++i)
        index[nodes[i].name] = i;
    const MdlNodeDesc* root = nullptr;
    for (const MdlNodeDesc& n : nodes) {
        m_line = n.line;
        if (n.parent.empty()) {
            if (root) return Fail("a second root '" + n.name + "': give it a parent");
            if (n.moved) return Fail("the root '" + n.name + "' neither moves nor turns");
            root = &n;
        } else if (!index.count(n.parent)) {
            return Fail("no node '" + n.parent + "'");
        }
        if (!n.material.empty() && !m_materialNames.count(n.material))
            return Fail("no material '" + n.material + "'");
    }
    if (!root) return Fail("no root: every node has a parent");
    for (const MdlNodeDesc& n : nodes) {
        const MdlNodeDesc* up = &n;
        for (size_t steps = 0; !up->parent.empty(); ++steps) {
            if (steps >= nodes.size()) {
                m_line = n.line;
                return Fail("node '" + n.name + "' is its own ancestor");
            }
            up = &nodes[index[up->parent]];
        }
    }
    return true;
}

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line.substr(0, line.find('#')));
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

} // namespace

bool MdlParseScene(const std::string& text, MdlScene* out, std::string* error) {
    *out = MdlScene{};
    error->clear();
    Reader reader(out, error);
    std::istringstream in(text);
    int line = 0;
    for (std::string s; std::getline(in, s);) {
        ++line;
        const std::vector<std::string> words = Words(s);
        if (!words.empty() && !reader.Statement(line, words)) return false;
    }
    return reader.Finish();
}
