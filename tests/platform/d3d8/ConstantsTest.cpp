// Every constant the render kernel writes as a number must have Direct3D 8's value, or states
// and formats would reach the wrong place (and "Config.ini" keeps format 22 on disk).
#include "platform/d3d8/D3d8.h"

#include <gtest/gtest.h>

struct NamedValue {
    const char* name;
    uint64_t value;
    uint64_t expected;
};

#define NV(name, expected)                                                                         \
    NamedValue {                                                                                   \
#name, (uint64_t)(name), (uint64_t)(expected)                                              \
    }

TEST(D3d8Constants, EveryNumberTheKernelUsesHasDirect3DsValue) {
    const NamedValue table[] = {
        // render states
        NV(D3DRS_ZENABLE, 7),
        NV(D3DRS_FILLMODE, 8),
        NV(D3DRS_ZWRITEENABLE, 14),
        NV(D3DRS_ALPHATESTENABLE, 15),
        NV(D3DRS_SRCBLEND, 19),
        NV(D3DRS_DESTBLEND, 20),
        NV(D3DRS_CULLMODE, 22),
        NV(D3DRS_ZFUNC, 23),
        NV(D3DRS_ALPHAREF, 24),
        NV(D3DRS_ALPHAFUNC, 25),
        NV(D3DRS_ALPHABLENDENABLE, 27),
        NV(D3DRS_FOGENABLE, 28),
        NV(D3DRS_SPECULARENABLE, 29),
        NV(D3DRS_FOGCOLOR, 34),
        NV(D3DRS_FOGTABLEMODE, 35),
        NV(D3DRS_FOGSTART, 36),
        NV(D3DRS_FOGEND, 37),
        NV(D3DRS_ZBIAS, 47),
        NV(D3DRS_TEXTUREFACTOR, 60),
        NV(D3DRS_LIGHTING, 137),
        NV(D3DRS_AMBIENT, 139),
        NV(D3DRS_FOGVERTEXMODE, 140),
        NV(D3DRS_DIFFUSEMATERIALSOURCE, 145),
        NV(D3DRS_SPECULARMATERIALSOURCE, 146),
        NV(D3DRS_AMBIENTMATERIALSOURCE, 147),
        NV(D3DRS_EMISSIVEMATERIALSOURCE, 148),
        // texture-stage states
        NV(D3DTSS_COLOROP, 1),
        NV(D3DTSS_COLORARG1, 2),
        NV(D3DTSS_COLORARG2, 3),
        NV(D3DTSS_ALPHAOP, 4),
        NV(D3DTSS_ALPHAARG1, 5),
        NV(D3DTSS_ALPHAARG2, 6),
        NV(D3DTSS_TEXCOORDINDEX, 11),
        NV(D3DTSS_ADDRESSU, 13),
        NV(D3DTSS_ADDRESSV, 14),
        NV(D3DTSS_MAGFILTER, 16),
        NV(D3DTSS_MINFILTER, 17),
        NV(D3DTSS_TEXTURETRANSFORMFLAGS, 24),
        NV(D3DTS_TEXTURE1, 17),
        // formats
        NV(D3DFMT_UNKNOWN, 0),
        NV(D3DFMT_R8G8B8, 20),
        NV(D3DFMT_A8R8G8B8, 21),
        NV(D3DFMT_X8R8G8B8, 22),
        NV(D3DFMT_R5G6B5, 23),
        NV(D3DFMT_X1R5G5B5, 24),
        NV(D3DFMT_A1R5G5B5, 25),
        NV(D3DFMT_A4R4G4B4, 26),
        NV(D3DFMT_R3G3B2, 27),
        NV(D3DFMT_A8, 28),
        NV(D3DFMT_D32, 71),
        NV(D3DFMT_D15S1, 73),
        NV(D3DFMT_D24S8, 75),
        NV(D3DFMT_D24X8, 77),
        NV(D3DFMT_D24X4S4, 79),
        NV(D3DFMT_D16, 80),
        // vertex formats and the formats the buffers build from them
        NV(D3DFVF_XYZ, 0x002),
        NV(D3DFVF_XYZRHW, 0x004),
        NV(D3DFVF_NORMAL, 0x010),
        NV(D3DFVF_DIFFUSE, 0x040),
        NV(D3DFVF_SPECULAR, 0x080),
        NV(D3DFVF_TEX1, 0x100),
        NV(D3DFVF_TEX2, 0x200),
        NV(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1, 0x152),
        // values the kernel passes
        NV(D3DCLEAR_STENCIL, 4),
        NV(D3DCULL_CCW, 3),
        NV(D3DCULL_NONE, 1),
        NV(D3DCMP_LESSEQUAL, 4),
        NV(D3DCMP_GREATER, 5),
        NV(D3DBLEND_SRCALPHA, 5),
        NV(D3DBLEND_INVSRCALPHA, 6),
        NV(D3DFILL_SOLID, 3),
        NV(D3DTEXF_LINEAR, 2),
        NV(D3DMCS_MATERIAL, 0),
        NV(D3DFOG_NONE, 0),
        NV(D3DTOP_DISABLE, 1),
        NV(D3DTOP_SELECTARG1, 2),
        NV(D3DTOP_MODULATE, 4),
        NV(D3DTOP_ADDSIGNED, 8),
        NV(D3DTOP_DOTPRODUCT3, 24),
        NV(D3DTA_DIFFUSE, 0),
        NV(D3DTA_CURRENT, 1),
        NV(D3DTA_TEXTURE, 2),
        NV(D3DTA_TFACTOR, 3),
        NV(D3DTTFF_COUNT2, 2),
        NV(D3DTTFF_COUNT3, 3),
        NV(D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR | 1, 0x30001),
        NV(D3DLOCK_DISCARD | D3DLOCK_NOSYSLOCK, 0x2800),
        NV(D3DLOCK_NOOVERWRITE | D3DLOCK_NOSYSLOCK, 0x1800),
        NV(D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, 0x208),
        NV(D3DUSAGE_WRITEONLY, 8),
        // devices and presentation
        NV(D3D_SDK_VERSION, 120),
        NV(D3DCREATE_SOFTWARE_VERTEXPROCESSING, 0x20),
        NV(D3DCREATE_HARDWARE_VERTEXPROCESSING, 0x40),
        NV(D3DDEVCAPS_HWTRANSFORMANDLIGHT, 0x10000),
        NV(D3DPRESENTFLAG_LOCKABLE_BACKBUFFER, 1),
        NV(D3DPRESENT_INTERVAL_ONE, 1),
        NV(D3DPRESENT_INTERVAL_IMMEDIATE, 0x80000000u),
        NV((uint32_t)D3DERR_DEVICELOST, 0x88760868u),
        NV((uint32_t)D3DERR_DEVICENOTRESET, 0x88760869u),
    };
    for (const NamedValue& nv : table)
        EXPECT_EQ(nv.value, nv.expected) << nv.name << " has the wrong number";
}
