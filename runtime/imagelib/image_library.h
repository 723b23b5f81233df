// The image library: GDI bitmaps and icons kept in a numbered table, blended through msimg32.
// The game only lets its start-up and cleanup run.
#pragma once
#include <cstdint>

#include "platform/gdi/gdi.h"

struct ObjectTable;

struct ImageRecord {
    HGDIOBJ handle;  // bitmap or icon
    int32_t is_icon;
    int32_t reserved;
};
static_assert(sizeof(ImageRecord) == 16);

// Loads "msimg32.dll", looks up "AlphaBlend" and decides the theme flag.
void Image_Init();
void Image_End();
// The numbered image table.
void ImageTable_Init();
void ImageTable_End();

ObjectTable* Image_Table();
bool Image_Themed();
bool Image_HasAlphaBlend();
