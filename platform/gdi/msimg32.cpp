// msimg32's AlphaBlend. It needs device contexts over surfaces; without valid ones it fails,
// as the real call does for bad handles.
#include "platform/gdi/gdi.h"

BOOL AlphaBlend(HDC dest, int, int, int w, int h, HDC src, int, int, int sw, int sh,
                BLENDFUNCTION) {
    if (!dest || !src || w < 0 || h < 0 || sw < 0 || sh < 0) return FALSE;
    return FALSE;
}
