// The row loops of blits: raw pixels copied, or copied but for those equal to the source's
// colour key. Shared by the blits drawn at once and the held-back ones. Private to
// platform/ddraw7.
#pragma once
#include <cstdint>

#include "platform/ddraw7/ddraw.h"
#include "platform/raster/rows.h"

// Copies the rows. They are visited from the bottom when the source lies below the destination
// in the same memory, so overlapping copies within one surface are exact.
void DDBlit_CopyRows(const raster::RowBlock& c, DDFormat format);
// Copies the rows of a source that does not overlap the destination (held-back blits).
void DDBlit_CopyBlock(const raster::RowBlock& c, DDFormat format);
// Copies the rows but for source pixels whose used bits equal `key`, which leave the
// destination as it is. Source and destination must not overlap.
void DDBlit_KeyedRows(const raster::RowBlock& c, DDFormat format, uint32_t key);
