#pragma once

#include <d3dx9core.h>

#include <cstddef>
#include <string>

namespace tarnelix::d3dx {

// A new buffer holding a copy of `size` bytes (zeroed when `data` is null).
ID3DXBuffer* makeBuffer(const void* data, size_t size);

// A new buffer holding `text` and its terminating zero.
ID3DXBuffer* makeTextBuffer(const std::string& text);

} // namespace tarnelix::d3dx
