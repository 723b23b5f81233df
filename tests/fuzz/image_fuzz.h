// The shared body of the image decoder fuzz targets: open the input through the registry with
// one decoder registered, and decode it into a buffer of exactly the reported size.
#pragma once
#include <cstddef>
#include <cstdint>

int FuzzImageDecoder(const uint8_t* data, size_t size, void (*use_decoder)());
