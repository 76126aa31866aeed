// What the GL device needs of a texture to bind it: its GL name and target. Texture classes of
// the layer derive from this as well as from their Direct3D interface.
#pragma once

class D3dGlTexture {
  public:
    virtual unsigned GlName() const = 0;
    // GL_TEXTURE_2D or GL_TEXTURE_CUBE_MAP.
    virtual unsigned GlTarget() const = 0;

  protected:
    ~D3dGlTexture() = default;
};
