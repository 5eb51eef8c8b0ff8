#pragma once

#include <functional>
#include <string>

namespace tarnelix::d3dx {

// Runs `work` in a forked child process and hands back the bytes it returns, so that code which
// can crash or loop for ever on hostile input (glslang's HLSL front end does both) cannot take
// the caller down with it. False, with what happened in `failure`, when the child died, was
// killed, or had not finished after `seconds`.
bool runInChild(const std::function<std::string()>& work, int seconds, std::string& result,
                std::string& failure);

} // namespace tarnelix::d3dx
