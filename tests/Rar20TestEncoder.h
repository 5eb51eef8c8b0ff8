#pragma once

#include <string>

// A deliberately plain RAR 2.0 LZ encoder for tests and benchmarks: fixed code lengths sent
// once, greedy matches found through a three-byte hash, no audio mode and no solid state.
// It exists to reach window wrap-around, long distances and large outputs, which the small
// real archives never do; the reader has no part in it.
std::string encodeRar20(const std::string& data);
