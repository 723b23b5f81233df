// Graphic objects: the stock objects and the objects programs create.
#include "platform/gdi/gdi.h"

#include <iterator>

struct GdiObject {
    GdiKind kind;
    bool stock;
};

namespace {
GdiObject g_stock[18] = {
    {GdiKind::kBrush, true}, {GdiKind::kBrush, true}, {GdiKind::kBrush, true},
    {GdiKind::kBrush, true}, {GdiKind::kBrush, true}, {GdiKind::kBrush, true},
    {GdiKind::kPen, true},   {GdiKind::kPen, true},   {GdiKind::kPen, true},
    {GdiKind::kNone, true},  {GdiKind::kFont, true},  {GdiKind::kFont, true},
    {GdiKind::kFont, true},  {GdiKind::kFont, true},  {GdiKind::kFont, true},
    {GdiKind::kNone, true},  {GdiKind::kFont, true},  {GdiKind::kFont, true},
};
}  // namespace

HGDIOBJ GetStockObject(int which) {
    if (which < 0 || which >= static_cast<int>(std::size(g_stock))) return nullptr;
    if (g_stock[which].kind == GdiKind::kNone) return nullptr;
    return &g_stock[which];
}

BOOL DeleteObject(HGDIOBJ object) {
    if (!object) return FALSE;
    if (object->stock) return TRUE;
    delete object;
    return TRUE;
}

GdiKind Gdi_KindOf(HGDIOBJ object) { return object ? object->kind : GdiKind::kNone; }
