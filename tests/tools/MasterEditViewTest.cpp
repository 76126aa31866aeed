// Editor mode in the running game's window, read back on llvmpipe: the game drawn into the game
// view, the panes and the menu bar composed around it, and GL handed back to the game.
#include "I3d/Device.h"
#include "platform/d3d8/D3d8.h"
#include "tests/harness/GameAppFixture.h"
#include "tests/support/PixelChannels.h"
#include "tools/MasterEdit.h"

#include <SDL.h>
#include <imgui.h>

#include <GL/gl.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

// A world viewport's stand-in: clears its screen to blue and draws one small textured triangle
// in its corner, leaving stage 0 with a mipmapped texture filtered trilinearly and stage 1
// modulating, as a textured world would.
class BlueView : public ENTBASE {
  public:
    int DrawPre() override {
        D3dSetClearColor(0.0f, 0.0f, 1.0f);
        D3dClear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
        IDirect3DDevice8* dev = D3dDevice();
        for (int i = 0; i < 2; ++i)
            if (!textures[i] && dev->CreateTexture(64, 64, i == 0 ? 0 : 1, 0, D3DFMT_A8R8G8B8,
                                                   D3DPOOL_MANAGED, &textures[i]) != D3D_OK)
                textures[i] = nullptr;
        for (DWORD stage = 0; stage < 2; ++stage) {
            dev->SetTexture(stage, textures[stage]);
            dev->SetTextureStageState(stage, D3DTSS_COLOROP, D3DTOP_MODULATE);
            dev->SetTextureStageState(stage, D3DTSS_TEXCOORDINDEX, 0);
            dev->SetTextureStageState(stage, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
            dev->SetTextureStageState(stage, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
            dev->SetTextureStageState(stage, D3DTSS_MIPFILTER,
                                      stage == 0 ? D3DTEXF_LINEAR : D3DTEXF_NONE);
        }
        struct Vertex {
            float x, y, z, rhw;
            DWORD colour;
            float u, v;
        };
        const Vertex corner[3] = {{0, 0, 0.5f, 1, 0xFFFFFFFF, 0, 0},
                                  {3, 0, 0.5f, 1, 0xFFFFFFFF, 1, 0},
                                  {0, 3, 0.5f, 1, 0xFFFFFFFF, 0, 1}};
        dev->SetVertexShader(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1);
        dev->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, corner, sizeof(Vertex));
        return 1;
    }
    int Destroy() override {
        for (DWORD stage = 0; stage < 2; ++stage) {
            if (!textures[stage]) continue;
            D3dDevice()->SetTexture(stage, nullptr);
            textures[stage]->Release();
        }
        return ENTBASE::Destroy();
    }
    IDirect3DTexture8* textures[2] = {};
};

intptr_t BlueViewProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    switch (message) {
        case ENT_CLASS_MSG_BUILD_DB:
        case ENT_CLASS_MSG_RESET:
        case ENT_CLASS_MSG_UNREGISTER: return 0;
        case ENT_CLASS_MSG_CLASS_NAME:
            std::snprintf(reinterpret_cast<char*>(b), 64, "BlueView");
            return 0;
        case ENT_CLASS_MSG_CREATE: return EntProcCreate(node, new BlueView, nullptr);
        default: return EntProcForward(node, message, a, b, c);
    }
}

std::map<std::string, ImVec4> s_items;
void RecordItem(const char* id, float x0, float y0, float x1, float y1) {
    s_items[id] = ImVec4(x0, y0, x1, y1);
}

class MasterEditViewTest : public GameAppTest {
  protected:
    void SetUp() override {
        GameAppTest::SetUp();
        // The offscreen device's back buffer stands for the window: the editor's size.
        WriteConfig("[Xq Config]\nrunHwConfig=0\nwinWidth=1024\nwinHeight=768\ndebug=1\n");
        MasterEdit::SetItemHook(RecordItem);
    }
    void TearDown() override {
        MasterEdit::SetItemHook(nullptr);
        s_items.clear();
        GameAppTest::TearDown();
    }
    void StartGame() {
        g_makeEditor = []() -> Editor* {
            RegisterRootDoubles();
            EntCreateClass(BlueViewProc, 0, 0);
            return MasterEditNew(nullptr);
        };
        WriteStartup(std::string(kRegisterAll) + "Game.CreateEntityTree()\n");
        Start();
        // Only the viewport clears: the menu root's double would clear to black after it.
        static_cast<GameDouble*>(app.menuRoot.Get())->screenProjection = false;
        ASSERT_NE(EntCreateChild("BlueView", app.GetViewports()), nullptr);
    }
    static void Key(SDL_Scancode code, bool down) {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.keysym.scancode = code;
        SDL_PushEvent(&e);
    }
    void CtrlF1() {
        Key(SDL_SCANCODE_LCTRL, true);
        Key(SDL_SCANCODE_F1, true);
        Frame();
        Key(SDL_SCANCODE_F1, false);
        Key(SDL_SCANCODE_LCTRL, false);
        Frame();
    }
    // The editor's close box: the way out of editor mode.
    void CloseBox() {
        SDL_Event close{};
        close.type = SDL_WINDOWEVENT;
        close.window.event = SDL_WINDOWEVENT_CLOSE;
        app.AppHandleEvent(close);
        Frame();
    }
    MasterEdit* Edit() { return static_cast<MasterEdit*>(app.editor); }
    static uint32_t Pixel(int x, int y) { return D3dReadWindowPixel(D3dDevice(), x, y); }
};

TEST_F(MasterEditViewTest, TheGameIsDrawnIntoTheViewAndThePanesAroundIt) {
    StartGame();
    Frame();
    EXPECT_EQ(Blue(Pixel(900, 300)), 255) << "outside editor mode the game has the window";
    CtrlF1();
    ASSERT_TRUE(Edit()->IsActive());
    ASSERT_TRUE(Edit()->Composing()) << "the device draws the game into a view of its own";
    Frame();
    Frame();
    const EditorRects& r = Edit()->Rects();
    int sw = 0, sh = 0;
    I3dGetScreenSize(&sw, &sh);
    EXPECT_EQ(std::make_pair(sw, sh), std::make_pair(r.view.width, r.view.height))
        << "the kernel's screen is the game view";

    const uint32_t centre = Pixel(r.view.x + r.view.width / 2, r.view.y + r.view.height / 2);
    EXPECT_EQ(Blue(centre), 255) << std::hex << centre;
    EXPECT_LT(Red(centre) + Green(centre), 8) << std::hex << centre;
    // The panes: ImGui's window colour over the cleared window.
    const ImVec4 bg = ImGui::GetStyle().Colors[ImGuiCol_WindowBg];
    const uint32_t tool = Pixel(r.tool.x + r.tool.width / 2, r.tool.y + r.tool.height / 2);
    EXPECT_NEAR(Red(tool), (int)(bg.x * bg.w * 255.0f + 0.5f), 2) << std::hex << tool;
    EXPECT_NE(Blue(tool), 255) << "the game does not show through the tool window";
    const uint32_t console = Pixel(r.console.x + 20, r.console.y + r.console.height / 2);
    EXPECT_EQ(console, tool);

    // After the game's last draw left stage 0 mipmapped and trilinear and stage 1 on, the menu
    // text must still be drawn through the font, bright on the dark bar.
    ASSERT_EQ(s_items.count("File"), 1u);
    const ImVec4 file = s_items["File"];
    // Glyphs, not boxes: a font sampled as though it had no texture fills each glyph's quad.
    int x0 = 9999, y0 = 9999, x1 = -1, y1 = -1, bright = 0;
    for (int y = (int)file.y; y < (int)file.w; ++y)
        for (int x = (int)file.x; x < (int)file.z; ++x) {
            if (Green(Pixel(x, y)) > 100)
                x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x),
                y1 = std::max(y1, y);
            if (Green(Pixel(x, y)) > 160) ++bright;
        }
    ASSERT_GT(bright, 10) << "the menu text shows";
    const int box = (x1 - x0 + 1) * (y1 - y0 + 1);
    EXPECT_LT(bright * 2, box) << "the text is drawn through the font: " << bright << " of " << box;
    const uint32_t bar = Pixel(r.tool.x - 20, r.view.y / 2);
    EXPECT_LT(Green(bar), 100) << "the bar itself is dark";

    CloseBox();
    EXPECT_FALSE(Edit()->IsActive());
    EXPECT_EQ(D3dViewTexture(D3dDevice()), 0u);
    I3dGetScreenSize(&sw, &sh);
    EXPECT_EQ(std::make_pair(sw, sh), std::make_pair(1024, 768)) << "the window's again";
    Frame();
    EXPECT_EQ(Blue(Pixel(900, 300)), 255) << "the game has the whole window again";
    EXPECT_EQ(Blue(Pixel(10, 740)), 255);
}

TEST_F(MasterEditViewTest, ASmallWindowGivesAOnePixelViewAndNoGlError) {
    StartGame();
    CtrlF1();
    ASSERT_TRUE(Edit()->Composing());
    SDL_SetWindowSize(static_cast<SDL_Window*>(app.hwnd), 200, 150);
    SDL_Event sized{};
    sized.type = SDL_WINDOWEVENT;
    sized.window.event = SDL_WINDOWEVENT_SIZE_CHANGED;
    sized.window.data1 = 200, sized.window.data2 = 150;
    app.AppHandleEvent(sized);
    Frame();
    Frame();
    EXPECT_EQ(std::make_pair(Edit()->Rects().view.width, Edit()->Rects().view.height),
              std::make_pair(1, 1));
    int sw = 0, sh = 0;
    I3dGetScreenSize(&sw, &sh);
    EXPECT_EQ(std::make_pair(sw, sh), std::make_pair(1, 1));
    while (glGetError() != GL_NO_ERROR) {
    }
    Frame();
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
    CloseBox();
    EXPECT_FALSE(Edit()->IsActive());
}

TEST_F(MasterEditViewTest, KeysAndButtonsKeptFromTheGameNeverReachItsQueue) {
    StartGame();
    CtrlF1();
    ASSERT_TRUE(Edit()->Composing());
    auto* menus = static_cast<GameDouble*>(app.menuRoot.Get());
    const EditorRects& r = Edit()->Rects();
    // The event watch buffers a button before the editor sees the event, as SDL's own pump
    // does; the editor then decides.
    auto click = [&](int x, int y) {
        menus->heard.clear();
        for (Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
            SDL_Event e{};
            e.type = type;
            e.button.button = SDL_BUTTON_LEFT;
            e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
            e.button.x = x, e.button.y = y;
            SDL_PushEvent(&e);
            app.AppHandleEvent(e);
        }
        Frame();
        Frame();
        int downs = 0;
        for (const SlEvent& heard : menus->heard)
            downs += heard.type == SL_MOUSE0DOWN;
        return downs;
    };
    EXPECT_EQ(click(r.view.x + 50, r.view.y + 50), 1) << "the game view's clicks reach the game";
    EXPECT_EQ(click(r.tool.x + 50, r.tool.y + 100), 0) << "the tool window's do not";
    EXPECT_EQ(click(r.view.x + 60, r.view.y + 50), 1) << "the mouse is the game's again";
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

} // namespace
