#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <utility>
#include <vector>

#include "large_array_allocator.h"

namespace voxquad {

// An undirected edge: two vertex ids, the smaller first.
struct EdgeEntryKey {
    std::int32_t a = 0, b = 0;

    EdgeEntryKey() = default;
    EdgeEntryKey(std::int32_t u, std::int32_t v) : a(u < v ? u : v), b(u < v ? v : u) {}
};

// Lexicographic order of edge keys (first id, then second).
struct compareEdgeEntryKey {
    bool operator()(const EdgeEntryKey& l, const EdgeEntryKey& r) const
    {
        return l.a < r.a || (l.a == r.a && l.b < r.b);
    }
};

// The polygons of one edge; second is -1 while only one is known.
struct EdgeEntryData {
    std::int32_t first = -1;
    std::int32_t second = -1;
};

// Edges to be edited one by one.
using EdgeEntryMap = std::map<EdgeEntryKey, EdgeEntryData, compareEdgeEntryKey>;

// The edges of a mesh, built once in key order and then only read: one flat array of entries and
// the start of each smaller id's run, so that a look-up searches a vertex's few edges instead of
// descending a tree of separately allocated nodes. Reads like the const part of EdgeEntryMap.
class EdgeEntryTable {
public:
    using value_type = std::pair<EdgeEntryKey, EdgeEntryData>;
    using const_iterator = std::vector<value_type, LargeArrayAllocator<value_type>>::const_iterator;
    using iterator = const_iterator;

    const_iterator begin() const { return entries_.begin(); }
    const_iterator end() const { return entries_.end(); }
    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    void clear()
    {
        entries_.clear();
        runStart_.clear();
    }
    // Empties the table and gives its memory back.
    void release()
    {
        decltype(entries_)().swap(entries_);
        std::vector<std::uint32_t>().swap(runStart_);
    }
    void reserve(std::size_t edges) { entries_.reserve(edges); }

    // Adds an edge whose key comes after every key held.
    void append(const EdgeEntryKey& key, const EdgeEntryData& data)
    {
        while (runStart_.size() <= static_cast<std::size_t>(key.a))
            runStart_.push_back(static_cast<std::uint32_t>(entries_.size()));
        entries_.emplace_back(key, data);
    }

    const_iterator find(const EdgeEntryKey& key) const
    {
        if (key.a < 0 || static_cast<std::size_t>(key.a) >= runStart_.size())
            return end();
        const std::size_t next = static_cast<std::size_t>(key.a) + 1;
        const const_iterator first = begin() + runStart_[key.a];
        const const_iterator last = next < runStart_.size() ? begin() + runStart_[next] : end();
        const const_iterator found = std::lower_bound(
            first, last, key.b, [](const value_type& entry, std::int32_t b) { return entry.first.b < b; });
        return found != last && found->first.b == key.b ? found : end();
    }
    const EdgeEntryData& at(const EdgeEntryKey& key) const
    {
        const const_iterator found = find(key);
        if (found == end())
            throw std::out_of_range("EdgeEntryTable::at");
        return found->second;
    }

private:
    std::vector<value_type, LargeArrayAllocator<value_type>> entries_;  // ascending keys
    std::vector<std::uint32_t> runStart_;  // first entry whose smaller id is at least the index
};

}  // namespace voxquad
