// The states a draw reads: render states, texture stage 0, sampler 0, the vertex format, the
// texture and vertex processing. Values this device cannot draw with are refused with
// D3DERR_INVALIDCALL rather than drawn some other way.
#include "platform/d3d9/device_state.h"

void D3D9_DefaultStates(D3D9DeviceState& s) {
    if (s.texture) s.texture->Release();
    s.texture = nullptr;
    if (s.render_target) s.render_target->Release();
    s.render_target = s.back_buffers[0];
    if (s.render_target) s.render_target->AddRef();
    s.fvf = 0;
    s.alpha_blend_enable = FALSE;
    s.src_blend = D3DBLEND_ONE;
    s.dest_blend = D3DBLEND_ZERO;
    s.cull_mode = D3DCULL_CCW;
    s.multisample_antialias = TRUE;
    s.color_op = D3DTOP_MODULATE;
    s.color_arg1 = D3DTA_TEXTURE;
    s.color_arg2 = D3DTA_CURRENT;
    s.alpha_op = D3DTOP_SELECTARG1;
    s.alpha_arg1 = D3DTA_TEXTURE;
    s.alpha_arg2 = D3DTA_CURRENT;
    s.mag_filter = D3DTEXF_POINT;
    s.min_filter = D3DTEXF_POINT;
    s.pipeline_stale = true;
}

namespace {

bool KnownBlend(DWORD v) {
    return v == D3DBLEND_ZERO || v == D3DBLEND_ONE || v == D3DBLEND_SRCALPHA ||
           v == D3DBLEND_INVSRCALPHA;
}

bool KnownOp(DWORD v) {
    return v >= D3DTOP_DISABLE && v <= D3DTOP_MODULATE;
}

bool KnownArg(DWORD v) {
    return v == D3DTA_DIFFUSE || v == D3DTA_CURRENT || v == D3DTA_TEXTURE;
}

}  // namespace

HRESULT IDirect3DDevice9::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    D3D9DeviceState& s = *state_;
    ++s.counters.render_states;
    s.pipeline_stale = true;
    switch (state) {
        case D3DRS_ALPHABLENDENABLE:
            s.alpha_blend_enable = value ? TRUE : FALSE;
            return D3D_OK;
        case D3DRS_SRCBLEND:
            if (!KnownBlend(value)) return D3DERR_INVALIDCALL;
            s.src_blend = value;
            return D3D_OK;
        case D3DRS_DESTBLEND:
            if (!KnownBlend(value)) return D3DERR_INVALIDCALL;
            s.dest_blend = value;
            return D3D_OK;
        case D3DRS_CULLMODE:
            if (value < D3DCULL_NONE || value > D3DCULL_CCW) return D3DERR_INVALIDCALL;
            s.cull_mode = value;
            return D3D_OK;
        case D3DRS_MULTISAMPLEANTIALIAS:
            // Nothing is multisampled; the value is only kept.
            s.multisample_antialias = value ? TRUE : FALSE;
            return D3D_OK;
        default:
            return D3DERR_INVALIDCALL;
    }
}

HRESULT IDirect3DDevice9::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
    D3D9DeviceState& s = *state_;
    if (!value) return D3DERR_INVALIDCALL;
    switch (state) {
        case D3DRS_ALPHABLENDENABLE:
            *value = s.alpha_blend_enable;
            return D3D_OK;
        case D3DRS_SRCBLEND:
            *value = s.src_blend;
            return D3D_OK;
        case D3DRS_DESTBLEND:
            *value = s.dest_blend;
            return D3D_OK;
        case D3DRS_CULLMODE:
            *value = s.cull_mode;
            return D3D_OK;
        case D3DRS_MULTISAMPLEANTIALIAS:
            *value = s.multisample_antialias;
            return D3D_OK;
        default:
            return D3DERR_INVALIDCALL;
    }
}

HRESULT IDirect3DDevice9::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                               DWORD value) {
    D3D9DeviceState& s = *state_;
    ++s.counters.stage_states;
    // One texture stage.
    if (stage != 0) return D3DERR_INVALIDCALL;
    DWORD* field = nullptr;
    bool is_op = false;
    switch (type) {
        case D3DTSS_COLOROP:
            field = &s.color_op;
            is_op = true;
            break;
        case D3DTSS_ALPHAOP:
            field = &s.alpha_op;
            is_op = true;
            break;
        case D3DTSS_COLORARG1:
            field = &s.color_arg1;
            break;
        case D3DTSS_COLORARG2:
            field = &s.color_arg2;
            break;
        case D3DTSS_ALPHAARG1:
            field = &s.alpha_arg1;
            break;
        case D3DTSS_ALPHAARG2:
            field = &s.alpha_arg2;
            break;
        default:
            return D3DERR_INVALIDCALL;
    }
    if (is_op ? !KnownOp(value) : !KnownArg(value)) return D3DERR_INVALIDCALL;
    *field = value;
    s.pipeline_stale = true;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                               DWORD* value) {
    D3D9DeviceState& s = *state_;
    if (stage != 0 || !value) return D3DERR_INVALIDCALL;
    switch (type) {
        case D3DTSS_COLOROP:
            *value = s.color_op;
            return D3D_OK;
        case D3DTSS_ALPHAOP:
            *value = s.alpha_op;
            return D3D_OK;
        case D3DTSS_COLORARG1:
            *value = s.color_arg1;
            return D3D_OK;
        case D3DTSS_COLORARG2:
            *value = s.color_arg2;
            return D3D_OK;
        case D3DTSS_ALPHAARG1:
            *value = s.alpha_arg1;
            return D3D_OK;
        case D3DTSS_ALPHAARG2:
            *value = s.alpha_arg2;
            return D3D_OK;
        default:
            return D3DERR_INVALIDCALL;
    }
}

HRESULT IDirect3DDevice9::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
    D3D9DeviceState& s = *state_;
    ++s.counters.sampler_states;
    // Point sampling is all this device does.
    if (sampler != 0 || value != D3DTEXF_POINT) return D3DERR_INVALIDCALL;
    if (type == D3DSAMP_MAGFILTER)
        s.mag_filter = value;
    else if (type == D3DSAMP_MINFILTER)
        s.min_filter = value;
    else
        return D3DERR_INVALIDCALL;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::SetSoftwareVertexProcessing(BOOL software) {
    D3D9DeviceState& s = *state_;
    // Only a mixed-processing device can switch; this device is created software-only.
    if (!(s.behaviour & D3DCREATE_MIXED_VERTEXPROCESSING)) {
        return software ? D3D_OK : D3DERR_INVALIDCALL;
    }
    s.software_vertex_processing = software != 0;
    return D3D_OK;
}

BOOL IDirect3DDevice9::GetSoftwareVertexProcessing() {
    return state_->software_vertex_processing ? TRUE : FALSE;
}

HRESULT IDirect3DDevice9::SetFVF(DWORD fvf) {
    D3D9DeviceState& s = *state_;
    ++s.counters.fvf_changes;
    // Pre-transformed vertices with one texture coordinate set, with or without a colour.
    if (fvf != (D3DFVF_XYZRHW | D3DFVF_TEX1) &&
        fvf != (D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1)) {
        return D3DERR_INVALIDCALL;
    }
    s.fvf = fvf;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::GetFVF(DWORD* fvf) {
    if (!fvf) return D3DERR_INVALIDCALL;
    *fvf = state_->fvf;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::SetTexture(DWORD stage, IDirect3DTexture9* texture) {
    D3D9DeviceState& s = *state_;
    if (stage != 0) return D3DERR_INVALIDCALL;
    // The device holds the bound texture, so releasing it elsewhere never frees it under a draw.
    if (texture) texture->AddRef();
    if (s.texture) s.texture->Release();
    s.texture = texture;
    return D3D_OK;
}
