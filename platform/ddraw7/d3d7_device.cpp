// The Direct3D 7 device: reference counts, the scene bracket, render and texture-stage states,
// the texture, the viewport, and DrawPrimitive, which reads the caller's vertices and hands
// triangle strips to the rasteriser with the states in force.
#include <cstring>

#include "platform/ddraw7/d3d7_state.h"
#include "platform/ddraw7/ddraw_state.h"
#include "platform/ddraw7/pixel_format.h"

namespace {

// Vertices of one draw are bounded so a hostile count cannot make the device allocate without
// end; the game draws four at a time.
constexpr DWORD kMaxVertices = 1u << 20;
// Vertex format bits this device reads: the position, two colours and one coordinate set.
constexpr DWORD kPositionMask = 0x00E;
constexpr DWORD kTexCountMask = 0xF00;

void DefaultStates(D3D7DeviceState& s) {
    s.render_states[D3DRENDERSTATE_CULLMODE] = D3DCULL_CCW;
    s.render_states[D3DRENDERSTATE_SRCBLEND] = D3DBLEND_ONE;
    s.render_states[D3DRENDERSTATE_DESTBLEND] = D3DBLEND_ZERO;
    s.render_states[D3DRENDERSTATE_ALPHABLENDENABLE] = FALSE;
    s.render_states[D3DRENDERSTATE_COLORKEYENABLE] = FALSE;
    for (DWORD stage = 0; stage < kD3D7Stages; ++stage) {
        DWORD* t = s.stage_states[stage];
        t[D3DTSS_COLOROP] = stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        t[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
        t[D3DTSS_COLORARG2] = D3DTA_CURRENT;
        t[D3DTSS_ALPHAOP] = stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        t[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        t[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
        t[D3DTSS_MAGFILTER] = D3DTFG_POINT;
        t[D3DTSS_MINFILTER] = D3DTFN_POINT;
    }
}

// At stage 0 the current colour is the diffuse colour; modifier bits are not offered.
D7Arg Arg(DWORD a) {
    return (a & 0xF) == D3DTA_TEXTURE ? D7Arg::kTexture : D7Arg::kDiffuse;
}

// A disabled stage, or an operation the device lacks, passes the diffuse colour on.
void Operation(DWORD op, DWORD arg1, DWORD arg2, D7Op* out_op, D7Arg* out1, D7Arg* out2) {
    *out1 = Arg(arg1);
    *out2 = Arg(arg2);
    switch (op) {
        case D3DTOP_SELECTARG1:
            *out_op = D7Op::kArg1;
            break;
        case D3DTOP_SELECTARG2:
            *out_op = D7Op::kArg2;
            break;
        case D3DTOP_MODULATE:
            *out_op = D7Op::kModulate;
            break;
        default:
            *out_op = D7Op::kArg1;
            *out1 = D7Arg::kDiffuse;
            break;
    }
}

D7Factor Factor(DWORD blend) {
    switch (blend) {
        case D3DBLEND_ZERO:
            return D7Factor::kZero;
        case D3DBLEND_SRCALPHA:
            return D7Factor::kSrcAlpha;
        case D3DBLEND_INVSRCALPHA:
            return D7Factor::kInvSrcAlpha;
        default:
            return D7Factor::kOne;
    }
}

float ReadFloat(const uint8_t* p) {
    float f;
    std::memcpy(&f, p, sizeof(f));
    return f;
}

}  // namespace

IDirect3DDevice7* IDirect3DDevice7::Create(IDirectDrawSurface7* target) {
    auto* device = new IDirect3DDevice7();
    device->state_ = new D3D7DeviceState();
    D3D7DeviceState& s = *device->state_;
    target->AddRef();
    s.target = target;
    DefaultStates(s);
    const DDSurfaceMemory& m = target->RawMemory();
    s.viewport =
        D3DVIEWPORT7{0, 0, static_cast<DWORD>(m.width), static_cast<DWORD>(m.height), 0.0f, 1.0f};
    return device;
}

IDirect3DDevice7::~IDirect3DDevice7() {
    if (state_->texture) state_->texture->Release();
    if (state_->target) state_->target->Release();
    delete state_;
}

ULONG IDirect3DDevice7::AddRef() {
    return ++state_->references;
}

ULONG IDirect3DDevice7::Release() {
    if (state_->references == 0) return 0;
    ULONG left = --state_->references;
    if (left == 0) delete this;
    return left;
}

HRESULT IDirect3DDevice7::BeginScene() {
    D3D7DeviceState& s = *state_;
    if (s.in_scene) return D3DERR_SCENE_IN_SCENE;
    // A lost target opens no scene: whatever the frame draws would be thrown away.
    if (HRESULT r = s.target->IsLost(); r != DD_OK) return r;
    s.in_scene = true;
    return D3D_OK;
}

HRESULT IDirect3DDevice7::EndScene() {
    D3D7DeviceState& s = *state_;
    if (!s.in_scene) return D3DERR_SCENE_NOT_IN_SCENE;
    s.in_scene = false;
    return D3D_OK;
}

HRESULT IDirect3DDevice7::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    if (state == 0 || state >= kD3D7RenderStateCount) return DDERR_INVALIDPARAMS;
    ++state_->counters.render_states;
    // Only a change makes the rasteriser's stage and blend stale: the screen sets the same
    // values for every quad.
    if (state_->render_states[state] == value) return D3D_OK;
    state_->render_states[state] = value;
    state_->pipeline_stale = true;
    return D3D_OK;
}

HRESULT IDirect3DDevice7::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
    if (!value || state == 0 || state >= kD3D7RenderStateCount) return DDERR_INVALIDPARAMS;
    *value = state_->render_states[state];
    return D3D_OK;
}

HRESULT IDirect3DDevice7::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                               DWORD value) {
    if (stage >= kD3D7Stages || type == 0 || type >= kD3D7StageStateCount) {
        return DDERR_INVALIDPARAMS;
    }
    ++state_->counters.stage_states;
    if (state_->stage_states[stage][type] == value) return D3D_OK;
    state_->stage_states[stage][type] = value;
    if (stage == 0) state_->pipeline_stale = true;
    return D3D_OK;
}

HRESULT IDirect3DDevice7::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                               DWORD* value) {
    if (!value || stage >= kD3D7Stages || type == 0 || type >= kD3D7StageStateCount) {
        return DDERR_INVALIDPARAMS;
    }
    *value = state_->stage_states[stage][type];
    return D3D_OK;
}

HRESULT IDirect3DDevice7::SetTexture(DWORD stage, IDirectDrawSurface7* texture) {
    if (stage >= kD3D7Stages) return DDERR_INVALIDPARAMS;
    if (texture && !(texture->Caps() & DDSCAPS_TEXTURE)) return DDERR_INVALIDPARAMS;
    // Only stage 0 draws; a texture on a later stage is not held.
    if (stage != 0) return D3D_OK;
    D3D7DeviceState& s = *state_;
    if (texture) texture->AddRef();
    if (s.texture) s.texture->Release();
    s.texture = texture;
    return D3D_OK;
}

HRESULT IDirect3DDevice7::GetViewport(D3DVIEWPORT7* viewport) {
    if (!viewport) return DDERR_INVALIDPARAMS;
    *viewport = state_->viewport;
    return D3D_OK;
}

HRESULT IDirect3DDevice7::SetViewport(D3DVIEWPORT7* viewport) {
    if (!viewport) return DDERR_INVALIDPARAMS;
    const DDSurfaceMemory& m = state_->target->RawMemory();
    if (viewport->dwWidth == 0 || viewport->dwHeight == 0 ||
        uint64_t{viewport->dwX} + viewport->dwWidth > static_cast<uint64_t>(m.width) ||
        uint64_t{viewport->dwY} + viewport->dwHeight > static_cast<uint64_t>(m.height)) {
        return DDERR_INVALIDPARAMS;
    }
    state_->viewport = *viewport;
    return D3D_OK;
}

HRESULT IDirect3DDevice7::DrawPrimitive(D3DPRIMITIVETYPE type, DWORD vertex_format,
                                        const void* vertices, DWORD vertex_count, DWORD) {
    D3D7DeviceState& s = *state_;
    if (type != D3DPT_TRIANGLESTRIP || !vertices || vertex_count < 3 ||
        vertex_count > kMaxVertices) {
        return DDERR_INVALIDPARAMS;
    }
    // Transformed-and-lit vertices (every draw of the screens) are read as they are; the test of
    // the other formats' parts is theirs alone.
    const bool tl = vertex_format == D3DFVF_TLVERTEX;
    const DWORD texture_sets = (vertex_format & kTexCountMask) >> 8;
    if (!tl &&
        ((vertex_format & kPositionMask) != D3DFVF_XYZRHW || texture_sets > 1 ||
         (vertex_format & ~(kPositionMask | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | kTexCountMask)))) {
        return DDERR_INVALIDPARAMS;
    }
    if (!s.in_scene) return D3DERR_SCENE_NOT_IN_SCENE;
    IDirectDrawSurface7* target = s.target;
    if (HRESULT r = target->IsLost(); r != DD_OK) return r;
    if (target->Busy()) return DDERR_SURFACEBUSY;
    // The setup is filled where it is (a record built and then copied stalls on its stores).
    D7Setup setup;
    D7Texture& texture = setup.texture;
    IDirectDrawSurface7* const t = s.texture;
    // A texture of the target's own DirectDraw object has just followed its faults.
    const bool own_texture = t && t->Owner() == target->Owner();
    if (t) {
        if (own_texture) {
            if (t->Lost()) return DDERR_SURFACELOST;
        } else if (HRESULT r = t->IsLost(); r != DD_OK) {
            return r;
        }
        if (t->Busy()) return DDERR_SURFACEBUSY;
        const DDSurfaceMemory& m = t->RawMemory();
        // Colour keys count only on textures that have one.
        const bool keyed = s.render_states[D3DRENDERSTATE_COLORKEYENABLE] && t->HasSourceKey();
        texture.bits = m.bits;
        texture.pitch = m.pitch;
        texture.width = m.width;
        texture.height = m.height;
        texture.format = m.format;
        texture.keyed = keyed;
        texture.key = t->SourceKey();
        texture.coverage = keyed ? t->KeyCoverage() : DDKeyCoverage::kNone;
    } else {
        texture = D7Texture{nullptr, 0, 0, 0, DDFormat::kUnknown, false, 0, DDKeyCoverage::kNone};
    }

    // Transformed-and-lit vertices are laid out as the rasteriser's and read where the caller
    // wrote them (a copy would read them wider than they were just written, and wait for the
    // writes); others are converted, four (every quad) on the stack.
    const D7Vertex* v = static_cast<const D7Vertex*>(vertices);
    D7Vertex quad[4];
    if (!tl) {
        // Offsets of the fields in one vertex.
        const bool has_diffuse = (vertex_format & D3DFVF_DIFFUSE) != 0;
        const DWORD diffuse_at = 16;
        const DWORD specular_at = diffuse_at + (has_diffuse ? 4 : 0);
        const DWORD texture_at = specular_at + ((vertex_format & D3DFVF_SPECULAR) ? 4 : 0);
        const DWORD stride = texture_at + 8 * texture_sets;
        D7Vertex* converted = quad;
        if (vertex_count > 4) {
            if (s.vertices.size() < vertex_count) s.vertices.resize(vertex_count);
            converted = s.vertices.data();
        }
        const auto* in = static_cast<const uint8_t*>(vertices);
        for (DWORD i = 0; i < vertex_count; ++i, in += stride) {
            D7Vertex& out = converted[i];
            out.x = ReadFloat(in);
            out.y = ReadFloat(in + 4);
            // z and rhw: no depth buffer, and every vertex is already on the screen plane.
            out.diffuse = 0xFFFFFFFFu;  // no colour: opaque white
            if (has_diffuse) std::memcpy(&out.diffuse, in + diffuse_at, 4);
            out.u = texture_sets ? ReadFloat(in + texture_at) : 0.0f;
            out.v = texture_sets ? ReadFloat(in + texture_at + 4) : 0.0f;
        }
        v = converted;
    }

    if (s.pipeline_stale) {
        const DWORD* t0 = s.stage_states[0];
        Operation(t0[D3DTSS_COLOROP], t0[D3DTSS_COLORARG1], t0[D3DTSS_COLORARG2], &s.stage.color_op,
                  &s.stage.color_arg1, &s.stage.color_arg2);
        Operation(t0[D3DTSS_ALPHAOP], t0[D3DTSS_ALPHAARG1], t0[D3DTSS_ALPHAARG2], &s.stage.alpha_op,
                  &s.stage.alpha_arg1, &s.stage.alpha_arg2);
        s.blend = D7Blend{s.render_states[D3DRENDERSTATE_ALPHABLENDENABLE] != 0,
                          Factor(s.render_states[D3DRENDERSTATE_SRCBLEND]),
                          Factor(s.render_states[D3DRENDERSTATE_DESTBLEND])};
        s.pipeline_stale = false;
    }
    const DDSurfaceMemory& m = target->RawMemory();
    setup.target = D7Image{m.bits, m.pitch, m.width, m.height, m.format};
    const D3DVIEWPORT7& vp = s.viewport;
    // A flip may have changed nothing in size, but the target's memory is its own: stay inside.
    const LONG right = static_cast<LONG>(vp.dwX + vp.dwWidth);
    const LONG bottom = static_cast<LONG>(vp.dwY + vp.dwHeight);
    setup.clip = RECT{static_cast<LONG>(vp.dwX), static_cast<LONG>(vp.dwY),
                      right > m.width ? m.width : right, bottom > m.height ? m.height : bottom};
    setup.stage = s.stage;
    setup.blend = s.blend;
    setup.cull = s.render_states[D3DRENDERSTATE_CULLMODE];
    setup.allow_fast_paths = s.fast_paths;
    target->Touch();
    ++s.counters.draws;
    if (setup.clip.left >= setup.clip.right || setup.clip.top >= setup.clip.bottom) return D3D_OK;
    DDraw7State& owner = target->Owner()->State();
    if (vertex_count == 4 && setup.allow_fast_paths) {
        // Held back unless it reads its own target or another object's surface; prepared where
        // it is held.
        const bool hold = t != target && (!t || own_texture) && DDraw7_HoldFor(owner, target);
        D7Rect local;
        D7Rect* rect = hold ? DDraw7_NextQuad(owner) : &local;
        if (D7Raster_PrepareRectangle(setup, v, rect, &s.counters)) {
            if (rect->Empty()) return D3D_OK;
            if (hold) {
                DDraw7_HoldQuad(owner, setup);
            } else {
                DDraw7_Flush(owner);
                D7Raster_FillRectangle(setup.target, &setup, *rect, rect->x0, rect->x1, rect->y0,
                                       rect->y1);
            }
            return D3D_OK;
        }
    }
    // Anything else is drawn at once, after what is held back.
    DDraw7_Flush(owner);
    setup.allow_fast_paths = false;
    D7Raster_DrawStrip(setup, v, static_cast<int32_t>(vertex_count), &s.counters);
    return D3D_OK;
}
