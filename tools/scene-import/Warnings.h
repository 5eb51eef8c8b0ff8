#pragma once

#include <set>
#include <string>
#include <vector>

namespace sceneimport {

// What the 3DF file cannot hold, each kind said once, in the order first met.
class Warnings {
public:
    void add(const std::string& text) {
        if (m_seen.insert(text).second) {
            m_list.push_back(text);
        }
    }
    const std::vector<std::string>& list() const { return m_list; }

private:
    std::set<std::string> m_seen;
    std::vector<std::string> m_list;
};

} // namespace sceneimport
