// The GL side of textures: formats, storage for every level, uploads on unlock, and the read-back
// that tests use. Bytes go to GL exactly as Direct3D lays them out: row 0 of a level is t = 0,
// ARGB words as GL_BGRA, DXT blocks as S3TC.
#include "platform/PlatLog.h"
#include "platform/d3d8/GlDevice.h"
#include "platform/d3d8/Texture.h"
#include "platform/d3dx/DdsFile.h"
#include "platform/d3dx/Dxt.h"

#include <cstring>

namespace {

struct GlFormat {
    GLenum internal = 0, format = 0, type = 0;
    bool compressed = false;
    int ddsPixels = DDS_PIXELS_UNKNOWN; // for decoding without S3TC
};

GlFormat GlFormatOf(D3DFORMAT f) {
    switch (f) {
        case D3DFMT_A8R8G8B8: return {GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE};
        case D3DFMT_X8R8G8B8: return {GL_RGB8, GL_BGRA, GL_UNSIGNED_BYTE};
        case D3DFMT_R8G8B8: return {GL_RGB8, GL_BGR, GL_UNSIGNED_BYTE};
        case D3DFMT_R5G6B5: return {GL_RGB565, GL_RGB, GL_UNSIGNED_SHORT_5_6_5};
        case D3DFMT_X1R5G5B5: return {GL_RGB5, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV};
        case D3DFMT_A1R5G5B5: return {GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV};
        case D3DFMT_A4R4G4B4: return {GL_RGBA4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV};
        case D3DFMT_X4R4G4B4: return {GL_RGB4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV};
        case D3DFMT_A8: return {GL_ALPHA8, GL_ALPHA, GL_UNSIGNED_BYTE};
        case D3DFMT_L8: return {GL_LUMINANCE8, GL_LUMINANCE, GL_UNSIGNED_BYTE};
        // GL has no premultiplied variants: DXT2 and DXT4 sample as DXT3 and DXT5.
        case D3DFMT_DXT1: return {GL_COMPRESSED_RGBA_S3TC_DXT1_EXT, 0, 0, true, DDS_DXT1};
        case D3DFMT_DXT2:
        case D3DFMT_DXT3: return {GL_COMPRESSED_RGBA_S3TC_DXT3_EXT, 0, 0, true, DDS_DXT3};
        case D3DFMT_DXT4:
        case D3DFMT_DXT5: return {GL_COMPRESSED_RGBA_S3TC_DXT5_EXT, 0, 0, true, DDS_DXT5};
        default: return {};
    }
}

int s_forceDxtDecode = 0;

bool HasS3tc() {
    if (s_forceDxtDecode) return false;
    const char* ext = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return ext && std::strstr(ext, "GL_EXT_texture_compression_s3tc");
}

GLenum BindingQuery(GLenum target) {
    return target == GL_TEXTURE_CUBE_MAP ? GL_TEXTURE_BINDING_CUBE_MAP : GL_TEXTURE_BINDING_2D;
}

GLenum ImageTarget(GLenum target, UINT face) {
    return target == GL_TEXTURE_CUBE_MAP ? GL_TEXTURE_CUBE_MAP_POSITIVE_X + face : GL_TEXTURE_2D;
}

// Binds a texture on the active unit for the length of a scope and puts back what the device had
// bound there, so the device's record of its units stays true.
class ScopedBind {
  public:
    ScopedBind(GLenum target, GLuint name) : m_target(target) {
        glGetIntegerv(BindingQuery(target), &m_previous);
        glBindTexture(target, name);
    }
    ~ScopedBind() { glBindTexture(m_target, GLuint(m_previous)); }

  private:
    GLenum m_target;
    GLint m_previous = 0;
};

// Gives a level its storage (at creation; `bytes` may be null for uncompressed levels) or
// replaces its contents (`sub`, after an unlock: the storage stays, which GL does far faster
// than making it again). Compressed levels go as S3TC when the context has it, else decoded.
void Upload(GLenum target, UINT face, UINT level, D3DFORMAT format, const D3dTexLevels::Level& l,
            bool s3tc, bool sub) {
    GlFormat g = GlFormatOf(format);
    GLenum image = ImageTarget(target, face);
    const GLint lv = GLint(level);
    const GLsizei w = GLsizei(l.width), h = GLsizei(l.height);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    if (g.compressed && s3tc) {
        if (sub)
            glCompressedTexSubImage2D(image, lv, 0, 0, w, h, g.internal, GLsizei(l.bytes.size()),
                                      l.bytes.data());
        else
            glCompressedTexImage2D(image, lv, g.internal, w, h, 0, GLsizei(l.bytes.size()),
                                   l.bytes.data());
        return;
    }
    const void* bytes = sub ? l.bytes.data() : nullptr;
    std::vector<uint8_t> texels;
    if (g.compressed) {
        g = {GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE};
        if (sub) {
            texels.resize(size_t(w) * size_t(h) * 4);
            DxtDecodeLevel(GlFormatOf(format).ddsPixels, l.width, l.height, l.bytes.data(),
                           texels.data(), size_t(w) * 4);
            bytes = texels.data();
        }
    }
    if (sub)
        glTexSubImage2D(image, lv, 0, 0, w, h, g.format, g.type, bytes);
    else
        glTexImage2D(image, lv, GLint(g.internal), w, h, 0, g.format, g.type, bytes);
}

} // namespace

void D3dTestForceDxtDecode(int on) {
    s_forceDxtDecode = on;
}

bool D3dTextureCommon::GlCreate(D3dDeviceBase* device, bool cube) {
    const D3dTexLevels& store = m_store;
    if (!dynamic_cast<D3dGlDevice*>(device)) return true; // no GL: the copies are all there is
    m_gl = true;
    m_glTarget = cube ? GL_TEXTURE_CUBE_MAP : GL_TEXTURE_2D;
    glGenTextures(1, &m_glName);
    bool s3tc = m_s3tc = HasS3tc();
    {
        ScopedBind bind(m_glTarget, m_glName);
        glTexParameteri(m_glTarget, GL_TEXTURE_BASE_LEVEL, 0);
        glTexParameteri(m_glTarget, GL_TEXTURE_MAX_LEVEL, GLint(store.Count()) - 1);
        // Storage for every level now, so that the texture is complete from the start.
        for (UINT f = 0; f < store.Faces(); ++f)
            for (UINT i = 0; i < store.Count(); ++i)
                Upload(m_glTarget, f, i, store.Format(), *store.At(f, i), s3tc, false);
    }
    GLenum err = glGetError();
    if (err != GL_NO_ERROR) {
        PlatLogf(PLAT_LOG_RENDER, "D3D8 layer: GL error 0x%x making a texture of format %u\n", err,
                 unsigned(store.Format()));
        GlDelete();
        return false;
    }
    return true;
}

void D3dTextureCommon::GlUpload(UINT face, UINT level) {
    if (!m_gl) return;
    ScopedBind bind(m_glTarget, m_glName);
    Upload(m_glTarget, face, level, m_store.Format(), *m_store.At(face, level), m_s3tc, true);
}

void D3dTextureCommon::GlDelete() {
    if (m_glName) glDeleteTextures(1, &m_glName);
    m_glName = 0;
    m_gl = false;
}

bool D3dTestReadTextureLevel(IDirect3DBaseTexture8* texture, UINT face, UINT level,
                             std::vector<uint8_t>* out) {
    auto* gl = dynamic_cast<D3dTextureCommon*>(texture);
    const D3dTexLevels* store = gl ? &gl->Store() : nullptr;
    if (!store || !gl->GlName() || !store->At(face, level)) return false;
    const D3dTexLevels::Level& l = *store->At(face, level);
    out->assign(size_t(l.width) * l.height * 4, 0);
    ScopedBind bind(gl->GlTarget(), gl->GlName());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glGetTexImage(ImageTarget(gl->GlTarget(), face), GLint(level), GL_BGRA, GL_UNSIGNED_BYTE,
                  out->data());
    return glGetError() == GL_NO_ERROR;
}
