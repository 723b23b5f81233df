// DrawPrimitiveUP: triangle strips of pre-transformed vertices from the caller's memory, handed
// to the rasteriser with the device's current states. Rectangles that take the fast path are
// held back in the device's queue and drawn together when their pixels are needed.
#include <cstring>

#include "platform/d3d9/device_state.h"

namespace {

// Vertices of one draw are bounded so a hostile count cannot make the device allocate without
// end; the game draws four at a time.
constexpr UINT kMaxPrimitives = 1u << 20;

d3d9px::StageArg Arg(DWORD a) {
    // At stage 0 the current colour is the diffuse colour.
    return a == D3DTA_TEXTURE ? d3d9px::StageArg::kTexture : d3d9px::StageArg::kDiffuse;
}

// A disabled stage passes the diffuse colour on.
void Operation(DWORD op, DWORD arg1, DWORD arg2, d3d9px::StageOp* out_op, d3d9px::StageArg* out1,
               d3d9px::StageArg* out2) {
    *out1 = Arg(arg1);
    *out2 = Arg(arg2);
    switch (op) {
        case D3DTOP_SELECTARG1:
            *out_op = d3d9px::StageOp::kArg1;
            break;
        case D3DTOP_SELECTARG2:
            *out_op = d3d9px::StageOp::kArg2;
            break;
        case D3DTOP_MODULATE:
            *out_op = d3d9px::StageOp::kModulate;
            break;
        default:
            *out_op = d3d9px::StageOp::kArg1;
            *out1 = d3d9px::StageArg::kDiffuse;
            break;
    }
}

d3d9px::Factor Factor(DWORD blend) {
    switch (blend) {
        case D3DBLEND_ZERO:
            return d3d9px::Factor::kZero;
        case D3DBLEND_SRCALPHA:
            return d3d9px::Factor::kSrcAlpha;
        case D3DBLEND_INVSRCALPHA:
            return d3d9px::Factor::kInvSrcAlpha;
        default:
            return d3d9px::Factor::kOne;
    }
}

float ReadFloat(const uint8_t* p) {
    float f;
    std::memcpy(&f, p, sizeof(f));
    return f;
}

}  // namespace

HRESULT IDirect3DDevice9::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitive_count,
                                          const void* vertices, UINT stride) {
    D3D9DeviceState& s = *state_;
    if (type != D3DPT_TRIANGLESTRIP || primitive_count == 0 || primitive_count > kMaxPrimitives ||
        !vertices || !s.in_scene) {
        return D3DERR_INVALIDCALL;
    }
    bool has_diffuse = (s.fvf & D3DFVF_DIFFUSE) != 0;
    UINT size = has_diffuse ? 28 : 24;
    if (s.fvf == 0 || stride != size) return D3DERR_INVALIDCALL;
    IDirect3DSurface9* target = s.render_target;
    if (!target || target->Locked()) return D3DERR_INVALIDCALL;
    // The setup is filled where it is (a record built and then copied stalls on its stores).
    RasterSetup setup;
    if (s.texture)
        s.texture->Sampling(&setup.texture);
    else
        setup.texture = RasterTexture{nullptr, 0, 0, 0, D3DFMT_UNKNOWN, true};

    UINT count = primitive_count + 2;
    // Vertices with a colour are laid out as the rasteriser's and read where the caller wrote
    // them (a copy would read them wider than they were just written, and wait for the writes);
    // others are converted, four (every quad) on the stack.
    const RasterVertex* v = static_cast<const RasterVertex*>(vertices);
    RasterVertex quad[4];
    if (!has_diffuse) {
        RasterVertex* converted = quad;
        if (count > 4) {
            if (s.vertices.size() < count) s.vertices.resize(count);
            converted = s.vertices.data();
        }
        const auto* in = static_cast<const uint8_t*>(vertices);
        for (UINT i = 0; i < count; ++i, in += stride) {
            RasterVertex& out = converted[i];
            out.x = ReadFloat(in);
            out.y = ReadFloat(in + 4);
            // z and rhw: no depth buffer, and every vertex is already on the screen plane.
            out.diffuse = 0xFFFFFFFFu;  // no colour: opaque white
            out.u = ReadFloat(in + 16);
            out.v = ReadFloat(in + 20);
        }
        v = converted;
    }

    if (s.pipeline_stale) {
        Operation(s.color_op, s.color_arg1, s.color_arg2, &s.stage.color_op, &s.stage.color_arg1,
                  &s.stage.color_arg2);
        Operation(s.alpha_op, s.alpha_arg1, s.alpha_arg2, &s.stage.alpha_op, &s.stage.alpha_arg1,
                  &s.stage.alpha_arg2);
        s.blend =
            d3d9px::Blend{s.alpha_blend_enable != 0, Factor(s.src_blend), Factor(s.dest_blend)};
        s.pipeline_stale = false;
    }
    const SurfaceMemory& m = target->RawMemory();
    setup.target = RasterImage{m.bits, m.pitch, m.width, m.height, m.format};
    setup.stage = s.stage;
    setup.blend = s.blend;
    setup.cull = s.cull_mode;
    setup.allow_fast_paths = s.fast_paths;
    ++s.counters.draws;
    if (count == 4 && setup.allow_fast_paths) {
        if (s.queued_target != target || s.held.Size() >= kD3D9HeldDrawLimit) FlushDraws();
        // Prepared where it is held.
        D3D9HeldDraw& held = s.held.Next();
        if (Raster_PrepareRectangle(setup, v, &held.rect, &s.counters.raster)) {
            const RasterRect& r = held.rect;
            if (r.Empty()) return D3D_OK;
            held.setup = 0;
            if (r.loop == RasterLoop::kGeneric) {
                held.setup = static_cast<uint32_t>(s.held_setups.size());
                s.held_setups.push_back(setup);
            }
            s.held.Hold(raster::HeldRect{r.x0, r.y0, r.x1, r.y1, r.opaque});
            s.queued_target = target;
            return D3D_OK;
        }
    }
    // Anything else is drawn at once, after what is held back.
    FlushDraws();
    setup.allow_fast_paths = false;
    Raster_DrawStrip(setup, v, static_cast<int32_t>(count), &s.counters.raster);
    return D3D_OK;
}

void IDirect3DDevice9::FlushDraws() {
    D3D9DeviceState& s = *state_;
    if (s.held.Empty()) return;
    const SurfaceMemory& m = s.queued_target->RawMemory();
    const RasterImage target{m.bits, m.pitch, m.width, m.height, m.format};
    const RasterSetup* setups = s.held_setups.data();
    s.counters.raster.hidden_pixels += s.held.Flush(
        m.height, [&](const D3D9HeldDraw& d, int32_t x0, int32_t x1, int32_t y0, int32_t y1) {
            Raster_FillRectangle(target, setups + d.setup, d.rect, x0, x1, y0, y1);
        });
    s.held_setups.clear();
    s.queued_target = nullptr;
}

const IDirect3DSurface9* IDirect3DDevice9::QueuedTarget() const {
    return state_->queued_target;
}
