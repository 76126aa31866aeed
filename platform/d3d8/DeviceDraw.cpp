// The device's draw calls over GL: user-pointer and buffer draws, the buffers read as client
// arrays.
#include "platform/d3d8/GlDevice.h"

#include <algorithm>

static GLenum PrimitiveToGl(D3DPRIMITIVETYPE t) {
    switch (t) {
        case D3DPT_POINTLIST: return GL_POINTS;
        case D3DPT_LINELIST: return GL_LINES;
        case D3DPT_LINESTRIP: return GL_LINE_STRIP;
        case D3DPT_TRIANGLESTRIP: return GL_TRIANGLE_STRIP;
        case D3DPT_TRIANGLEFAN: return GL_TRIANGLE_FAN;
        default: return GL_TRIANGLES;
    }
}

// ---- drawing ----

HRESULT D3dGlDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primCount, const void* vertices,
                                     UINT stride) {
    HRESULT hr = D3dDeviceBase::DrawPrimitiveUP(type, primCount, vertices, stride);
    if (FAILED(hr)) return hr;
    DrawSource source{static_cast<const uint8_t*>(vertices), stride, nullptr, 0,
                      VertexCount(type, primCount)};
    return DrawClient(type, source, 0, 0);
}

// The buffers are main memory (Buffers.h): a draw reads them as client arrays, the base vertex
// already applied as a pointer offset.
HRESULT D3dGlDevice::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primCount) {
    DrawSource source;
    HRESULT hr = ResolveDraw(type, startVertex, primCount, &source);
    return FAILED(hr) ? hr : DrawClient(type, source, 0, 0);
}

HRESULT D3dGlDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, UINT minIndex, UINT numVertices,
                                          UINT startIndex, UINT primCount) {
    DrawSource source;
    HRESULT hr = ResolveIndexedDraw(type, minIndex, numVertices, startIndex, primCount, &source);
    return FAILED(hr) ? hr : DrawClient(type, source, minIndex, numVertices);
}

// Pre-transformed (XYZRHW) vertices have no caller and are refused; a specular colour is
// stepped over, never read.
HRESULT D3dGlDevice::DrawClient(D3DPRIMITIVETYPE type, const DrawSource& source, UINT minIndex,
                                UINT numVertices) {
    const DWORD fvf = Fvf();
    if ((fvf & D3DFVF_POSITION_MASK) != D3DFVF_XYZ) return D3DERR_NOTAVAILABLE;
    PrepareDraw(fvf);
    const D3dGlFuncs& gl = Gl();
    const uint8_t* p = source.vertices;
    const GLsizei s = (GLsizei)source.stride;
    size_t off = 12;
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, s, p);
    if (fvf & D3DFVF_NORMAL) {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, s, p + off);
        off += 12;
    } else {
        glDisableClientState(GL_NORMAL_ARRAY);
        glNormal3f(0.0f, 0.0f, 0.0f);
    }
    if (fvf & D3DFVF_PSIZE) off += 4;
    if (fvf & D3DFVF_DIFFUSE) {
        // An ARGB word is the bytes B, G, R, A in memory.
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(GL_BGRA, GL_UNSIGNED_BYTE, s, p + off);
        off += 4;
    } else {
        glDisableClientState(GL_COLOR_ARRAY);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    }
    if (fvf & D3DFVF_SPECULAR) off += 4;
    UINT sets = std::min<UINT>((fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT, 8);
    size_t setOffset[8] = {};
    GLint setSize[8] = {};
    for (UINT i = 0; i < sets; ++i) {
        static const GLint sizes[4] = {2, 3, 4, 1};
        setSize[i] = sizes[(fvf >> (16 + 2 * i)) & 3];
        setOffset[i] = off;
        off += (size_t)setSize[i] * 4;
    }
    for (GLint u = 0; u < m_units; ++u) {
        gl.ClientActiveTexture(GL_TEXTURE0 + (GLenum)u);
        DWORD index = StageState((DWORD)u, D3DTSS_TEXCOORDINDEX);
        UINT set = index & 0xFFFF;
        if (D3dTexCoordsGenerated(index)) {
            glDisableClientState(GL_TEXTURE_COORD_ARRAY);
            gl.MultiTexCoord4f(GL_TEXTURE0 + (GLenum)u, 0.0f, 0.0f, 0.0f, 1.0f);
        } else if (set < sets) {
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glTexCoordPointer(setSize[set], GL_FLOAT, s, p + setOffset[set]);
        } else {
            glDisableClientState(GL_TEXTURE_COORD_ARRAY);
            gl.MultiTexCoord4f(GL_TEXTURE0 + (GLenum)u, 0.0f, 0.0f, 0.0f, 1.0f);
        }
    }
    gl.ClientActiveTexture(GL_TEXTURE0);
    if (source.indices)
        gl.DrawRangeElements(
            PrimitiveToGl(type), minIndex, minIndex + numVertices - 1, (GLsizei)source.count,
            source.indexSize == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT, source.indices);
    else
        glDrawArrays(PrimitiveToGl(type), 0, (GLsizei)source.count);
    return D3D_OK;
}
